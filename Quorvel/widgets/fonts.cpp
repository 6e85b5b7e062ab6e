#include "widgets/fonts.h"

#include "foundation/simpleqtlogger.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringList>

Fonts* Fonts::instance = nullptr;

namespace {
void applyFamily(QFont& font, const QString& path)
{
    const QString family = Fonts::registerFontFile(path);
    if (!family.isEmpty())
        font.setFamily(family);
}
} // namespace

QString Fonts::registerFontFile(const QString& path)
{
    const int id = QFontDatabase::addApplicationFont(path);
    if (id < 0) {
        L_WARN(QStringLiteral("Fonts::registerFontFile | not registered: ") + path);
        return QString();
    }
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        L_WARN(QStringLiteral("Fonts::registerFontFile | no family in: ") + path);
        return QString();
    }
    return families.first();
}

Fonts::Fonts()
    : regular(QGuiApplication::font()), persianDigits(regular), bold(regular), light(regular),
      medium(regular), ultraLight(regular), secondFamily(regular)
{
    applyFamily(regular, QStringLiteral(":/Fonts/IRANSans.ttf"));
    applyFamily(persianDigits, QStringLiteral(":/Fonts/IRANSans(FaNum).ttf"));
    applyFamily(bold, QStringLiteral(":/Fonts/IRANSans_Bold.ttf"));
    applyFamily(light, QStringLiteral(":/Fonts/IRANSans_Light.ttf"));
    applyFamily(medium, QStringLiteral(":/Fonts/IRANSans_Medium.ttf"));
    applyFamily(ultraLight, QStringLiteral(":/Fonts/IRANSans_UltraLight.ttf"));
    applyFamily(secondFamily, QStringLiteral(":/Fonts/Vazir-FD.ttf"));

    QFont sized = regular;
    for (int points = 1; points <= 100; ++points) {
        sized.setPointSize(points);
        heights.insert(QFontMetrics(sized).height(), sized);
    }
}

Fonts* Fonts::getInstance()
{
    if (!instance)
        instance = new Fonts();
    return instance;
}

void Fonts::deleteInstance()
{
    const QString pointer = QString::number(reinterpret_cast<quintptr>(instance), 16);
    delete instance;
    instance = nullptr;
    L_DEBUG(QStringLiteral("Fonts::deleteInstance() | ") + pointer);
}

QFont Fonts::fontForHeight(int height) const
{
    for (int h = height; h > 0; --h) {
        const auto found = heights.constFind(h);
        if (found != heights.constEnd())
            return found.value();
    }
    return regular;
}

QFont Fonts::getFont(int height)
{
    return getInstance()->fontForHeight(height);
}

int Fonts::fontHeight(const QFont& font)
{
    return QFontMetrics(font).height();
}
