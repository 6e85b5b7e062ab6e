#include "widgets/accessiblebutton.h"

#include <QLabel>

namespace {
QAccessibleInterface* buttonFactory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("FlatButton") || className == QLatin1String("IconButton"))
        return new AccessibleButton(static_cast<QWidget*>(object));
    return nullptr;
}
} // namespace

AccessibleButton::AccessibleButton(QWidget* button) : QAccessibleWidget(button, QAccessible::Button)
{
}

QString AccessibleButton::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name) {
        QString name = widget()->accessibleName();
        if (name.isEmpty()) {
            if (const auto* label = qobject_cast<const QLabel*>(widget()))
                name = label->text();
        }
        return name;
    }
    return QAccessibleWidget::text(t);
}

QStringList AccessibleButton::actionNames() const
{
    return QStringList(pressAction()) + QAccessibleWidget::actionNames();
}

void AccessibleButton::doAction(const QString& actionName)
{
    if (actionName == pressAction() && widget()->isEnabled()) {
        QMetaObject::invokeMethod(widget(), "onClick");
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

void AccessibleButton::install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(buttonFactory);
}
