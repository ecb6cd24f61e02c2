#include "common/gasvalue.h"

#include "common/appstate.h"
#include "common/numeric.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

struct CodeText {
    std::int32_t code;
    const char* display;
};

const CodeText kCodes[] = {
    {-101, "-----"},      {-102, "NORMAL"},     {-103, "WARNING"},     {-104, "ALARM"},
    {-105, "STEL"},       {-106, "TWA"},        {-107, "OVER"},        {-108, "CALIB."},
    {-109, "FAIL(Cal.)"}, {-110, "FAIL(Sen.)"}, {-111, "FAIL(BATT.)"}, {-112, "FAIL(Flow)"},
    {-113, "FAIL(Cir.)"}, {-114, "CLG"},        {-115, "MAX"},         {-116, "MIN"},
    {-118, "?????"},
};

// Decimals a gas value is shown with: 1 to 3, any other count none.
int DisplayDecimals(std::int16_t points)
{
    return (points >= 1 && points <= 3) ? points : 0;
}

const CodeText* FindCode(float value)
{
    for (const CodeText& c : kCodes) {
        if (value == static_cast<float>(c.code))
            return &c;
    }
    return nullptr;
}

} // namespace

bool IsStatusCode(float value)
{
    return FindCode(value) != nullptr;
}

bool IsNumericText(const QString& text)
{
    const QString t = text.trimmed();
    int i = 0;
    const int n = static_cast<int>(t.size());
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    int points = 0;
    for (; i < n; ++i) {
        const QChar ch = t[i];
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            ++digits;
        else if (ch == QLatin1Char('.') && points == 0)
            ++points;
        else
            return false;
    }
    return digits > 0;
}

namespace {
bool ParseDouble(const QString& text, double* out)
{
    return IsNumericText(text) && FiniteValue(text, out);
}
}

bool ParseFloatText(const QString& text, float* out)
{
    double v = 0;
    if (!ParseDouble(text, &v))
        return false;
    if (std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max()))
        return false;
    *out = static_cast<float>(v);
    return true;
}

bool ParseWholeText(const QString& text, double* out)
{
    double v = 0;
    if (!ParseDouble(text, &v))
        return false;
    *out = std::nearbyint(v); // the default rounding mode rounds half to even
    return true;
}

QString FormatNumber(double value, int points)
{
    if (points < 0)
        points = 0;
    QString s = QString::number(value, 'f', points);
    if (s.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (int i = 1; i < s.size(); ++i) {
            if (s[i] != QLatin1Char('0') && s[i] != QLatin1Char('.')) {
                allZero = false;
                break;
            }
        }
        if (allZero)
            s.remove(0, 1);
    }
    return s;
}

QString FloatText(float value)
{
    if (!std::isfinite(value))
        return QString::number(static_cast<double>(value));
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc())
        return QString::number(static_cast<double>(value));
    QString s = QString::fromLatin1(buf, static_cast<int>(res.ptr - buf));
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

QString FormatGasValue(float value, std::int16_t points, bool convert)
{
    if (const CodeText* c = FindCode(value))
        return QLatin1String(c->display);
    const int decimals = DisplayDecimals(points);
    const float v = convert ? App().ConvertFactor * value : value;
    return FormatNumber(static_cast<double>(v), decimals);
}

QString StatusCodeName(std::int32_t code)
{
    // Only -115 to -102 have names; they read as they are displayed.
    if (code < -115 || code > -102)
        return QString();
    const CodeText* c = FindCode(static_cast<float>(code));
    return c ? QString(QLatin1String(c->display)) : QString();
}

float StatusTextToCode(const QString& text)
{
    float v = 0;
    if (ParseFloatText(text, &v))
        return v;
    static const std::pair<const char*, std::int32_t> kPrefixes[] = {
        {"OVE", -107}, {"FAI", -110}, {"WAR", -103}, {"ALR", -104}, {"STE", -105},
        {"TWA", -106}, {"MAX", -115}, {"MIN", -116}, {"NOR", -102},
    };
    const QString prefix = text.trimmed().left(3).toUpper();
    for (const auto& p : kPrefixes) {
        if (prefix == QLatin1String(p.first))
            return static_cast<float>(p.second);
    }
    return static_cast<float>(kGasNoValue);
}

QString OverIfAboveFull(const QString& text, float full)
{
    float v = 0;
    if (!ParseFloatText(text, &v))
        return text;
    if (v >= 0 && v <= full)
        return text;
    return QStringLiteral("OVER");
}

QString PointsFormat(std::int16_t points)
{
    if (points < 0 || points > 9)
        return QString();
    if (points == 0)
        return QStringLiteral("#0");
    return QStringLiteral("#0.") + QString(points, QLatin1Char('0'));
}

std::int16_t DecimalPlaces(const QString& text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return 0;
    const qsizetype after = text.size() - dot - 1;
    return static_cast<std::int16_t>(std::min<qsizetype>(after, 32767));
}

QString FormatValue5(float value, std::int16_t points)
{
    if (value < 0)
        return QStringLiteral("00000");
    const int decimals = DisplayDecimals(points);
    const QString s = QStringLiteral("    ") + FormatNumber(static_cast<double>(value), decimals);
    return s.right(5);
}

float RoundToStep(float value, float step)
{
    if (value < 0)
        return 0.0f;
    if (!(step > 0.0f))
        return value;
    const double quotient = static_cast<double>(value) / static_cast<double>(step);
    if (!std::isfinite(quotient))
        return value;
    // nearbyint in the default rounding mode rounds halves to even.
    const double snapped = std::nearbyint(quotient) * static_cast<double>(step);
    if (std::fabs(snapped) > static_cast<double>(std::numeric_limits<float>::max()))
        return value;
    return static_cast<float>(snapped);
}
