#include "views/view_records.h"

#include "common/gascaption.h"
#include "common/gasvalue.h"

#include <bit>

namespace {
class FactsCaption final : public GasCaptionSource {
public:
    explicit FactsCaption(const GasFacts& g) : m_g(g) {}
    QString CaptionGasName(int) const override { return m_g.name; }
    float CaptionGasFull(int) const override { return m_g.full; }
    QString CaptionGasUnit(int) const override { return m_g.unit; }

private:
    const GasFacts& m_g;
};
}

QString GasHeading(const GasFacts& gas)
{
    const FactsCaption source(gas);
    return GasCaption(&source, 0, true);
}

QString ValueText(float value, const GasFacts& gas)
{
    return FormatGasValue(value, gas.point, false);
}

QString ValueTextOver(float value, const GasFacts& gas)
{
    return OverIfAboveFull(FormatGasValue(value, gas.point, false), gas.full);
}

const QString& ValueTextsOver::operator()(float value)
{
    const auto [it, added] = m_texts.try_emplace(std::bit_cast<std::uint32_t>(value));
    if (added)
        it->second = ValueTextOver(value, m_gas);
    return it->second;
}
