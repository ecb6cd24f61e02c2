// The simulated instrument's side of the settings writes, the calibration
// and maintenance commands: each write changes the instrument state and is
// confirmed by returning the request unchanged (its first field is the
// value the instrument now holds); execute commands are acknowledged with
// ACK; check commands answer busy (SUB) until the work is done.
#include "fake_instrument.h"
#include "fake_wire.h"

#include <cmath>

using namespace fakewire;

namespace {

// A field of hex digits as a 16-bit two's complement number.
std::optional<std::int16_t> Hex(const QByteArray& field)
{
    bool ok = false;
    const uint v = field.toUInt(&ok, 16);
    if (!ok || field.isEmpty() || field.size() > 4)
        return std::nullopt;
    return static_cast<std::int16_t>(static_cast<quint16>(v));
}

// A four-digit set point field as the value it stands for.
std::optional<float> Scaled(const QByteArray& field, int points)
{
    const auto v = Hex(field);
    if (!v || field.size() != 4)
        return std::nullopt;
    return static_cast<float>(*v / std::pow(10.0, points));
}

} // namespace

std::optional<QByteArray> FakeInstrument::CommandAnswer(const QByteArray& command)
{
    FakeInstrumentState& s = m_state;
    FakeCommandState& c = m_commandState;
    const QByteArray code = command.left(5);
    const QByteArray params = command.mid(5);
    const QList<QByteArray> fields = params.split(',');
    const QByteArray echo = Frame(command);
    const QByteArray ack = Frame(code + ACK);
    const QByteArray refused = Frame(code + NAK);
    const auto text = [&] { return QString::fromLatin1(fields.value(0)).trimmed(); };

    // Identity and option texts.
    const struct {
        const char* code;
        QString FakeInstrumentState::*field;
    } texts[] = {
        {"XZ,W,", &FakeInstrumentState::userId},       {"XS,W,", &FakeInstrumentState::stationId},
        {"IN,W,", &FakeInstrumentState::serialNo},     {"HN,W,", &FakeInstrumentState::dummySerial},
        {"UJ,W,", &FakeInstrumentState::specType},     {"UV,W,", &FakeInstrumentState::coldDistricts},
        {"AP,W,", &FakeInstrumentState::oxyAlarmType}, {"AT,W,", &FakeInstrumentState::warningType},
        {"AU,W,", &FakeInstrumentState::alarmType},    {"AV,W,", &FakeInstrumentState::vibration},
        {"AL,W,", &FakeInstrumentState::alarmPassword}, {"WD,W,", &FakeInstrumentState::warmDisp},
    };
    for (const auto& t : texts) {
        if (code == t.code) {
            s.*t.field = text();
            return echo;
        }
    }
    if (code == "XT,W," || code == "WT,W,") {
        const auto v = Hex(fields.value(0));
        if (!v || fields.size() != 1)
            return refused;
        (code == "XT,W," ? s.backLight : s.warmTime) = *v;
        return echo;
    }

    // Set points and auto-calibration values: one four-digit field per gas.
    const struct {
        const char* code;
        float FakeGas::*field;
    } points[] = {
        {"A1,W,", &FakeGas::warning}, {"A2,W,", &FakeGas::alarm},     {"AS,W,", &FakeGas::stel},
        {"AW,W,", &FakeGas::twa},     {"S1,W,", &FakeGas::autoCalib},
    };
    for (const auto& p : points) {
        if (code != p.code)
            continue;
        if (fields.size() != 2)
            return refused;
        const auto v0 = Scaled(fields[0], s.gas[0].points);
        const auto v1 = Scaled(fields[1], s.gas[1].points);
        if (!v0 || !v1)
            return refused;
        s.gas[0].*p.field = *v0;
        s.gas[1].*p.field = *v1;
        return echo;
    }

    if (code == "GJ,W,") {
        // Enable flags, then an 18-character block per gas.
        if (fields.size() != 3 || fields[0].size() != 2 || fields[1].size() != 18 || fields[2].size() != 18)
            return refused;
        for (int g = 0; g < 2; ++g) {
            const QByteArray& block = fields[g + 1];
            FakeGas& gas = s.gas[static_cast<size_t>(g)];
            gas.enabled = fields[0].at(g) == '1';
            if (block.contains('*'))
                continue;
            gas.name = QString::fromLatin1(block.left(4)).trimmed();
            gas.fullScale = QString::fromLatin1(block.mid(4, 5));
            gas.resolution = QString::fromLatin1(block.mid(9, 5));
            gas.unit = QString::fromLatin1(block.mid(14, 4)).trimmed();
        }
        return echo;
    }

    if (code == "HC,W,") {
        if (params.size() != 12)
            return refused;
        s.clock = QString::fromLatin1(params);
        ++c.clockSets;
        return echo;
    }

    // Calibration coefficients.
    if (code == "SZ,X,") {
        if (fields.size() != 3 || !Hex(fields[0]) || !Hex(fields[1]) || !Hex(fields[2]))
            return refused;
        s.airP1 = *Hex(fields[0]);
        s.airP2 = *Hex(fields[1]);
        s.airO2 = *Hex(fields[2]);
        return echo;
    }
    if (code == "S1,X,") {
        // Answered with the span values the instrument now holds.
        if (fields.size() != 2 || !Hex(fields[0]) || !Hex(fields[1]))
            return refused;
        QByteArray data;
        for (int g = 0; g < 2; ++g) {
            FakeGas& gas = s.gas[static_cast<size_t>(g)];
            gas.calCoefficient = *Hex(fields[g]);
            data += (g ? "," : "") + ScaledField(gas.autoCalib, gas.points) + ',' + Hex4(gas.calCoefficient);
        }
        return Frame(code + data);
    }

    // Calibration: start, then completion checks.
    if (code == "SZ,E," || code == "S1,E,") {
        const bool zero = code == "SZ,E,";
        (zero ? c.zeroGasFlags : c.spanGasFlags) = params;
        ++(zero ? c.zeroStarts : c.spanStarts);
        (zero ? c.zeroBusyLeft : c.spanBusyLeft) = zero ? c.zeroBusyAnswers : c.spanBusyAnswers;
        return ack;
    }
    if (code == "SZ,C," || code == "S1,C,") {
        const bool zero = code == "SZ,C,";
        int& busy = zero ? c.zeroBusyLeft : c.spanBusyLeft;
        if (busy > 0) {
            --busy;
            return Frame(code + SUB);
        }
        return Frame(code + (zero ? c.zeroResult : c.spanResult));
    }

    // Maintenance.
    if (code == "UX,E,") {
        ++c.defaultsRestored;
        return ack;
    }
    if (code == "XC,E,") {
        c.clearBusyLeft = c.clearBusyAnswers;
        c.loggerCleared = false;
        return ack;
    }
    if (code == "XC,C,") {
        if (c.clearBusyLeft > 0) {
            --c.clearBusyLeft;
            return Frame(code + SUB);
        }
        if (!c.loggerCleared) {
            c.loggerCleared = true;
            ++c.loggerClears;
        }
        return ack;
    }
    if (code == "RO,W,") {
        c.poweredOff = true;
        return ack;
    }
    return std::nullopt;
}
