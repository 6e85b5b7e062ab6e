#ifndef UISETTING_H
#define UISETTING_H

#include "foundation/quorvelcore_export.h"

#include <QMetaType>
#include <QString>

// The credentials the GUI may read.
class QUORVELCORE_EXPORT UISetting
{
public:
    UISetting() = default;
    UISetting(const QString& userName, const QString& hashMethod, const QString& token)
        : userName(userName), hashMethod(hashMethod), token(token)
    {
    }

    QString getUserName() const { return userName; }
    void setUserName(const QString& value) { userName = value; }
    QString getHashMethod() const { return hashMethod; }
    void setHashMethod(const QString& value) { hashMethod = value; }
    QString getToken() const { return token; }
    void setToken(const QString& value) { token = value; }

    bool operator==(const UISetting& other) const
    {
        return userName == other.userName && hashMethod == other.hashMethod && token == other.token;
    }

private:
    QString userName;
    QString hashMethod;
    QString token;
};

Q_DECLARE_METATYPE(UISetting)

#endif // UISETTING_H
