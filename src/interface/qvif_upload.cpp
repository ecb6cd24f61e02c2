// The settings upload: writes the settings an instrument object marks as
// changed back to the instrument, one command per setting group in a fixed
// order, and clears each group's flags once its command is acknowledged.
#include "interface/uclQvif.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/gasvalue.h"
#include "interface/frame.h"
#include "interface/messages.h"
#include "records/instrument.h"

#include <cmath>

namespace {

// Text as it goes on the wire: one byte per character, printable ASCII
// only (the frame's own control characters must never appear in data).
std::optional<QByteArray> WireText(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 32 || u > 126)
            return std::nullopt;
        out.append(static_cast<char>(u));
    }
    return out;
}

// One write command, built field by field. A value that cannot be sent as
// it is (a text with characters the line cannot carry, a number that does
// not fit its field) spoils the row: it is refused rather than sent cut.
class Row {
public:
    explicit Row(const char* code) : m_code(code), m_text(code) {}

    // Text padded with blanks to width, longer texts cut.
    Row& Text(const QString& value, int width, const char* what)
    {
        const auto bytes = WireText(value);
        if (!bytes)
            return Refuse(what, value);
        m_text += bytes->leftJustified(width, ' ', true);
        return *this;
    }

    // A two-digit code: a number as at least two digits ("7" -> "07"); a
    // text that is no number goes as it is, trimmed.
    Row& Code2(const QString& value, const char* what)
    {
        const QString t = value.trimmed();
        double whole = 0;
        if (IsNumericText(t) && ParseWholeText(t, &whole) && std::fabs(whole) < 1e9) {
            const auto n = static_cast<long long>(whole);
            QString digits = QString::number(n < 0 ? -n : n).rightJustified(2, QLatin1Char('0'));
            if (n < 0)
                digits.prepend(QLatin1Char('-'));
            m_text += digits.toLatin1();
            return *this;
        }
        const auto bytes = WireText(t);
        if (!bytes)
            return Refuse(what, value);
        m_text += *bytes;
        return *this;
    }

    // Two upper-case hex digits of a value 0..255.
    Row& Hex2(int value, const char* what)
    {
        if (value < 0 || value > 0xFF)
            return Refuse(what, QString::number(value));
        m_text += HexText(static_cast<quint32>(value), 2);
        return *this;
    }

    // A gas value as a four-digit signed field.
    Row& HexValue(float value, int points, const char* what, int gas)
    {
        const auto field = ValueToHexField(value, points);
        if (!field)
            return Refuse(what, FloatText(value), gas);
        m_text += *field;
        return *this;
    }

    // A gas value as five characters, right-aligned.
    Row& Value5(float value, int points, const char* what, int gas)
    {
        const int decimals = (points >= 1 && points <= 3) ? points : 0;
        if (!std::isfinite(value) || (value >= 0 && FormatNumber(value, decimals).size() > 5))
            return Refuse(what, FloatText(value), gas);
        m_text += FormatValue5(value, static_cast<std::int16_t>(points)).toLatin1();
        return *this;
    }

    Row& Raw(const QByteArray& bytes)
    {
        m_text += bytes;
        return *this;
    }

    bool Ok() const { return m_problem.isEmpty(); }
    const QByteArray& Command() const { return m_text; }
    const QString& Problem() const { return m_problem; }

private:
    Row& Refuse(const char* what, const QString& value, int gas = -1)
    {
        if (m_problem.isEmpty()) {
            QString name = QString::fromLatin1(what);
            if (gas >= 0)
                name += QStringLiteral(" of gas %1").arg(gas + 1);
            m_problem = QStringLiteral("%1 %2 = \"%3\"").arg(QString::fromLatin1(m_code), name, value);
        }
        return *this;
    }

    const char* m_code;
    QByteArray m_text;
    QString m_problem;
};

} // namespace

bool uclQvif::SetInstrument(clsInstrument* instrument)
{
    if (!instrument) {
        WriteSerialLog(Msg(5538, GeneralDate(Now())));
        return false;
    }
    clsInstrument& inst = *instrument;
    m_cancel = false;
    m_instrument = instrument;
    const QDateTime started = Now();
    WriteSerialLog(Msg(5536, GeneralDate(started)));

    bool ok = true;
    bool rereadAll = false;    // SpecType was written
    bool rereadAlarms = false; // the oxygen alarm type was written

    // The send step: nothing once a command has failed; otherwise one
    // exchange in state 5. True when the row was acknowledged.
    const auto send = [&](const Row& row) {
        if (!ok)
            return false;
        if (!row.Ok()) {
            WriteSerialLog(QStringLiteral("<<< Upload value refused >>> ") + row.Problem());
            ok = false;
            return false;
        }
        if (!Exchange(row.Command(), 5, {}))
            ok = false;
        return ok;
    };
    const auto setPoints = [&](const char* code, float (clsInstrument::*get)(int) const, const char* what) {
        return Row(code)
            .HexValue((inst.*get)(0), inst.GasPoint(0), what, 0)
            .Raw(",")
            .HexValue((inst.*get)(1), inst.GasPoint(1), what, 1);
    };
    const auto gasBlock = [&](Row& row, int g) {
        if (!inst.GasEnabled(g)) {
            row.Raw(QByteArray(18, '*'));
            return;
        }
        row.Text(inst.GasName(g), 4, "gas name")
            .Value5(inst.GasFullScale(g), inst.GasPoint(g), "full scale", g)
            .Value5(inst.GasDesit(g), inst.GasPoint(g), "resolution", g)
            .Text(inst.GasUnit(g), 4, "unit");
    };
    const auto clearWarn = [&] {
        inst.SetChange_Warn(0, false);
        inst.SetChange_Warn(1, false);
    };

    // Identity texts.
    if (inst.Change_UserID() && send(Row("XZ,W,").Text(inst.UserID(), 10, "user ID")))
        inst.SetChange_UserID(false);
    if (inst.Change_StationID() && send(Row("XS,W,").Text(inst.StationID(), 10, "station ID")))
        inst.SetChange_StationID(false);
    if (inst.Change_SerialNo() && send(Row("IN,W,").Text(inst.SerialNo(), 12, "serial number")))
        inst.SetChange_SerialNo(false);
    if (inst.Change_DummySerial() && send(Row("HN,W,").Text(inst.DummySerial(), 12, "dummy serial")))
        inst.SetChange_DummySerial(false);

    // The gas table.
    if (inst.Change_GasEnable(0) || inst.Change_GasEnable(1)) {
        Row row("GJ,W,");
        row.Raw(inst.GasEnabled(0) ? "1" : "0").Raw(inst.GasEnabled(1) ? "1" : "0").Raw(",");
        gasBlock(row, 0);
        row.Raw(",");
        gasBlock(row, 1);
        if (send(row)) {
            inst.SetChange_GasEnable(0, false);
            inst.SetChange_GasEnable(1, false);
        }
    }

    // The types that change which set points the instrument keeps.
    if (inst.Change_SpecType() && send(Row("UJ,W,").Code2(inst.SpecType(), "SpecType"))) {
        inst.SetChange_SpecType(false);
        rereadAll = true;
    }
    if (inst.Change_OxyAlarmType() && inst.GasEnabled(1)
        && send(Row("AP,W,").Code2(inst.OxyAlarmType(), "oxygen alarm type"))) {
        inst.SetChange_OxyAlarmType(false);
        rereadAlarms = true;
    }

    // The alarm levels. A warning level of 0 is written before the alarms;
    // when the other gas has a real warning level, its flags stay set and
    // the warnings are written once more after the alarms.
    if (inst.Change_Alarm(0) || inst.Change_Alarm(1)) {
        int zero = 0;
        int none = 0;
        for (int g = 0; g < 2; ++g) {
            zero += inst.Warning(g) == 0.0f ? 1 : 0;
            none += inst.Warning(g) == -101.0f ? 1 : 0;
        }
        if (zero >= 1 && (inst.Change_Warn(0) || inst.Change_Warn(1))
            && send(setPoints("A1,W,", &clsInstrument::Warning, "warning")) && zero + none == 2)
            clearWarn();
        if (send(setPoints("A2,W,", &clsInstrument::Alarm, "alarm"))) {
            inst.SetChange_Alarm(0, false);
            inst.SetChange_Alarm(1, false);
        }
    }

    // The other set points.
    if ((inst.Change_Warn(0) || inst.Change_Warn(1))
        && send(setPoints("A1,W,", &clsInstrument::Warning, "warning")))
        clearWarn();
    if ((inst.Change_Stel(0) || inst.Change_Stel(1)) && send(setPoints("AS,W,", &clsInstrument::Stel, "STEL"))) {
        inst.SetChange_Stel(0, false);
        inst.SetChange_Stel(1, false);
    }
    if ((inst.Change_Twa(0) || inst.Change_Twa(1)) && send(setPoints("AW,W,", &clsInstrument::Twa, "TWA"))) {
        inst.SetChange_Twa(0, false);
        inst.SetChange_Twa(1, false);
    }

    // Option settings.
    if (inst.Change_ColdDistricts() && send(Row("UV,W,").Code2(inst.ColdDistricts(), "cold districts")))
        inst.SetChange_ColdDistricts(false);
    if (inst.Change_WarningType() && send(Row("AT,W,").Code2(inst.WarningType(), "warning type")))
        inst.SetChange_WarningType(false);
    if (inst.Change_AlarmType() && send(Row("AU,W,").Code2(inst.AlarmType(), "alarm type")))
        inst.SetChange_AlarmType(false);
    if (inst.Change_Vibration() && send(Row("AV,W,").Code2(inst.Vibration(), "vibration")))
        inst.SetChange_Vibration(false);
    if (inst.Change_BackLight() && send(Row("XT,W,").Hex2(inst.BackLight(), "back light")))
        inst.SetChange_BackLight(false);
    if (inst.Change_AlarmPassword() && send(Row("AL,W,").Code2(inst.AlarmPassword(), "alarm password")))
        inst.SetChange_AlarmPassword(false);

    // The auto-calibration values.
    if ((inst.Change_AutoCal(0) || inst.Change_AutoCal(1))
        && send(setPoints("S1,W,", &clsInstrument::AutoCalib, "auto calibration"))) {
        inst.SetChange_AutoCal(0, false);
        inst.SetChange_AutoCal(1, false);
    }

    // Warm-up.
    if (inst.Change_WarmTime() && send(Row("WT,W,").Hex2(inst.WarmTime(), "warm-up time")))
        inst.SetChange_WarmTime(false);
    if (inst.Change_WarmDisp() && send(Row("WD,W,").Code2(inst.WarmDisp(), "warm-up display")))
        inst.SetChange_WarmDisp(false);

    // The instrument may have changed its set points after a type change:
    // read them back. Their outcome does not change the result.
    const int rereads = rereadAll ? 4 : (rereadAlarms ? 2 : 0);
    const Forward forward = InstForward(&QvifPort::InstMessage);
    for (int slot = 10; slot < 10 + rereads; ++slot)
        Exchange(m_readCommands[static_cast<size_t>(slot)].command, 4, forward);

    const QDateTime finished = Now();
    if (ok)
        WriteSerialLog(Msg(5537, GeneralDate(finished), ElapsedHms(started, finished)));
    else
        WriteSerialLog(Msg(5538, GeneralDate(finished)));
    return ok;
}
