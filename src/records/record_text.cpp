#include "records/record_text.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/gasvalue.h"
#include "common/serial_log.h"

#include <array>
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

namespace {
// The number rounded halves to even, checked against [lo, hi] before it is
// converted (a number beyond 64 bits never reaches the conversion).
std::optional<qint64> WholeIn(std::optional<double> v, qint64 lo, qint64 hi)
{
    if (!v)
        return std::nullopt;
    const double r = std::nearbyint(*v);
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi))
        return std::nullopt;
    return static_cast<qint64>(r);
}
} // namespace

std::optional<qint64> ToWhole(const QString& text, qint64 lo, qint64 hi)
{
    return WholeIn(ToNumber(text), lo, hi);
}

namespace {
std::optional<int> TwoDigits(const QString& s)
{
    if (s.size() != 2 || !s[0].isDigit() || !s[1].isDigit() || s[0].unicode() > 127
        || s[1].unicode() > 127)
        return std::nullopt;
    return (s[0].unicode() - '0') * 10 + (s[1].unicode() - '0');
}

// Six characters as three two-digit numbers ("YYMMDD", "hhnnss").
std::optional<std::array<int, 3>> DigitPairs(const QString& six)
{
    if (six.size() != 6)
        return std::nullopt;
    const auto a = TwoDigits(six.mid(0, 2));
    const auto b = TwoDigits(six.mid(2, 2));
    const auto c = TwoDigits(six.mid(4, 2));
    if (!a || !b || !c)
        return std::nullopt;
    return std::array<int, 3>{*a, *b, *c};
}
} // namespace

std::optional<QDateTime> DateField(const QString& yymmdd)
{
    const auto ymd = DigitPairs(yymmdd);
    if (!ymd)
        return std::nullopt;
    const QDate date(2000 + (*ymd)[0], (*ymd)[1], (*ymd)[2]);
    if (!date.isValid())
        return std::nullopt;
    return QDateTime(date, QTime(0, 0, 0), Qt::UTC);
}

std::optional<int> TimeField(const QString& hhnnss)
{
    const auto hns = DigitPairs(hhnnss);
    if (!hns)
        return std::nullopt;
    const auto [h, n, s] = *hns;
    if (h > 23 || n > 59 || s > 59)
        return std::nullopt;
    return h * 3600 + n * 60 + s;
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

std::optional<qint64> VariantWhole(const QVariant& v, qint64 lo, qint64 hi)
{
    return WholeIn(VariantNumber(v), lo, hi);
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
    AppendSerialLogLine(SerialLogPath(), Now(), text);
}

} // namespace records_text
