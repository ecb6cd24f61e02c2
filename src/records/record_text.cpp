#include "records/record_text.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/gasvalue.h"
#include "common/paths.h"

#include <QFile>
#include <cmath>

namespace records_text {

QString CleanLine(const QString& line)
{
    QString out;
    out.reserve(line.size());
    for (const QChar c : line) {
        const ushort u = c.unicode();
        if (u >= 32 && u <= 126)
            out.append(c);
    }
    return out;
}

std::optional<double> ToNumber(const QString& text)
{
    double v = 0.0;
    if (!IsNumericText(text))
        return std::nullopt;
    bool ok = false;
    v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool IsNumeric(const QString& text)
{
    return ToNumber(text).has_value();
}

qint64 RoundEven(double v)
{
    return static_cast<qint64>(std::nearbyint(v));
}

std::optional<qint64> ToWhole(const QString& text, qint64 lo, qint64 hi)
{
    const auto v = ToNumber(text);
    if (!v)
        return std::nullopt;
    const double r = std::nearbyint(*v);
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi))
        return std::nullopt;
    return static_cast<qint64>(r);
}

namespace {
std::optional<int> TwoDigits(const QString& s)
{
    if (s.size() != 2 || !s[0].isDigit() || !s[1].isDigit() || s[0].unicode() > 127
        || s[1].unicode() > 127)
        return std::nullopt;
    return (s[0].unicode() - '0') * 10 + (s[1].unicode() - '0');
}
} // namespace

std::optional<QDateTime> DateField(const QString& yymmdd)
{
    if (yymmdd.size() != 6)
        return std::nullopt;
    const auto y = TwoDigits(yymmdd.mid(0, 2));
    const auto m = TwoDigits(yymmdd.mid(2, 2));
    const auto d = TwoDigits(yymmdd.mid(4, 2));
    if (!y || !m || !d)
        return std::nullopt;
    const QDate date(2000 + *y, *m, *d);
    if (!date.isValid())
        return std::nullopt;
    return QDateTime(date, QTime(0, 0, 0), Qt::UTC);
}

std::optional<int> TimeField(const QString& hhnnss)
{
    if (hhnnss.size() != 6)
        return std::nullopt;
    const auto h = TwoDigits(hhnnss.mid(0, 2));
    const auto n = TwoDigits(hhnnss.mid(2, 2));
    const auto s = TwoDigits(hhnnss.mid(4, 2));
    if (!h || !n || !s || *h > 23 || *n > 59 || *s > 59)
        return std::nullopt;
    return *h * 3600 + *n * 60 + *s;
}

std::optional<double> VariantNumber(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? -1.0 : 0.0;
    case QMetaType::QString:
        return ToNumber(v.toString());
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return std::nullopt;
    default: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return std::nullopt;
        return d;
    }
    }
}

bool VariantIsNumeric(const QVariant& v)
{
    return VariantNumber(v).has_value();
}

std::optional<QDateTime> VariantDate(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    if (v.typeId() == QMetaType::QDateTime) {
        const QDateTime d = v.toDateTime();
        if (!d.isValid())
            return std::nullopt;
        return QDateTime(d.date(), d.time(), Qt::UTC);
    }
    if (v.typeId() == QMetaType::QDate) {
        const QDate d = v.toDate();
        if (!d.isValid())
            return std::nullopt;
        return QDateTime(d, QTime(0, 0, 0), Qt::UTC);
    }
    if (v.typeId() == QMetaType::QString) {
        const QDateTime d = IsoToDate(v.toString());
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

bool VariantBool(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        if (const auto n = ToNumber(t))
            return *n != 0.0;
        return false;
    }
    if (const auto n = VariantNumber(v))
        return *n != 0.0;
    return v.toBool();
}

void WriteSerialLog(const QString& text)
{
    QFile file(ProgramFile(QStringLiteral("SerialLog.log")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString line = Now().toString(QStringLiteral("hh:mm:ss")) + QLatin1Char(' ') + text
        + QStringLiteral("\r\n");
    file.write(line.toUtf8());
    file.close();
}

} // namespace records_text
