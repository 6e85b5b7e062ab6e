#include "widgets/dateconverter.h"

#include "foundation/datetime.h"

#include <QCalendar>
#include <QCoreApplication>

namespace {
const char* const weekdayKeys[] = {QT_TRANSLATE_NOOP("DateConverter", "_Monday"),
                                   QT_TRANSLATE_NOOP("DateConverter", "_Tuesday"),
                                   QT_TRANSLATE_NOOP("DateConverter", "_Wednesday"),
                                   QT_TRANSLATE_NOOP("DateConverter", "_Thursday"),
                                   QT_TRANSLATE_NOOP("DateConverter", "_Friday"),
                                   QT_TRANSLATE_NOOP("DateConverter", "_Saturday"),
                                   QT_TRANSLATE_NOOP("DateConverter", "_Sunday")};

const char* const monthKeys[] = {QT_TRANSLATE_NOOP("DateConverter", "_Farvardin"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Ordibehesht"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Khordad"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Tir"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Mordad"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Shahrivar"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Mehr"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Aban"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Azar"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Day"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Bahman"),
                                 QT_TRANSLATE_NOOP("DateConverter", "_Esfand")};

const char* const yesterdayKey = QT_TRANSLATE_NOOP("DateConverter", "_Yesterday");
const char* const onlineKey = QT_TRANSLATE_NOOP("DateConverter", "_OnLine");
const char* const lastObservationKey = QT_TRANSLATE_NOOP("DateConverter", "_LastObservation");
const char* const minuteKey = QT_TRANSLATE_NOOP("DateConverter", "_Minute");
const char* const hourKey = QT_TRANSLATE_NOOP("DateConverter", "_Hour");
const char* const agoKey = QT_TRANSLATE_NOOP("DateConverter", "_Ago");
} // namespace

DateConverter::DateConverter(QObject* parent) : QObject(parent) {}

void DateConverter::gregorianToJalali(int year, int month, int day, int& jalaliYear,
                                      int& jalaliMonth, int& jalaliDay)
{
    const QDate date(year, month, day);
    const QCalendar::YearMonthDay parts = QCalendar(QCalendar::System::Jalali).partsFromDate(date);
    if (!date.isValid() || !parts.isValid()) {
        jalaliYear = jalaliMonth = jalaliDay = 0;
        return;
    }
    jalaliYear = parts.year;
    jalaliMonth = parts.month;
    jalaliDay = parts.day;
}

QString DateConverter::translate(const char* key) const
{
    return QCoreApplication::translate("DateConverter", key);
}

QString DateConverter::weekdayName(const QDateTime& time) const
{
    const int day = time.date().dayOfWeek();
    return day >= 1 && day <= 7 ? translate(weekdayKeys[day - 1]) : QString();
}

QString DateConverter::jalaliMonthName(int month) const
{
    return month >= 1 && month <= 12 ? translate(monthKeys[month - 1]) : QString();
}

QString DateConverter::jalaliShortDateText(const QDateTime& time) const
{
    const QDate date = time.date();
    int y = 0, m = 0, d = 0;
    gregorianToJalali(date.year(), date.month(), date.day(), y, m, d);
    // The full year: "year minus 1300" stopped working after 1399.
    return QStringLiteral("%1/%2/%3")
        .arg(y)
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(d, 2, 10, QLatin1Char('0'));
}

QString DateConverter::jalaliDateText(const QDate& date) const
{
    int y = 0, m = 0, d = 0;
    gregorianToJalali(date.year(), date.month(), date.day(), y, m, d);
    return QStringLiteral("%1 %2 %3").arg(d, 2).arg(jalaliMonthName(m)).arg(y);
}

QDateTime DateConverter::now()
{
    return QDateTime::fromSecsSinceEpoch(DateTime::getDateTime());
}

QString DateConverter::chatListTime(const QDateTime& time) const
{
    return chatListTime(time, now());
}

QString DateConverter::chatListTime(const QDateTime& time, const QDateTime& now) const
{
    const qint64 days = time.daysTo(now);
    if (days == 0)
        return time.toString(QStringLiteral("hh:mm"));
    if (days == 1)
        return translate(yesterdayKey);
    if (days < 7)
        return weekdayName(time);
    return jalaliShortDateText(time);
}

QString DateConverter::lastSeenText(const QDateTime& time) const
{
    return lastSeenText(time, now());
}

QString DateConverter::lastSeenText(const QDateTime& time, const QDateTime& now) const
{
    const qint64 days = time.daysTo(now);
    const qint64 seconds = time.secsTo(now);
    if (days == 0 && seconds < 60)
        return translate(onlineKey);
    if (days == 0 && seconds < 3600)
        return translate(lastObservationKey) + QString::number(seconds / 60) +
               translate(minuteKey) + translate(agoKey);
    if (days == 0)
        return translate(lastObservationKey) + QString::number(seconds / 3600) +
               translate(hourKey) + translate(agoKey);
    if (days == 1)
        return translate(lastObservationKey) + translate(yesterdayKey);
    return translate(lastObservationKey) + jalaliShortDateText(time);
}
