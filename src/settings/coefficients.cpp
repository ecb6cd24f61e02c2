#include "settings/coefficients.h"

#include "common/gasvalue.h"

#include <limits>

bool ParseCoefficient(const QString& text, std::int16_t* out)
{
    double whole = 0;
    if (!ParseWholeText(text, &whole))
        return false;
    if (whole < std::numeric_limits<std::int16_t>::min() || whole > std::numeric_limits<std::int16_t>::max())
        return false;
    if (out)
        *out = static_cast<std::int16_t>(whole);
    return true;
}

QString CoefficientText(std::int16_t value)
{
    return value == -101 ? QString() : QString::number(value);
}
