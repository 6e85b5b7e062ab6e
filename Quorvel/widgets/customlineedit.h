#ifndef CUSTOMLINEEDIT_H
#define CUSTOMLINEEDIT_H

#include <QLineEdit>

// A line edit that shows its hint as text while empty, keeps the caret in
// front of it, drops it as soon as the user types and reports only the user's
// own text through stringChanged.
class CustomLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CustomLineEdit(const QString& hint, QWidget* parent = nullptr);

    // text() returns the hint while this is true.
    bool isEmptyText() const { return showingHint; }

signals:
    void stringChanged(const QString& str);

public slots:
    void onCursorPositionChanged(int, int newPos);
    void onTextChanged(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showHint();

    QLineEdit::EchoMode echoModeWhenFilled;
    QString hintText;
    bool showingHint = true;
};

#endif // CUSTOMLINEEDIT_H
