#include "common/dates.h"

#include <cmath>

namespace {
const QDateTime& Epoch()
{
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0, 0), Qt::UTC);
    return epoch;
}
}

QDateTime MakeDate(int year, int month, int day, int hour, int minute, int second)
{
    const QDate d(year, month, day);
    const QTime t(hour, minute, second);
    if (!d.isValid() || !t.isValid())
        return QDateTime();
    return QDateTime(d, t, Qt::UTC);
}

QDateTime DateFromSerial(double serial)
{
    if (!std::isfinite(serial))
        return QDateTime();
    const double ms = std::round(serial * 86400.0) * 1000.0;
    return Epoch().addMSecs(static_cast<qint64>(ms));
}

double SerialFromDate(const QDateTime& date)
{
    if (!date.isValid())
        return 0.0;
    const qint64 secs = Epoch().secsTo(WholeSeconds(date));
    return static_cast<double>(secs) / 86400.0;
}

QDateTime DateZero() { return DateFromSerial(0); }
QDateTime NoDate() { return DateFromSerial(2); }
QDateTime DisabledDate() { return DateFromSerial(-101); }

QString DateToIso(const QDateTime& date)
{
    if (!date.isValid())
        return QString();
    return WholeSeconds(date).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime IsoToDate(const QString& text)
{
    // The date and the time are read apart: parsed together they would be a
    // local time, and a wall-clock time inside a daylight-saving gap would
    // then be rejected.
    const QString t = text.trimmed();
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    const QDate day = QDate::fromString(blank < 0 ? t : t.left(blank), QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return QDateTime();
    if (blank < 0)
        return QDateTime(day, QTime(0, 0, 0), Qt::UTC); // a date alone is midnight
    const QTime time = QTime::fromString(t.mid(blank + 1), QStringLiteral("HH:mm:ss"));
    if (!time.isValid())
        return QDateTime();
    return QDateTime(day, time, Qt::UTC);
}

QString GeneralDate(const QDateTime& date)
{
    if (!date.isValid())
        return QString();
    return date.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

QString MediumDate(const QDateTime& date)
{
    if (!date.isValid())
        return QString();
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

qint64 SecondsBetween(const QDateTime& a, const QDateTime& b)
{
    return WholeSeconds(a).secsTo(WholeSeconds(b));
}

QDateTime WholeSeconds(const QDateTime& date)
{
    if (!date.isValid())
        return date;
    const QTime t = date.time();
    return QDateTime(date.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
}
