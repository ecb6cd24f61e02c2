#include "graph/graph_source.h"

#include "common/dates.h"
#include "common/gasvalue.h"
#include "graph/graph_model.h"

namespace {

// The value as its display text with `points` decimals reads back; false
// for a status code, whose text is a word.
bool CutToPoints(float value, int points, float* out)
{
    return ParseFloatText(FormatGasValue(value, static_cast<std::int16_t>(points), false), out);
}

} // namespace

float GraphPointValue(float stored, float full, int points)
{
    float drawn = 0;
    if (!CutToPoints(stored > full ? full : stored, points, &drawn) || drawn < 0)
        return GraphModel::kNoValue;
    return drawn;
}

QString GraphTitleMoment(const QDateTime& time)
{
    if (!time.isValid())
        return QString();
    return MediumDate(time) + time.toString(QStringLiteral(" hh:mm:ss"));
}
