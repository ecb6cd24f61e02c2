#include "settings/settings_edit.h"

#include "common/appstate.h"
#include "common/gasvalue.h"
#include "common/numeric.h"
#include "records/instrument.h"
#include "settings/setpoint_rules.h"

#include <cmath>
#include <limits>

namespace {

constexpr float kNoValue = -101.0f;

SetPointEdit Refused()
{
    return SetPointEdit{};
}

} // namespace

SetPointEdit CheckSetPointEdit(const clsInstrument& instrument, int row, int col, const QString& editText,
                               const QString& cellText, bool fullLayout, bool serviceMode)
{
    SetPointEdit edit;
    const QString typed = editText.trimmed();
    if (typed == cellText.trimmed()) {
        edit.outcome = SetPointEdit::Outcome::Unchanged;
        return edit;
    }
    const int gas = row - 2;
    const std::optional<SetPointField> field = FieldOfColumn(fullLayout, col);
    if (gas < 0 || gas > 1 || !field) {
        edit.outcome = SetPointEdit::Outcome::NotASetPoint;
        return edit;
    }
    edit.field = *field;

    double number = 0;
    if (typed.isEmpty() || (!IsNumeric(typed) && typed.contains(QLatin1String("--")))) {
        edit.outcome = SetPointEdit::Outcome::Stored;
        edit.value = kNoValue;
        edit.text = FormatGasValue(kNoValue, instrument.GasPoint(gas));
        return edit;
    }
    if (!NumericValue(typed, &number) || std::fabs(number) > std::numeric_limits<float>::max())
        return Refused();
    const float v = static_cast<float>(number);

    if (serviceMode && (edit.field == SetPointField::Stel || edit.field == SetPointField::Twa)
        && instrument.GasUnit(gas) != QLatin1String("ppm"))
        return Refused();
    if (!(v >= 0.0f && v <= instrument.GasFullScale(gas)))
        return Refused();
    if (edit.field == SetPointField::AutoCalib && !IsAtWarningLevel(instrument, gas, v))
        return Refused();

    edit.outcome = SetPointEdit::Outcome::Stored;
    edit.value = RoundToStep(v, instrument.GasDesit(gas));
    edit.text = FormatGasValue(edit.value, instrument.GasPoint(gas));
    return edit;
}

QString StoreSetPointEdit(clsInstrument& instrument, int row, const SetPointEdit& edit)
{
    if (edit.outcome != SetPointEdit::Outcome::Stored)
        return QString();
    const int gas = row - 2;
    SetSetPointValue(instrument, gas, edit.field, edit.value);
    return FormatGasValue(SetPointValue(instrument, gas, edit.field), instrument.GasPoint(gas));
}

void SwitchSensorOff(clsInstrument& instrument, int gas, const std::array<bool, 2>& enableBoxes)
{
    for (int i = 0; i < 2; ++i)
        instrument.SetGasEnabled(i, enableBoxes[i]);
    instrument.SetWarning(gas, kNoValue);
    instrument.SetAlarm(gas, kNoValue);
    instrument.SetAutoCalib(gas, kNoValue);
    instrument.SetStel(gas, kNoValue);
    instrument.SetTwa(gas, kNoValue);
}

bool LoadReplacementGas(clsInstrument& instrument, int gas, int entry)
{
    if (!ApplyGasTypeDefaults(instrument, gas, entry))
        return false;
    // The factory value is the value the Auto Cal. cell shows, so it carries
    // the gas's decimals.
    float shown = kNoValue;
    if (!ParseFloatText(FormatGasValue(instrument.AutoCalib(gas), instrument.GasPoint(gas)), &shown))
        shown = kNoValue;
    App().FactAutoCal[gas] = shown;
    return true;
}

std::array<bool, 2> SyncSpanTicks(const clsInstrument& instrument, const std::array<bool, 2>& spanTicks,
                                  const std::array<bool, 2>& enableBoxes)
{
    std::array<bool, 2> ticks{};
    for (int i = 0; i < 2; ++i)
        ticks[i] = spanTicks[i] && instrument.GasEnabled(i) && enableBoxes[i];
    return ticks;
}
