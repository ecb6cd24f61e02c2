#include "common/numeric.h"

#include <cmath>

namespace {

bool IsDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

} // namespace

bool IsNumeric(const QString& text)
{
    const QString t = text.trimmed();
    const qsizetype n = t.size();
    qsizetype i = 0;
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    int mantissaDigits = 0;
    for (; i < n && IsDigit(t[i]); ++i)
        ++mantissaDigits;
    if (i < n && t[i] == QLatin1Char('.')) {
        ++i;
        for (; i < n && IsDigit(t[i]); ++i)
            ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ++i;
        int exponentDigits = 0;
        for (; i < n && IsDigit(t[i]); ++i)
            ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == n;
}

bool NumericValue(const QString& text, double* out)
{
    return IsNumeric(text) && FiniteValue(text, out);
}

bool FiniteValue(const QString& text, double* out)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}
