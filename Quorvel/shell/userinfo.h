#ifndef USERINFO_H
#define USERINFO_H

#include "Managers/Contact/contact.h"
#include "webapi/FileApi/staticfile.h"

#include <QWidget>

class QLabel;

// The side menu's header: the user's round picture, name and member id.
class UserInfo : public QWidget
{
    Q_OBJECT
public:
    UserInfo(const QString& imagePath, const QString& secondLine, const QString& name,
             QWidget* parent = nullptr);

    void setUserData(const Contact& c);
    QLabel* avatarLabel() const { return avatar; }
    QLabel* nameLabel() const { return name; }
    QLabel* secondLineLabel() const { return secondLine; }

public slots:
    void imageReady(const QImage& image);

protected:
    void mousePressEvent(QMouseEvent*) override {}
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* avatar;
    QLabel* secondLine;
    QLabel* name;
    StaticFile avatarFile;
};

#endif // USERINFO_H
