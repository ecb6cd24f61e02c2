#include "settings/instrument_caption.h"

#include "common/gascaption.h"
#include "records/instrument.h"

namespace {

class InstrumentCaptionSource : public GasCaptionSource {
public:
    explicit InstrumentCaptionSource(const clsInstrument& instrument) : m_instrument(instrument) {}
    QString CaptionGasName(int gas) const override { return m_instrument.GasName(gas); }
    float CaptionGasFull(int gas) const override { return m_instrument.GasFullScale(gas); }
    QString CaptionGasUnit(int gas) const override { return m_instrument.GasUnit(gas); }

private:
    const clsInstrument& m_instrument;
};

} // namespace

QString InstrumentGasCaption(const clsInstrument& instrument, int gas, bool withScale)
{
    const InstrumentCaptionSource source(instrument);
    return GasCaption(&source, gas, withScale);
}
