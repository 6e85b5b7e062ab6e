#ifndef REPLYMESSAGEWIDGET_H
#define REPLYMESSAGEWIDGET_H

#include "model/message.h"

#include <QWidget>

class ElidedLabel;
class FlatButton;
class QLabel;

// The bar above a chat window's input while the user writes a reply: the
// replied message's sender and a one-line summary, and a close button.
class ReplyMessageWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ReplyMessageWidget(QWidget* parent = nullptr);

    void setMessage(const Message& mess, const QString& messageId);
    void setSenderName(const QString& name);
    Message getMessage() const { return message; }
    QString getMessageId() const { return messageId; }
    QString senderText() const;
    QString summaryText() const;
    // As much of the summary as the bar shows: its start.
    QString shownSummary() const;

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* iconLabel;
    FlatButton* closeButton;
    QLabel* senderLabel;
    ElidedLabel* textLabel;
    QString messageId;
    Message message;
};

#endif // REPLYMESSAGEWIDGET_H
