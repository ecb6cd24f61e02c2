#include "settings/instrument_info.h"

#include "common/dates.h"
#include "common/gascaption.h"
#include "settings/instrument_caption.h"
#include "common/gasvalue.h"
#include "common/resstrings.h"
#include "records/instrument.h"

namespace {

const QString kNoValue = QStringLiteral("-----");

// A calibration date, or "" when it lies before the year 2000 (never set).
QString CalibDateText(const QDateTime& d)
{
    return d.isValid() && d.date().year() >= 2000 ? GeneralDate(d) : QString();
}

QString ValueText(const clsInstrument& r, int g, float v) { return FormatGasValue(v, r.GasPoint(g)); }

// "OVER" above the gas's full scale; the full scale itself is a number.
QString OverText(const clsInstrument& r, int g, float v)
{
    return v > r.GasFullScale(g) ? QStringLiteral("OVER") : ValueText(r, g, v);
}

void FillHeadings(InstrumentInfoView& v)
{
    v.calibration[0].fill(GetResString(5671));
    v.calibration[1] = {GetResString(5635), GetResString(5644), GetResString(5633), GetResString(5634),
                        GetResString(5645)};
    v.sensor[0].fill(GetResString(5638));
    v.sensor[0][0] = GetResString(5636);
    v.sensor[1] = {GetResString(5635), GetResString(5637), GetResString(5639),
                   GetResString(5640), GetResString(5641), GetResString(5642)};
}

} // namespace

InstrumentInfoState DecideInstrumentInfoState(std::int32_t status, std::int16_t commFlags, bool showingStored)
{
    if (showingStored)
        return InstrumentInfoState::StoredRecord;
    if (status == 0 || status == 1 || commFlags == 0)
        return InstrumentInfoState::NoLink;
    return InstrumentInfoState::Connected;
}

InstrumentInfoView BuildInstrumentInfo(const InstrumentInfoInput& in)
{
    InstrumentInfoView v;
    v.serviceLabelsVisible = in.serviceMode;
    FillHeadings(v);

    if (in.state == InstrumentInfoState::NoLink || !in.record) {
        v.caption = GetResString(5057);
        for (int g = 0; g < 2; ++g) {
            const GasSetting& c = in.currentGas[static_cast<size_t>(g)];
            const QString heading = FormatGasLabel(c.Name, c.Unit, c.FullScale);
            v.calibration[g + 2] = {heading, QString(), kNoValue, kNoValue, kNoValue};
            v.sensor[g + 2] = {heading, QString(), kNoValue, kNoValue, kNoValue, kNoValue};
        }
        return v;
    }

    const clsInstrument& r = *in.record;
    const bool stored = in.state == InstrumentInfoState::StoredRecord;
    v.caption = GetResString(stored ? 5058 : 5059);
    v.serialNo = r.SerialNo();
    v.stationId = r.StationID();
    v.userId = r.UserID();
    v.romNumber = QStringLiteral("%1").arg(r.RomNumber(), 5, 10, QLatin1Char('0'));
    v.sum = r.SUM();

    for (int g = 0; g < 2; ++g) {
        const size_t gi = static_cast<size_t>(g);
        const QString heading = InstrumentGasCaption(r, g, true);
        QString before = OverText(r, g, r.CalibBefore(g));
        QString after = OverText(r, g, r.CalibAfter(g));
        QString autoCal = ValueText(r, g, r.AutoCalib(g));
        if (!stored) {
            if (in.serviceMode)
                autoCal = ValueText(r, g, in.factAutoCal[gi]);
            if (in.processState == 4 && !in.spanSelection[gi]) {
                before = ValueText(r, g, r.CalibBefore(g));
                after = ValueText(r, g, r.CalibAfter(g));
            } else if (in.processState == 4) {
                // A span that took effect has just written a new calibration
                // date; a date outside the last two hours means it failed.
                const QDateTime d = r.CalibDate(g);
                const bool recent = d.isValid() && d > in.now.addSecs(-2 * 3600) && d <= in.now;
                if (!recent) {
                    v.spanFailed[gi] = true;
                    before = ValueText(r, g, in.spanStartReading[gi]);
                    after = QStringLiteral("FAIL");
                }
            }
        }
        v.calibration[gi + 2] = {heading, CalibDateText(r.CalibDate(g)), before, after, autoCal};

        v.enabled[gi] = r.GasEnabled(g);
        if (r.GasEnabled(g))
            v.sensor[gi + 2] = {heading, QString(), ValueText(r, g, r.Warning(g)), ValueText(r, g, r.Alarm(g)),
                                ValueText(r, g, r.Stel(g)), ValueText(r, g, r.Twa(g))};
        else
            v.sensor[gi + 2] = {heading, QString(), kNoValue, kNoValue, kNoValue, kNoValue};
    }
    return v;
}
