#include "settings/coefficients.h"

#include "common/numeric.h"

#include <cmath>
#include <limits>

bool ParseCoefficient(const QString& text, std::int16_t* out)
{
    double value = 0;
    if (!NumericValue(text, &value))
        return false;
    // nearbyint in the default rounding mode rounds halves to even.
    const double whole = std::nearbyint(value);
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
