#ifndef STYLESHEETPAINT_H
#define STYLESHEETPAINT_H

class QWidget;

// The paint every custom widget shares so that the application style sheet
// draws its background, border and radius by class or object name.
namespace StyleSheetPaint {
void plain(QWidget* widget);
void antialiased(QWidget* widget);
} // namespace StyleSheetPaint

#endif // STYLESHEETPAINT_H
