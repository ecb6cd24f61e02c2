#include "graph/graph_format.h"

#include "common/dates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

double RoundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode rounds half to even
}

std::int32_t RoundToLong(double value)
{
    const double r = RoundHalfEven(value);
    if (!(r >= std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (!(r <= std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

namespace {

struct Section {
    QString prefix;
    QString suffix;
    int minInt = 0;      // "0" before the point
    int minDec = 0;      // "0" after the point
    int maxDec = 0;      // "0" and "#" after the point
    bool grouping = false;
    bool percent = false;
    bool hasPoint = false;
    bool hasDigits = false;
};

// Splits a pattern into its sections at ";" outside quotes.
QStringList SplitSections(const QString& pattern)
{
    QStringList out;
    QString cur;
    bool quoted = false;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char('\\') && !quoted && i + 1 < pattern.size()) {
            cur += c;
            cur += pattern.at(++i);
            continue;
        }
        if (c == QLatin1Char(';') && !quoted) {
            out << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    out << cur;
    return out;
}

Section ParseSection(const QString& text)
{
    Section s;
    bool quoted = false;
    bool afterPoint = false;
    bool digitsSeen = false;
    bool digitsDone = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        QString literal;
        if (quoted) {
            if (c == QLatin1Char('"'))
                quoted = false;
            else
                literal = c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < text.size())
                literal = text.at(++i);
        } else if (!digitsDone && (c == QLatin1Char('0') || c == QLatin1Char('#'))) {
            digitsSeen = true;
            if (afterPoint) {
                ++s.maxDec;
                if (c == QLatin1Char('0'))
                    s.minDec = s.maxDec;
            } else if (c == QLatin1Char('0')) {
                ++s.minInt;
            }
        } else if (!digitsDone && c == QLatin1Char('.') && !afterPoint) {
            afterPoint = true;
            s.hasPoint = true;
            digitsSeen = true;
        } else if (!digitsDone && c == QLatin1Char(',') && digitsSeen && !afterPoint) {
            s.grouping = true;
        } else {
            if (c == QLatin1Char('%'))
                s.percent = true;
            literal = c;
        }
        if (!literal.isEmpty()) {
            if (digitsSeen)
                digitsDone = true;
            (digitsSeen ? s.suffix : s.prefix) += literal;
        }
    }
    s.hasDigits = digitsSeen;
    return s;
}

// Decimal digits of |value| rounded half away from zero to `decimals`
// places: whole part and fraction part as digit strings.
void RoundDecimal(double value, int decimals, int significant, QString& whole, QString& fraction)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::fabs(value));
    // buf: d.ddddddddddddddde[+-]xx
    QString mantissa;
    int exponent = 0;
    {
        const QString t = QString::fromLatin1(buf);
        const int e = t.indexOf(QLatin1Char('e'));
        mantissa = t.left(e);
        mantissa.remove(QLatin1Char('.'));
        exponent = t.mid(e + 1).toInt();
    }
    // The digits as an integer string with the point after position
    // exponent + 1.
    QString digits = mantissa;
    int pointPos = exponent + 1;
    if (pointPos <= 0) {
        digits = QString(-pointPos + 1, QLatin1Char('0')) + digits;
        pointPos = 1;
    }
    if (digits.size() < pointPos + decimals + 1)
        digits += QString(pointPos + decimals + 1 - digits.size(), QLatin1Char('0'));
    const int keep = pointPos + decimals;
    const bool up = digits.at(keep).unicode() >= '5';
    QString kept = digits.left(keep);
    if (up) {
        int i = kept.size() - 1;
        while (i >= 0) {
            if (kept[i] == QLatin1Char('9')) {
                kept[i] = QLatin1Char('0');
                --i;
            } else {
                kept[i] = QChar(kept[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            kept.prepend(QLatin1Char('1'));
            ++pointPos;
        }
    }
    whole = kept.left(pointPos);
    fraction = kept.mid(pointPos);
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
}

QString FormatSection(double value, const Section& s, bool negativeSign, int significant)
{
    if (!s.hasDigits)
        return (negativeSign ? QStringLiteral("-") : QString()) + s.prefix + s.suffix;
    double v = value;
    if (s.percent)
        v *= 100.0;
    QString whole;
    QString fraction;
    RoundDecimal(v, s.maxDec, significant, whole, fraction);
    while (fraction.size() > s.minDec && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (whole == QLatin1String("0") && s.minInt == 0)
        whole.clear();
    while (whole.size() < s.minInt)
        whole.prepend(QLatin1Char('0'));
    if (s.grouping && whole.size() > 3) {
        QString g;
        const int n = whole.size();
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                g += QLatin1Char(',');
            g += whole.at(i);
        }
        whole = g;
    }
    QString body = whole;
    if (s.hasPoint)
        body += QLatin1Char('.') + fraction;
    bool allZero = true;
    for (const QChar c : body) {
        if (c.unicode() >= '1' && c.unicode() <= '9')
            allZero = false;
    }
    const QString sign = (negativeSign && !allZero) ? QStringLiteral("-") : QString();
    return sign + s.prefix + body + s.suffix;
}

} // namespace

QString FormatPattern(double value, const QString& pattern, int significant)
{
    significant = std::clamp(significant, 1, 17);
    if (!std::isfinite(value))
        return QString::number(value);
    if (pattern.isEmpty()) {
        // General number with the given significant digits.
        return QString::number(value, 'g', significant);
    }
    const QStringList sections = SplitSections(pattern);
    if (value < 0 && sections.size() >= 2 && !sections.at(1).isEmpty())
        return FormatSection(-value, ParseSection(sections.at(1)), false, significant);
    if (value == 0 && sections.size() >= 3 && !sections.at(2).isEmpty())
        return FormatSection(0.0, ParseSection(sections.at(2)), false, significant);
    return FormatSection(value, ParseSection(sections.at(0)), value < 0, significant);
}

QString FormatDate(const QDateTime& date, const QString& pattern)
{
    const QDateTime d = date.isValid() ? date : DateZero();
    const QDate day = d.date();
    const QTime time = d.time();
    QString out;
    bool afterHour = false;
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    int i = 0;
    const int n = pattern.size();
    while (i < n) {
        const QChar c = pattern.at(i).toLower();
        int run = 1;
        while (i + run < n && pattern.at(i + run).toLower() == c)
            ++run;
        if (c == QLatin1Char('y')) {
            out += run >= 3 ? QString::number(day.year()) : two(day.year() % 100);
            afterHour = false;
        } else if (c == QLatin1Char('m')) {
            if (afterHour) {
                out += run >= 2 ? two(time.minute()) : QString::number(time.minute());
            } else if (run >= 2) {
                out += two(day.month());
            } else {
                out += QString::number(day.month());
            }
            afterHour = false;
        } else if (c == QLatin1Char('d')) {
            out += run >= 2 ? two(day.day()) : QString::number(day.day());
            afterHour = false;
        } else if (c == QLatin1Char('h')) {
            out += run >= 2 ? two(time.hour()) : QString::number(time.hour());
            afterHour = true;
        } else if (c == QLatin1Char('n')) {
            out += run >= 2 ? two(time.minute()) : QString::number(time.minute());
            afterHour = false;
        } else if (c == QLatin1Char('s')) {
            out += run >= 2 ? two(time.second()) : QString::number(time.second());
            afterHour = false;
        } else {
            // Separators keep a preceding hour's claim on a following "m".
            out += pattern.mid(i, run);
            i += run;
            continue;
        }
        i += run;
    }
    return out;
}
