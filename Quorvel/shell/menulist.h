#ifndef MENULIST_H
#define MENULIST_H

#include <QVBoxLayout>
#include <QWidget>

// The column of menu rows inside the side menu's scroll area.
class MenuList : public QWidget
{
    Q_OBJECT
public:
    explicit MenuList(QWidget* parent = nullptr);

    void addItem(QWidget* item);

protected:
    void mousePressEvent(QMouseEvent*) override {}
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout layout;
};

#endif // MENULIST_H
