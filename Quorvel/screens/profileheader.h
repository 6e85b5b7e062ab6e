#ifndef PROFILEHEADER_H
#define PROFILEHEADER_H

#include <QString>

class IconButton;
class QLabel;
class QWidget;

// The top strip shared by the contact and channel profiles: a white strip
// with a soft shadow, the back arrow at its left end, the title at its right
// end and one link next to the arrow.
class ProfileHeader
{
public:
    static const int height = 32;

    static QWidget* makeStrip(QWidget* parent);
    // The back arrow, pointing the way the panel's text runs.
    static IconButton* makeBackButton(QWidget* parent);
    // Places the strip over the panel's width, the title and the links
    // (left to right after the back arrow, 10 pixels apart), and returns
    // the top of the title.
    static int place(QWidget* panel, QWidget* strip, IconButton* back, QLabel* title,
                     std::initializer_list<QLabel*> links);
};

#endif // PROFILEHEADER_H
