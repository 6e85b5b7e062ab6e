#ifndef TRANSPARENTFRAME_H
#define TRANSPARENTFRAME_H

#include <QFont>
#include <QWidget>

// A translucent caption laid over a picture; hidden while it has no text.
class TransparentFrame : public QWidget
{
    Q_OBJECT
public:
    explicit TransparentFrame(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString getText() const { return text; }
    QFont getFont() const { return font; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text;
    QFont font;
};

#endif // TRANSPARENTFRAME_H
