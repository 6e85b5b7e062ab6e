#ifndef REPLYMESSAGEOUTLINE_H
#define REPLYMESSAGEOUTLINE_H

#include <QWidget>

class Message;
class QLabel;

// The quoted message inside a bubble that replies: the replied message's
// sender and a summary. A left click asks to jump to the replied message.
class ReplyMessageOutLine : public QWidget
{
    Q_OBJECT
public:
    explicit ReplyMessageOutLine(QWidget* parent = nullptr);

    void setMessage(const Message& message);
    // At most width wide; the summary shows the start of the message.
    void fitTo(int width);
    void setSenderName(const QString& name);
    void setStyleByMe();
    void setStyleByOther();
    QString senderText() const;
    // The summary in full, and as much of it as shows.
    QString summaryText() const;
    QString shownSummary() const;

signals:
    void clicked(QString msgID);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showText();
    void restyle(const QString& outline, const QString& sender, const QString& text);

    QLabel* senderLabel;
    QLabel* textLabel;
    QString fullText;
    QString repliedId;
};

#endif // REPLYMESSAGEOUTLINE_H
