#include "widgets/senderpalette.h"

#include <cstdlib>

const QList<QColor>& senderPalette()
{
    static const QList<QColor> palette{
        QColor("#99cc00"), QColor("#33b5e5"), QColor("#0099cc"), QColor("#547bca"),
        QColor("#aa66cc"), QColor("#9933cc"), QColor("#aeb857"), QColor("#aeb857"),
        QColor("#cc0000"), QColor("#df5948"), QColor("#ff4444"), QColor("#ae6b23"),
        QColor("#ff8800"), QColor("#e5ae4f"), QColor("#ffbb33"), QColor("#888888")};
    return palette;
}

int senderColorIndex(const QString& id)
{
    qint64 sum = 0;
    // Characters without a Latin-1 code count 0; codes above 127 count
    // negative as signed bytes, so the sum is folded to its absolute value.
    for (const QChar c : id) {
        if (c.unicode() < 256)
            sum += static_cast<signed char>(c.unicode());
    }
    return static_cast<int>(std::llabs(sum) % senderPalette().size());
}

QColor senderColor(const QString& id)
{
    return senderPalette().at(senderColorIndex(id));
}
