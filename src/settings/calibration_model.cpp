#include "settings/calibration_model.h"

#include "common/gascaption.h"
#include "common/gasvalue.h"
#include "common/resstrings.h"
#include "records/instrument.h"

namespace {
constexpr int kIdAdjustmentComplete = 5349;
}

bool LiveDataAtHand(std::int32_t status, std::int16_t commFlags)
{
    return status != 0 && status != 1 && commFlags != 0;
}

std::array<CalGridRow, 2> BuildCalGrid(const clsInstrument& instrument, bool liveData,
                                       const std::array<GasSetting, 2>& currentGas)
{
    std::array<CalGridRow, 2> rows;
    for (int g = 0; g < 2; ++g) {
        CalGridRow& row = rows[g];
        if (liveData)
            row.label = FormatGasLabel(instrument.GasName(g), instrument.GasUnit(g), instrument.GasFullScale(g));
        else
            row.label = FormatGasLabel(currentGas[g].Name, currentGas[g].Unit, currentGas[g].FullScale);
        row.gasEnabled = instrument.GasEnabled(g);
        row.ticked = row.gasEnabled;
        row.autoCal = liveData ? FormatGasValue(instrument.AutoCalib(g), instrument.GasPoint(g))
                               : QStringLiteral("-----");
    }
    return rows;
}

QString VoltText(double volts)
{
    return FormatNumber(volts, 3) + QLatin1Char('V');
}

QString AnalogVoltText(std::int16_t millivolts)
{
    return VoltText(millivolts / 1000.0);
}

std::array<bool, 2> SpanSelection(const clsInstrument& instrument, const std::array<bool, 2>& ticks)
{
    return {ticks[0] && instrument.GasEnabled(0), ticks[1] && instrument.GasEnabled(1)};
}

QString SelectionText(const std::array<bool, 2>& selection)
{
    return QString(selection[0] ? QLatin1Char('1') : QLatin1Char('0'))
        + (selection[1] ? QLatin1Char('1') : QLatin1Char('0'));
}

QString AdjustmentResultText(const clsInstrument& instrument, const std::array<bool, 2>& reported,
                             const std::array<bool, 2>& succeeded, const std::array<float, 2>& liveValues)
{
    QString text;
    for (int g = 0; g < 2; ++g) {
        if (!reported[g])
            continue;
        if (succeeded[g])
            text += instrument.GasName(g) + QStringLiteral("  ") + GetResString(kIdAdjustmentComplete);
        else
            text += instrument.GasName(g) + QLatin1Char('(')
                + FormatGasValue(liveValues[g], instrument.GasPoint(g)) + QStringLiteral(") Failed");
        text += QStringLiteral("\r\n");
    }
    return text;
}
