#include "common/gascaption.h"

#include "common/gasvalue.h"

#include <optional>

namespace {
QString Caption(const QString& name, const QString& unit, std::optional<float> full)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("----(---)");
    QString caption = name + QLatin1Char('(');
    if (full)
        caption += FloatText(*full);
    return caption + unit + QLatin1Char(')');
}
}

QString GasCaption(const GasCaptionSource* obj, int gas, bool withScale)
{
    if (!obj)
        return Caption(QString(), QString(), std::nullopt);
    return Caption(obj->CaptionGasName(gas), obj->CaptionGasUnit(gas),
                   withScale ? std::optional<float>(obj->CaptionGasFull(gas)) : std::nullopt);
}

QString FormatGasLabel(const QString& name, const QString& unit, float full)
{
    return Caption(name, unit, full == -1.0f ? std::nullopt : std::optional<float>(full));
}
