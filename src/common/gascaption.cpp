#include "common/gascaption.h"

#include "common/gasvalue.h"

namespace {
const QString kNoCaption = QStringLiteral("----(---)");
}

QString GasCaption(const GasCaptionSource* obj, int gas, bool withScale)
{
    if (!obj)
        return kNoCaption;
    const QString name = obj->CaptionGasName(gas);
    if (name.trimmed().isEmpty())
        return kNoCaption;
    QString caption = name + QLatin1Char('(');
    if (withScale)
        caption += FloatText(obj->CaptionGasFull(gas));
    return caption + obj->CaptionGasUnit(gas) + QLatin1Char(')');
}

QString FormatGasLabel(const QString& name, const QString& unit, float full)
{
    if (name.trimmed().isEmpty())
        return kNoCaption;
    if (full == -1.0f)
        return name + QLatin1Char('(') + unit + QLatin1Char(')');
    return name + QLatin1Char('(') + FloatText(full) + unit + QLatin1Char(')');
}
