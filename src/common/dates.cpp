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
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDateTime();
    QDateTime d = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!d.isValid()) {
        // A date alone (no time part) is midnight.
        const QDate day = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
        if (!day.isValid())
            return QDateTime();
        return QDateTime(day, QTime(0, 0, 0), Qt::UTC);
    }
    return QDateTime(d.date(), d.time(), Qt::UTC);
}

QString GeneralDate(const QDateTime& date)
{
    if (!date.isValid())
        return QString();
    return date.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
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
