#ifndef EDITMESSAGEWIDGET_H
#define EDITMESSAGEWIDGET_H

#include "model/message.h"

#include <QWidget>

class FlatButton;
class QLabel;

// The bar above a chat window's input while the user edits one of their
// messages: the text being edited and a close button.
class EditMessageWidget : public QWidget
{
    Q_OBJECT
public:
    explicit EditMessageWidget(QWidget* parent = nullptr);

    void setMessage(const Message& mess);
    Message getMessage() const { return message; }
    QString summaryText() const;

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* iconLabel;
    FlatButton* closeButton;
    QLabel* titleLabel;
    QLabel* textLabel;
    Message message;
};

#endif // EDITMESSAGEWIDGET_H
