#ifndef ELIDEDLABEL_H
#define ELIDEDLABEL_H

#include <QLabel>

// A one-line plain-text label showing as much of its text as fits, ending in
// an ellipsis; it follows its width without a new setText.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString fullText() const { return full; }
    // The width the text is drawn in (the contents rectangle).
    int textWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString elided() const;

    QString full;
};

#endif // ELIDEDLABEL_H
