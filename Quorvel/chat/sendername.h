#ifndef SENDERNAME_H
#define SENDERNAME_H

#include <QColor>
#include <QString>
#include <QWidget>

// The sender's name over a group or channel bubble, drawn in the sender's
// colour. A label would need a style sheet of its own to show its colour
// under the program's sheet, and a sheet per bubble is polished for every
// bubble of every page; this draws its one line itself. Names come from
// peers: plain text, kept to the right edge, shortened with an ellipsis when
// the bubble is narrower than the name.
class SenderName : public QWidget
{
    Q_OBJECT
public:
    explicit SenderName(QWidget* parent = nullptr);

    void setName(const QString& text, const QColor& colour);
    QString text() const { return name; }
    QColor colour() const { return ink; }
    // The name as last drawn: whole, or shortened to the room it had.
    QString shownText() const { return shown; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString name;
    QColor ink;
    QString shown;
};

#endif // SENDERNAME_H
