#ifndef DATECONVERTER_H
#define DATECONVERTER_H

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>

// Points in time as the texts the screens show: list times, last-seen lines
// and day headings, with dates in the Jalali calendar. Every word is a
// translation key of this class's context.
class DateConverter : public QObject
{
    Q_OBJECT
public:
    explicit DateConverter(QObject* parent = nullptr);

    // All zero when the Gregorian date is not valid.
    static void gregorianToJalali(int year, int month, int day, int& jalaliYear, int& jalaliMonth,
                                  int& jalaliDay);

    QString weekdayName(const QDateTime& time) const;
    QString jalaliMonthName(int month) const;
    QString jalaliShortDateText(const QDateTime& time) const;
    QString jalaliDateText(const QDate& date) const;

    // "Now" is the system clock unless given.
    QString chatListTime(const QDateTime& time) const;
    QString chatListTime(const QDateTime& time, const QDateTime& now) const;
    QString lastSeenText(const QDateTime& time) const;
    QString lastSeenText(const QDateTime& time, const QDateTime& now) const;

    QString translate(const char* key) const;

    static QDateTime now();
};

#endif // DATECONVERTER_H
