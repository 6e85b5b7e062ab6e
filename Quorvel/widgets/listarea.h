#ifndef WIDGETS_LISTAREA_H
#define WIDGETS_LISTAREA_H

#include <QString>

class CustomScrollArea;
class QLabel;
class QVBoxLayout;
class QWidget;

// Sets up a side-panel list: contents stacked top down without gaps inside the
// scroll area, and a hidden placeholder with the text shown when nothing is
// listed. Returns the contents' layout.
QVBoxLayout* setUpListArea(CustomScrollArea* area, QWidget* contents, QLabel* placeholder,
                           const QString& contentsName, const QString& emptyText);

#endif // WIDGETS_LISTAREA_H
