#ifndef STYLESHEETLOADER_H
#define STYLESHEETLOADER_H

class QWidget;

// Gives a top-level window the program's style sheet; its children inherit it.
void loadStyleSheet(QWidget* widget);

#endif // STYLESHEETLOADER_H
