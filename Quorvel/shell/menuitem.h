#ifndef MENUITEM_H
#define MENUITEM_H

#include <QFrame>
#include <QLabel>
#include <QWidget>

// One row of the side menu: an action with an icon and a text, or a thin
// splitter line between groups of actions.
class MenuItem : public QWidget
{
    Q_OBJECT
public:
    enum Kind
    {
        Empty = 0,
        Splitter = 1,
        Action = 3
    };

    MenuItem(const QString& label, const QString& iconPath, const QString& id,
             QWidget* parent = nullptr);
    MenuItem(bool splitter, QWidget* parent = nullptr);

    int getKind() const { return kind; }
    QString getId() const { return id; }
    QString getText() const { return text.text(); }

signals:
    void menuClicked(QString id, QMouseEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int kind = Empty;
    QString id;
    QLabel icon;
    QLabel text;
    QFrame line;
};

#endif // MENUITEM_H
