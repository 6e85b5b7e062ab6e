#include "shell/contactwidget.h"

#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QVBoxLayout>

ContactWidget::ContactWidget(QWidget* parent)
    : QWidget(parent), name(new QLabel(this)), number(new QLabel(this))
{
    name->setTextFormat(Qt::PlainText);
    number->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(number);
    setAttribute(Qt::WA_StyledBackground);
    restyle(QStringLiteral("ContactWidgetNormal"));
}

void ContactWidget::setContact(const Contact& value)
{
    contact = value;
    name->setText(value.getDisplayName());
    number->setText(value.getNumber());
}

QString ContactWidget::getName() const
{
    return name->text();
}

bool ContactWidget::containsText(const QString& text) const
{
    return name->text().contains(text, Qt::CaseInsensitive) || number->text().contains(text);
}

void ContactWidget::deselect()
{
    restyle(QStringLiteral("ContactWidgetNormal"));
}

void ContactWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    restyle(QStringLiteral("ContactWidgetSelected"));
    emit contactClicked(contact);
}

void ContactWidget::restyle(const QString& objectName)
{
    setObjectName(objectName);
    style()->unpolish(this);
    style()->polish(this);
}
