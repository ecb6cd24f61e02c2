// Judging answer frames: checksum, length, refusal, then a dispatch on the
// answer's own command code. Each handler fills the bound instrument object,
// a bound record collection or the control's result members.
#include "interface/uclQvif.h"

#include "common/appstate.h"
#include "common/clock.h"
#include "common/dates.h"
#include "common/errors.h"
#include "common/gasvalue.h"
#include "common/token.h"
#include "interface/frame.h"
#include "interface/messages.h"
#include "records/collections.h"
#include "records/instrument.h"

#include <cmath>
#include <limits>
#include <optional>

struct uclQvif::Answer {
    QByteArray frame;   // the frame as received, CR replaced by ","
    QByteArray code;    // "A1,R" etc.
    char terminator = 0;
    char c11 = 0;       // character 11: ACK, NAK or SUB in some answers
    const clsToken* tokens = nullptr;

    int Count() const { return tokens->TokenCount(); }
    // Token i, or "" beyond the count.
    QByteArray T(int i) const { return i < Count() ? tokens->TokenBytes(i) : QByteArray(); }
};

namespace {

const QString kResponseError = QStringLiteral("<<< Response error >>>");
const QString kFormatError = QStringLiteral("<<< Format error >>>");


// A hexadecimal token as the instrument sends it: 1 to 4 digits are a 16-bit
// two's complement number, 5 to 8 digits a 32-bit one. Anything else is no
// number.
std::optional<std::int32_t> HexNumber(const QByteArray& token)
{
    if (token.isEmpty() || token.size() > 8)
        return std::nullopt;
    quint32 v = 0;
    for (char c : token) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = v * 16 + static_cast<quint32>(d);
    }
    if (token.size() <= 4)
        return static_cast<std::int16_t>(static_cast<quint16>(v));
    return static_cast<std::int32_t>(v);
}

// Raw hex into a 16-bit value; a token that is no hex number, or one beyond
// 16 bits, is a conversion failure of the answer.
std::int16_t RawHex(const QByteArray& token)
{
    const auto v = HexNumber(token);
    if (!v)
        throw ConversionError(QStringLiteral("not hexadecimal: ") + QString::fromLatin1(token));
    if (*v < std::numeric_limits<std::int16_t>::min() || *v > std::numeric_limits<std::int16_t>::max())
        throw OverflowError(QStringLiteral("beyond 16 bits: ") + QString::fromLatin1(token));
    return static_cast<std::int16_t>(*v);
}

// Scaled hex: "****" is -101, otherwise raw hex divided by 10^decimals.
float ScaledHex(const QByteArray& token, int decimals)
{
    if (token == "****")
        return -101.0f;
    const double v = RawHex(token) / std::pow(10.0, decimals);
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max())
        throw OverflowError(QStringLiteral("value beyond range"));
    return static_cast<float>(v);
}

QString Text(const QByteArray& b)
{
    return QString::fromLatin1(b);
}

bool AllDigits(const QByteArray& b)
{
    if (b.isEmpty())
        return false;
    for (char c : b)
        if (c < '0' || c > '9')
            return false;
    return true;
}

float FloatField(const QByteArray& field)
{
    float v = 0;
    if (!ParseFloatText(Text(field), &v))
        throw ConversionError(QStringLiteral("not a number: ") + Text(field));
    return v;
}

// The identity and option texts. A read answer fills the instrument object
// and clears the setting's change flag; a write answer must echo the text
// the object holds.
struct TextSetting {
    const char* code;  // the two command letters
    bool twoDigitCode; // sent as a number with a leading zero ("7" as "07")
    QString (*held)(const clsInstrument&);
    void (*take)(clsInstrument&, const QString&);
};

const TextSetting kTextSettings[] = {
    {"XZ", false, [](const clsInstrument& i) { return i.UserID(); },
     [](clsInstrument& i, const QString& v) { i.SetUserID(v); i.SetChange_UserID(false); }},
    {"XS", false, [](const clsInstrument& i) { return i.StationID(); },
     [](clsInstrument& i, const QString& v) { i.SetStationID(v); i.SetChange_StationID(false); }},
    {"IN", false, [](const clsInstrument& i) { return i.SerialNo(); },
     [](clsInstrument& i, const QString& v) { i.SetSerialNo(v); i.SetChange_SerialNo(false); }},
    {"HN", false, [](const clsInstrument& i) { return i.DummySerial(); },
     [](clsInstrument& i, const QString& v) { i.SetDummySerial(v); i.SetChange_DummySerial(false); }},
    {"UJ", true, [](const clsInstrument& i) { return i.SpecType(); },
     [](clsInstrument& i, const QString& v) { i.SetSpecType(v); i.SetChange_SpecType(false); }},
    {"UV", true, [](const clsInstrument& i) { return i.ColdDistricts(); },
     [](clsInstrument& i, const QString& v) { i.SetColdDistricts(v); i.SetChange_ColdDistricts(false); }},
    {"AP", true, [](const clsInstrument& i) { return i.OxyAlarmType(); },
     [](clsInstrument& i, const QString& v) { i.SetOxyAlarmType(v); i.SetChange_OxyAlarmType(false); }},
    {"AT", true, [](const clsInstrument& i) { return i.WarningType(); },
     [](clsInstrument& i, const QString& v) { i.SetWarningType(v); i.SetChange_WarningType(false); }},
    {"AU", true, [](const clsInstrument& i) { return i.AlarmType(); },
     [](clsInstrument& i, const QString& v) { i.SetAlarmType(v); i.SetChange_AlarmType(false); }},
    {"AV", true, [](const clsInstrument& i) { return i.Vibration(); },
     [](clsInstrument& i, const QString& v) { i.SetVibration(v); i.SetChange_Vibration(false); }},
    {"AL", true, [](const clsInstrument& i) { return i.AlarmPassword(); },
     [](clsInstrument& i, const QString& v) { i.SetAlarmPassword(v); i.SetChange_AlarmPassword(false); }},
    {"WD", false, [](const clsInstrument& i) { return i.WarmDisp(); },
     [](clsInstrument& i, const QString& v) { i.SetWarmDisp(v); i.SetChange_WarmDisp(false); }},
};

// The text setting of an answer code such as "XZ,R", or null.
const TextSetting* FindTextSetting(const QByteArray& code)
{
    for (const TextSetting& t : kTextSettings)
        if (code.startsWith(t.code))
            return &t;
    return nullptr;
}

} // namespace

clsInstrument& uclQvif::Inst() const
{
    if (!m_instrument)
        throw PelkarError(QStringLiteral("no instrument object bound"));
    return *m_instrument;
}

uclQvif::AnswerCheck uclQvif::CheckAnswer(const QByteArray& input)
{
    // Every position below counts from the block's STX: a stray byte ahead
    // of it (a NUL from the converter) neither moves the echo nor the NAK
    // position, nor counts in the checksum.
    if (input.size() < 3) {
        AddLog(kResponseError);
        return AnswerCheck::Garbled;
    }
    // Checksum first, so a short frame with a wrong checksum counts as a
    // checksum error.
    const int hi = HexDigit(input.at(input.size() - 3));
    const int lo = HexDigit(input.at(input.size() - 2));
    if (hi < 0 || lo < 0) {
        AddLog(kResponseError);
        return AnswerCheck::Garbled;
    }
    if (hi * 16 + lo != FrameChecksum(input)) {
        AddLog(QStringLiteral("<<< Check SUM error >>>"));
        std::int16_t& errors = App().ChecksumErrors;
        if (errors < std::numeric_limits<std::int16_t>::max())
            ++errors;
        return AnswerCheck::Garbled;
    }
    if (input.size() < 15) {
        AddLog(kFormatError);
        return AnswerCheck::Garbled;
    }
    if (input.at(10) == Wire::NAK) {
        AddLog(QStringLiteral("<<< NAK received >>>"));
        return AnswerCheck::Refused;
    }
    // During a download only its own blocks are taken: a good frame of
    // another command (a stale answer, a second program on the line) is
    // refused, and nothing of it is acted on.
    if (m_status == 3 && !m_blockEcho.isEmpty() && input.mid(5, 5) != m_blockEcho) {
        AddLog(kResponseError);
        return AnswerCheck::Foreign;
    }
    return AnswerCheck::Ok;
}

bool uclQvif::ParseResponse(const QByteArray& received)
{
    const QByteArray input = FromStx(received);
    if (CheckAnswer(input) != AnswerCheck::Ok)
        return false;
    return ParseChecked(input);
}

bool uclQvif::ParseChecked(const QByteArray& input)
{
    try {
        Answer a;
        a.frame = input;
        a.frame.replace(Wire::CR, ',');
        a.terminator = input.back();
        a.c11 = input.at(10);
        QByteArray text = StripControlChars(a.frame);
        text = text.mid(4);
        text.chop(2);
        a.code = text.left(4);
        clsToken tokens;
        tokens.ClearComments();
        tokens.ClearDelimiters();
        tokens.ClearStrings();
        tokens.AddDelimiters(QString(QChar(13)));
        tokens.AddDelimiters(QStringLiteral(","));
        tokens.SetSourceBytes(text.mid(5));
        a.tokens = &tokens;
        return Dispatch(a);
    } catch (...) {
        AddLog(kResponseError);
        return false;
    }
}

bool uclQvif::FrameEchoOk(const Answer& a)
{
    if (a.frame == m_lastFrame)
        return true;
    AddLog(kResponseError);
    return false;
}

bool uclQvif::ValueEcho(const Answer& a)
{
    clsInstrument& inst = Inst();
    const QByteArray& c = a.code;
    if (c == "XT,W")
        return RawHex(a.T(0)) == inst.BackLight();
    if (c == "WT,W")
        return RawHex(a.T(0)) == inst.WarmTime();
    const TextSetting* setting = FindTextSetting(c);
    if (!setting)
        return false;
    const QString got = Text(a.T(0)).trimmed();
    const QString want = setting->held(inst).trimmed();
    if (got == want)
        return true;
    // A two-digit code goes out with a leading zero ("7" as "07") and comes
    // back as the instrument stored it: the same number is the same value.
    double gotNumber = 0;
    double wantNumber = 0;
    return setting->twoDigitCode && IsNumericText(got) && IsNumericText(want) && ParseWholeText(got, &gotNumber)
           && ParseWholeText(want, &wantNumber) && gotNumber == wantNumber;
}

bool uclQvif::Dispatch(const Answer& a)
{
    const QByteArray& c = a.code;

    if (c == "DN,R")
        return HandleLiveReadings(a);
    if (c == "A1,R" || c == "A2,R" || c == "AS,R" || c == "AW,R")
        return HandleSetPoints(a);
    if (c == "A1,W" || c == "A2,W" || c == "AS,W" || c == "AW,W") {
        if (a.Count() != 2)
            return false;
        return FrameEchoOk(a);
    }
    if (c == "SZ,R")
        return HandleAirCoefficients(a, true);
    if (c == "SZ,X") {
        if (a.Count() != 3) {
            AddLog(kFormatError);
            return false;
        }
        if (!FrameEchoOk(a))
            return false;
        return HandleAirCoefficients(a, false);
    }
    if (c == "S1,R")
        return HandleSpanValues(a, true);
    if (c == "S1,X")
        return HandleSpanValues(a, false);
    if (c == "S1,W") {
        if (a.Count() != 2) {
            AddLog(kFormatError);
            return false;
        }
        return FrameEchoOk(a);
    }
    if (c == "SZ,E" || c == "S1,E" || c == "UX,E" || c == "XC,E" || c == "RO,W" || c == "DW,E") {
        if (a.c11 == Wire::ACK)
            return true;
        AddLog(kResponseError);
        return false;
    }
    if (c == "SZ,C" || c == "S1,C") {
        const QString result = Text(a.T(0)).trimmed();
        QString& target = c == "SZ,C" ? m_zeroResult : m_spanResult;
        if (result.size() == 2) {
            target = result;
            return true;
        }
        if (a.c11 == Wire::SUB) {
            target.clear();
            return true;
        }
        AddLog(kResponseError);
        return false;
    }
    if (c == "XC,C") {
        m_dataClearDone = a.c11 == Wire::ACK;
        return true;
    }
    if (c == "GJ,R")
        return HandleGasTable(a);
    if (c == "GJ,W")
        return true;
    if (c == "HA,R") {
        if (a.Count() != 5) {
            AddLog(kResponseError);
            return false;
        }
        clsInstrument& inst = Inst();
        for (int k = 0; k < 5; ++k) {
            if (HexNumber(a.T(k)))
                inst.SetAnalogValue(k, RawHex(a.T(k)));
        }
        return true;
    }
    if (c == "VP,R") {
        double rom = 0;
        if (!ParseWholeText(Text(a.T(0)), &rom))
            return false;
        if (rom < std::numeric_limits<std::int32_t>::min() || rom > std::numeric_limits<std::int32_t>::max())
            throw OverflowError(QStringLiteral("ROM number beyond 32 bits"));
        clsInstrument& inst = Inst();
        inst.SetRomNumber(static_cast<std::int32_t>(rom));
        inst.SetSUM(Text(a.T(1)));
        return true;
    }
    if (c == "HB,R") {
        const auto v = HexNumber(a.T(0));
        if (!v)
            throw ConversionError(QStringLiteral("battery not hexadecimal"));
        Inst().SetBattery(static_cast<float>(*v / 1000.0));
        return true;
    }
    if (c == "HC,R")
        return HandleClock(a);
    if (c == "HC,W")
        return FrameEchoOk(a);
    if (c == "SO,R")
        return HandleLatestCalibration(a);
    if (c == "RC,R")
        return HandleConnect(a);
    if (c == "DR,R" || c == "DJ,R" || c == "DO,R" || c == "IH,R")
        return HandleRecordBlock(a);
    if (c == "EP,R" || c == "EF,R")
        return HandleDumpBlock(a);

    // Identity and option texts, hexadecimal options, and their echoes.
    if (c == "XT,R") {
        clsInstrument& inst = Inst();
        inst.SetBackLight(RawHex(a.T(0)));
        inst.SetChange_BackLight(false);
        return true;
    }
    if (c == "WT,R") {
        clsInstrument& inst = Inst();
        inst.SetWarmTime(RawHex(a.T(0)));
        inst.SetChange_WarmTime(false);
        return true;
    }
    if (c == "XT,W" || c == "WT,W")
        return ValueEcho(a);
    if (const TextSetting* setting = FindTextSetting(c)) {
        if (c.endsWith(",W"))
            return ValueEcho(a);
        if (c.endsWith(",R")) {
            clsInstrument& inst = Inst();
            setting->take(inst, Text(a.T(0)).trimmed());
            if (c == "IN,R")
                inst.SetModel(m_rcName);
            return true;
        }
    }

    return false; // a command this program does not know
}

bool uclQvif::HandleSetPoints(const Answer& a)
{
    if (a.Count() != 2)
        return false;
    clsInstrument& inst = Inst();
    bool result = true;
    for (int g = 0; g < 2; ++g) {
        QByteArray token = a.T(g);
        if (!inst.GasEnabled(g))
            token = "****";
        if (token != "****" && !HexNumber(token)) {
            result = false;
            continue;
        }
        const float value = ScaledHex(token, inst.GasPoint(g));
        if (a.code == "A1,R") {
            inst.SetWarning(g, value);
            inst.SetChange_Warn(g, false);
        } else if (a.code == "A2,R") {
            inst.SetAlarm(g, value);
            inst.SetChange_Alarm(g, false);
        } else if (a.code == "AS,R") {
            inst.SetStel(g, value);
            inst.SetChange_Stel(g, false);
        } else {
            inst.SetTwa(g, value);
            inst.SetChange_Twa(g, false);
        }
    }
    return result;
}

bool uclQvif::HandleGasTable(const Answer& a)
{
    if (a.Count() != 2) {
        AddLog(kFormatError);
        return false;
    }
    clsInstrument& inst = Inst();
    bool result = false;
    for (int g = 0; g < 2; ++g) {
        const QByteArray token = a.T(g);
        if (token.size() != 18) {
            result = false;
            continue;
        }
        if (token.contains('*')) {
            inst.SetGasName(g, QString());
            inst.SetGasEnabled(g, false);
            inst.SetGasFullScale(g, -101.0f);
            inst.SetGasDesit(g, 0.0f);
            inst.SetGasPoint(g, -101);
            inst.SetGasUnit(g, QString());
        } else {
            const QByteArray fullScale = token.mid(4, 5);
            const QByteArray resolution = token.mid(9, 5);
            inst.SetGasName(g, Text(token.left(4)).trimmed());
            inst.SetGasFullScale(g, FloatField(fullScale));
            inst.SetGasDesit(g, FloatField(resolution));
            inst.SetGasPoint(g, DecimalPlaces(Text(resolution).trimmed()));
            inst.SetGasUnit(g, Text(token.mid(14, 4)).trimmed());
            inst.SetGasEnabled(g, true);
        }
        // Freshly read: nothing of it is a pending change.
        inst.SetChange_GasEnable(g, false);
        inst.SetChange_GasPoint(g, false);
        result = true;
    }
    return result;
}

bool uclQvif::HandleClock(const Answer& a)
{
    const QByteArray t = a.T(0);
    if (t.size() != 12)
        return false;
    clsInstrument& inst = Inst();
    QDateTime date;
    if (AllDigits(t)) {
        date = MakeDate(2000 + t.mid(0, 2).toInt(), t.mid(2, 2).toInt(), t.mid(4, 2).toInt(),
                        t.mid(6, 2).toInt(), t.mid(8, 2).toInt(), t.mid(10, 2).toInt());
    }
    if (!date.isValid()) {
        inst.SetFailLine(QString::fromLatin1(a.code));
        return false;
    }
    inst.SetSysDate(date);
    inst.SetSysDateOffset(SecondsBetween(date, Now()) / 86400.0);
    return true;
}

bool uclQvif::HandleLatestCalibration(const Answer& a)
{
    if (a.Count() != 2)
        return false;
    clsInstrument& inst = Inst();
    bool result = false;
    for (int g = 0; g < 2; ++g) {
        const QByteArray t = a.T(g);
        if (t.size() != 22) {
            result = false;
            continue;
        }
        // The time is added only to a date read from this answer; without a
        // date the held calibration date stays as it is.
        const QByteArray yy = t.mid(0, 2), mm = t.mid(2, 2), dd = t.mid(4, 2);
        if (AllDigits(yy) && AllDigits(mm) && AllDigits(dd)) {
            QDateTime date = MakeDate(2000 + yy.toInt(), mm.toInt(), dd.toInt());
            if (date.isValid()) {
                const QByteArray hh = t.mid(6, 2), nn = t.mid(8, 2), ss = t.mid(10, 2);
                if (AllDigits(hh) && AllDigits(nn) && AllDigits(ss) && hh.toInt() < 24 && nn.toInt() < 60
                    && ss.toInt() < 60)
                    date = date.addSecs(hh.toInt() * 3600 + nn.toInt() * 60 + ss.toInt());
                inst.SetCalibDate(g, date);
            }
        }
        const auto reading = [](const QByteArray& field) {
            float v = 0;
            if (field.contains('*') || !ParseFloatText(Text(field), &v))
                return -101.0f;
            return v;
        };
        inst.SetCalibBefore(g, reading(t.mid(12, 5)));
        inst.SetCalibAfter(g, reading(t.mid(17, 5)));
        result = true;
    }
    return result;
}

bool uclQvif::HandleLiveReadings(const Answer& a)
{
    if (a.Count() != 2) {
        AddLog(kFormatError);
        return false;
    }
    clsInstrument& inst = Inst();
    for (int g = 0; g < 2; ++g) {
        QByteArray token = a.T(g);
        if (!inst.GasEnabled(g))
            token = "****";
        if (HexNumber(token))
            inst.SetLimitValue(g, ScaledHex(token, inst.GasPoint(g)));
        else if (token == "****")
            inst.SetLimitValue(g, -101.0f);
        else if (token == "FAIL")
            inst.SetLimitValue(g, -110.0f);
    }
    emit Densty(inst.LimitValue(0), inst.LimitValue(1));
    return true;
}

bool uclQvif::HandleAirCoefficients(const Answer& a, bool replaceDisabled)
{
    if (a.Count() != 3) {
        AddLog(kFormatError);
        return false;
    }
    clsInstrument& inst = Inst();
    QByteArray t[3] = {a.T(0), a.T(1), a.T(2)};
    if (replaceDisabled) {
        if (!inst.GasEnabled(0))
            t[0] = t[1] = "****";
        if (!inst.GasEnabled(1))
            t[2] = "****";
    }
    const auto value = [](const QByteArray& token) -> std::optional<std::int16_t> {
        if (HexNumber(token))
            return RawHex(token);
        if (token == "****")
            return static_cast<std::int16_t>(-101);
        return std::nullopt;
    };
    if (const auto v = value(t[0]))
        inst.SetAirP1Coefficient(*v);
    if (const auto v = value(t[1]))
        inst.SetAirP2Coefficient(*v);
    if (const auto v = value(t[2]))
        inst.SetAirO2Coefficient(*v);
    inst.SetChange_AirCoefficient(false);
    return true;
}

bool uclQvif::HandleSpanValues(const Answer& a, bool replaceDisabled)
{
    if (a.Count() != 4) {
        AddLog(kFormatError);
        return false;
    }
    clsInstrument& inst = Inst();
    QByteArray t[4] = {a.T(0), a.T(1), a.T(2), a.T(3)};
    if (replaceDisabled) {
        if (!inst.GasEnabled(0))
            t[0] = t[1] = "****";
        if (!inst.GasEnabled(1))
            t[2] = t[3] = "****";
    }
    for (int g = 0; g < 2; ++g) {
        inst.SetAutoCalib(g, ScaledHex(t[2 * g], inst.GasPoint(g)));
        const QByteArray& coefficient = t[2 * g + 1];
        if (HexNumber(coefficient))
            inst.SetCalCoefficient(g, RawHex(coefficient));
        else if (coefficient == "****")
            inst.SetCalCoefficient(g, -101);
        inst.SetChange_AutoCal(g, false);
        inst.SetChange_CalCoefficient(g, false);
    }
    return true;
}

bool uclQvif::HandleConnect(const Answer& a)
{
    bool known = false;
    for (int n = 1; n <= 5 && !known; ++n)
        known = a.frame.contains(QByteArray("RC,R,KV-") + QByteArray::number(n));
    if (!known)
        return false;
    m_rcName = Text(a.T(0)).trimmed();
    if (m_linkState != 3) {
        m_linkState = 3;
        PostOnConnect();
        AddLog(Msg(5514));
    }
    return true;
}

namespace {

// A block is taken whole or not at all: every record line is checked first
// (all of them, also after a failure), and stored only when all passed.
template <class SetDatas>
bool TwoPasses(const clsToken& tokens, SetDatas setDatas)
{
    const int count = tokens.TokenCount();
    bool result = true;
    for (int k = 3; k < count; ++k)
        result = setDatas(QString::fromLatin1(tokens.TokenBytes(k)), true) && result;
    if (!result)
        return false;
    for (int k = 3; k < count; ++k)
        result = setDatas(QString::fromLatin1(tokens.TokenBytes(k)), false) && result;
    return result;
}

bool IsHexText(const QByteArray& text)
{
    for (char c : text)
        if (HexDigit(c) < 0)
            return false;
    return true;
}

} // namespace

bool uclQvif::HandleRecordBlock(const Answer& a)
{
    const QByteArray& c = a.code;
    if (c == "IH,R" && a.c11 == Wire::ACK && a.terminator != Wire::EOT)
        return false;
    if (c == "DR,R") {
        if (!m_intervals)
            throw PelkarError(QStringLiteral("no interval collection bound"));
        const bool ok = TwoPasses(*a.tokens, [this](const QString& line, bool check) { return m_intervals->SetDatas(line, check); });
        if (!ok && m_intervals->LinesMissing())
            m_linesMissing = true;
        return ok;
    }
    if (c == "DJ,R") {
        if (!m_alarms)
            throw PelkarError(QStringLiteral("no alarm collection bound"));
        return TwoPasses(*a.tokens, [this](const QString& line, bool check) { return m_alarms->SetDatas(line, check); });
    }
    if (c == "DO,R") {
        if (!m_powerEvents)
            throw PelkarError(QStringLiteral("no power-event collection bound"));
        return TwoPasses(*a.tokens, [this](const QString& line, bool check) { return m_powerEvents->SetDatas(line, check); });
    }
    if (!m_history)
        throw PelkarError(QStringLiteral("no history collection bound"));
    const int gas = m_historyGasIndex;
    return TwoPasses(*a.tokens, [this, gas](const QString& line, bool check) { return m_history->SetDatas(gas, line, check); });
}

bool uclQvif::HandleDumpBlock(const Answer& a)
{
    const QByteArray data = a.T(3);
    // Memory contents are hex digits; anything else is a garbled block.
    if (!IsHexText(data))
        throw ConversionError(QStringLiteral("dump data is not hexadecimal"));
    m_dumpPending.append(data);
    if (a.terminator != Wire::EOT)
        return true;
    for (qint64 k = 0; !m_dumpPending.isEmpty(); ++k) {
        QByteArray line;
        if (m_dumpPending.size() < 32) {
            line = m_dumpPending.leftJustified(32, 'F');
            m_dumpPending.clear();
        } else {
            line = m_dumpPending.left(32);
            m_dumpPending.remove(0, 32);
        }
        m_dumpLines[static_cast<size_t>(m_dumpLineCount)] = line;
        m_dumpAddresses[static_cast<size_t>(m_dumpLineCount)] = static_cast<std::int32_t>(k * 16);
        if (++m_dumpLineCount > 15) {
            WriteDumpList();
            m_dumpLineCount = 0;
        }
    }
    return true;
}
