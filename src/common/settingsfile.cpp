#include "common/settingsfile.h"

#include "common/appstate.h"
#include "common/clock.h"
#include "common/dates.h"
#include "common/errors.h"
#include "common/file_write.h"
#include "common/gasvalue.h"
#include "common/paths.h"
#include "common/resstrings.h"
#include "common/settings_targets.h"
#include "common/system_error.h"
#include "common/token.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <limits>
#include <optional>

QString SettingsFilePath()
{
    return ProgramFile(QStringLiteral("Pelkar.ini"));
}

// ---------------------------------------------------------------- scramble

QString EncodeSettingText(const QString& text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const long n = static_cast<long>(i) + text[i].unicode();
        out += QChar(static_cast<char16_t>((n & 15) + 70));
        out += QChar(static_cast<char16_t>(n / 16 + 70));
    }
    return out;
}

QString DecodeSettingText(const QString& text)
{
    QString out;
    for (qsizetype k = 0; 2 * k + 1 < text.size(); ++k) {
        const long c1 = text[2 * k].unicode();
        const long c2 = text[2 * k + 1].unicode();
        const long v = (c2 - 70) * 16 + ((c1 - 70) & 15) - static_cast<long>(k);
        if (v < 0 || v > 0xFFFF)
            throw ConversionError(QStringLiteral("Bad character in a scrambled setting"));
        out += QChar(static_cast<char16_t>(v));
    }
    return out;
}

// ----------------------------------------------------------------- reading

namespace {

// The values of one line, read by position. A position beyond the line's
// tokens reports "missing" so its target stays unchanged.
class Fields {
public:
    explicit Fields(const clsToken& t) : m_t(t) {}

    bool Has(int i) const { return i < m_t.TokenCount(); }
    QString Text(int i) const { return m_t.Tokens(i); }

    void ReadText(int i, QString& target) const
    {
        if (Has(i))
            target = Text(i);
    }
    void ReadBool(int i, bool& target) const
    {
        if (Has(i))
            target = Text(i).trimmed().toUpper() == QLatin1String("TRUE");
    }
    // A whole-number field as T, rounded half to even (a text that is not
    // a number gives fallback): nullopt when missing, OverflowError beyond
    // the range of T.
    template <typename T>
    std::optional<T> WholeAt(int i, T fallback) const
    {
        if (!Has(i))
            return std::nullopt;
        double v = 0;
        if (!ParseWholeText(Text(i), &v))
            v = fallback;
        if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
            throw OverflowError(QStringLiteral("%1 is out of range").arg(Text(i)));
        return static_cast<T>(v);
    }
    template <typename T>
    void ReadWhole(int i, T fallback, T& target) const
    {
        if (const std::optional<T> v = WholeAt(i, fallback))
            target = *v;
    }
    void ReadFloat(int i, float fallback, float& target) const
    {
        if (!Has(i))
            return;
        float v = 0;
        if (ParseFloatText(Text(i), &v))
            target = v;
        else if (IsNumericText(Text(i)))
            throw OverflowError(QStringLiteral("%1 is out of range").arg(Text(i)));
        else
            target = fallback;
    }
    // A whole-number key field: nullopt when missing or not numeric.
    std::optional<double> Key(int i) const
    {
        if (!Has(i))
            return std::nullopt;
        double v = 0;
        if (!ParseWholeText(Text(i), &v))
            return std::nullopt;
        return v;
    }

private:
    const clsToken& m_t;
};

// A whole number kept both in its stand-in field of App() and, when bound,
// on the window or graph the settings belong to.
template <typename Target>
void ReadMirrored(const Fields& f, int i, std::int32_t fallback, std::int32_t& standIn, Target* target,
                  void (Target::*set)(std::int32_t))
{
    if (const std::optional<std::int32_t> v = f.WholeAt(i, fallback)) {
        standIn = *v;
        if (target)
            (target->*set)(*v);
    }
}

void ReadGasFields(const Fields& f, int first, GasEntry& e)
{
    f.ReadText(first, e.Name);
    f.ReadBool(first + 1, e.Enabled);
    f.ReadBool(first + 2, e.Locked);
    f.ReadWhole<std::int16_t>(first + 3, 0, e.Points);
    f.ReadText(first + 4, e.Unit);
    f.ReadFloat(first + 5, 0, e.Warning);
    f.ReadFloat(first + 6, 0, e.Alarm);
    f.ReadFloat(first + 7, 0, e.Stel);
    f.ReadFloat(first + 8, 0, e.Twa);
    f.ReadFloat(first + 9, 0, e.Desit);
    f.ReadFloat(first + 10, 0, e.FullScale);
    f.ReadFloat(first + 11, 0, e.AutoCal);
}

void ApplyGasInst(const Fields& f, AppState& app)
{
    const std::optional<double> no = f.Key(1);
    if (!no)
        return;
    if (*no != 1 && *no != 2)
        throw IndexOutOfRangeError(QStringLiteral("Gas number %1 out of range").arg(*no));
    const int gas = static_cast<int>(*no) - 1;
    GasSetting& g = app.CurrentGas[gas];
    f.ReadText(2, g.Name);
    f.ReadBool(3, g.Enabled);
    f.ReadBool(4, app.GasLocked[gas]);
    f.ReadWhole<std::int16_t>(5, 0, g.Point);
    f.ReadText(6, g.Unit);
    f.ReadFloat(7, 0, g.Warning);
    f.ReadFloat(8, 0, g.Alarm);
    f.ReadFloat(9, 0, g.Stel);
    f.ReadFloat(10, 0, g.Twa);
    f.ReadFloat(11, 0, g.Desit);
    f.ReadFloat(12, 0, g.FullScale);
    f.ReadFloat(13, 0, g.AutoCalib);
    f.ReadFloat(14, 0, app.FactAutoCal[gas]);
    f.ReadWhole<std::int32_t>(15, 0, app.GraphColor[gas]);
}

void ApplyChgGas(const Fields& f, GasTable& table)
{
    const std::optional<double> gasNo = f.Key(1);
    const std::optional<double> no = f.Key(2);
    if (!gasNo || !no)
        return;
    if (*gasNo != 1 && *gasNo != 2)
        throw IndexOutOfRangeError(QStringLiteral("Gas number %1 out of range").arg(*gasNo));
    if (*no < 1 || *no > 9)
        throw IndexOutOfRangeError(QStringLiteral("Entry number %1 out of range").arg(*no));
    ReadGasFields(f, 3, table[static_cast<int>(*gasNo) - 1][static_cast<int>(*no) - 1]);
}

void ApplyLine(const QString& key, const Fields& f, AppState& app)
{
    if (key == QLatin1String("FACTORY RECORD SUFFIX")) {
        f.ReadText(1, app.FactoryRecordSuffix);
    } else if (key == QLatin1String("EXECUTE COUNT")) {
        f.ReadWhole<std::int32_t>(1, 0, app.ExecuteCount);
    } else if (key == QLatin1String("SERIAL LOG FILE")) {
        if (f.Has(1))
            app.SerialLogOn = f.Text(1).trimmed().toUpper() == QLatin1String("ON");
    } else if (key == QLatin1String("IRCOMM NUM")) {
        if (const std::optional<std::int16_t> v = f.WholeAt<std::int16_t>(1, 4)) {
            app.CommPort = *v;
            app.CommDevice.clear(); // a number from this file names /dev/ttyS(n-1)
        }
    } else if (key == QLatin1String("TIMEOUT")) {
        f.ReadWhole<std::int16_t>(1, 3, app.Timeout);
        app.Timeout = HeldTimeout(app.Timeout);
    } else if (key == QLatin1String("RETRY")) {
        f.ReadWhole<std::int16_t>(1, 3, app.Retry);
        app.Retry = HeldRetry(app.Retry);
    } else if (key == QLatin1String("AUTO LOAD MODE")) {
        f.ReadBool(1, app.AutoCalibration);
        f.ReadBool(2, app.AutoLoad);
        f.ReadBool(3, app.AutoRemoveData);
    } else if (key == QLatin1String("FONT")) {
        if (!app.DisplayFont)
            app.DisplayFont = FontSetting();
        FontSetting& font = *app.DisplayFont;
        f.ReadText(1, font.Name);
        f.ReadFloat(2, 9, font.Size);
        f.ReadBool(3, font.Bold);
        f.ReadBool(4, font.Italic);
        f.ReadBool(5, font.Underline);
    } else if (key == QLatin1String("GRAPH COLOR")) {
        ReadMirrored(f, 1, 1, app.GraphScaleColor, app.GraphTarget, &GraphColorTarget::SetScaleColor);
        ReadMirrored(f, 2, 0xF0F0F0, app.GraphBackColor, app.GraphTarget, &GraphColorTarget::SetBackColor);
        ReadMirrored(f, 3, 0xFF4040, app.GraphCursorColor, app.GraphTarget, &GraphColorTarget::SetCursorColor);
    } else if (key == QLatin1String("LIMITDAYS")) {
        f.ReadWhole<std::int32_t>(1, 0, app.LimitDays);
    } else if (key == QLatin1String("CALIB. RANGE")) {
        for (int gas = 0; gas < 2; ++gas) {
            if (const std::optional<std::int32_t> v = f.WholeAt<std::int32_t>(1 + gas, 0))
                app.CalibRange[gas] = static_cast<float>(*v);
        }
    } else if (key == QLatin1String("GAS INST")) {
        ApplyGasInst(f, app);
    } else if (key == QLatin1String("CHGGAS")) {
        ApplyChgGas(f, app.ChgGasTable);
    } else if (key == QLatin1String("CHGGAS01")) {
        ApplyChgGas(f, app.ChgGas01Table);
    } else if (key == QLatin1String("DATA SELECT")) {
        for (int i = 0; i < 3; ++i) {
            if (!f.Has(1 + i))
                continue;
            bool ticked = false;
            f.ReadBool(1 + i, ticked);
            app.ChkLog[i] = ticked ? 1 : 0;
            if (app.WindowTarget)
                app.WindowTarget->SetChkLog(i, app.ChkLog[i]);
        }
    } else if (key == QLatin1String("SIZE VALUES")) {
        ReadMirrored(f, 1, 1, app.WindowState, app.WindowTarget, &WindowSettingsTarget::SetWindowState);
        ReadMirrored(f, 2, 7680, app.WindowWidth, app.WindowTarget, &WindowSettingsTarget::SetWindowWidth);
        ReadMirrored(f, 3, 5760, app.WindowHeight, app.WindowTarget, &WindowSettingsTarget::SetWindowHeight);
    } else if (key == QLatin1String("PRT WIDTH")) {
        f.ReadFloat(1, 1, app.PrtWidth[0]);
        f.ReadFloat(2, 1, app.PrtWidth[1]);
    } else if (key == QLatin1String("PELKAR")) {
        // Only a password that decodes completely replaces the current one.
        if (f.Has(1))
            app.Password = DecodeSettingText(DecodeSettingText(f.Text(1)));
    } else if (key == QLatin1String("CALUNITONWAIT")) {
        f.ReadWhole<std::int16_t>(1, 120, app.CalUnitOnWait);
    } else if (key == QLatin1String("CALSPANONWAIT")) {
        f.ReadWhole<std::int16_t>(1, 120, app.CalSpanOnWait);
    } else if (key == QLatin1String("CALSPANOFFWAIT")) {
        f.ReadWhole<std::int16_t>(1, 30, app.CalSpanOffWait);
    } else if (key == QLatin1String("COMPLETELY VIEW")) {
        f.ReadBool(1, app.CompletelyView);
    } else if (key == QLatin1String("TREND SEARCH")) {
        f.ReadWhole<std::int16_t>(1, 0, app.TrendSearchBefore);
        f.ReadWhole<std::int16_t>(2, 0, app.TrendSearchAfter);
    }
}

} // namespace

std::int16_t HeldTimeout(std::int16_t seconds)
{
    if (seconds == 0)
        return 0;
    return static_cast<std::int16_t>(std::clamp<int>(seconds, 1, kMaxTimeoutSeconds));
}

std::int16_t HeldRetry(std::int16_t count)
{
    return count < 0 ? 3 : count;
}

namespace {

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            lines << current;
            current.clear();
            if (ch == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            current += ch;
        }
    }
    if (!current.isEmpty())
        lines << current;
    return lines;
}

} // namespace

void ReadSettings()
{
    const QString path = SettingsFilePath();
    App().FirstRun = !QFileInfo::exists(path);
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    ReadSettingsText(file.readAll());
}

void ReadSettingsText(const QByteArray& bytes)
{
    clsToken token;
    token.AddComments(QStringLiteral(";"));
    token.AddDelimiters(QStringLiteral("\t"));
    token.AddStrings(QStringLiteral("'"));

    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    AppState& app = App();
    try {
        for (const QString& line : SplitLines(text)) {
            token.SetSource(line);
            if (token.TokenCount() < 2)
                continue;
            ApplyLine(token.Tokens(0).toUpper(), Fields(token), app);
        }
    } catch (const PelkarError&) {
        // An error ends the reading; what was read before it stays.
    }
}

// ----------------------------------------------------------------- writing

namespace {

QString Bool(bool v)
{
    return v ? QStringLiteral("True") : QStringLiteral("False");
}

QString BoolUpper(bool v)
{
    return v ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

QString Quoted(const QString& s)
{
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString FontSize(float size)
{
    QString s = QString::number(static_cast<double>(size), 'f', 4);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

QString GasFields(const GasEntry& e)
{
    const QStringList parts{Quoted(e.Name),         BoolUpper(e.Enabled),   Bool(e.Locked),
                            QString::number(e.Points), Quoted(e.Unit),     FloatText(e.Warning),
                            FloatText(e.Alarm),     FloatText(e.Stel),      FloatText(e.Twa),
                            FloatText(e.Desit),     FloatText(e.FullScale), FloatText(e.AutoCal)};
    return parts.join(QLatin1Char('\t'));
}

QString Line(const QString& key, const QStringList& values)
{
    return key + QLatin1Char('\t') + values.join(QLatin1Char('\t'));
}

} // namespace

void WriteSettings()
{
    const QString path = SettingsFilePath();
    QString error;
    if (!SaveWholeFile(path, SettingsText(), &error))
        throw FileWriteError(GetResString(5957, path, SystemErrorText(error)));
}

QByteArray SettingsText()
{
    AppState& app = App();
    if (!app.DisplayFont)
        app.DisplayFont = FontSetting();
    const FontSetting& font = *app.DisplayFont;
    const WindowSettingsTarget* window = app.WindowTarget;
    const GraphColorTarget* graph = app.GraphTarget;
    const auto n = [](auto v) { return QString::number(v); };
    const std::int32_t nextCount =
        app.ExecuteCount < std::numeric_limits<std::int32_t>::max() ? app.ExecuteCount + 1 : app.ExecuteCount;

    QStringList l;
    l << ";"
      << ";            Pelkar Data logger program"
      << ";      Last update = " + GeneralDate(Now())
      << ";         Delimiter is tab,comma(,) character"
      << ";           This file is changed set menu"
      << ";"
      << ";"
      << "";
    l << Line("Execute Count", {n(nextCount)});
    l << Line("Serial Log File", {app.SerialLogOn ? "ON" : "OFF"});
    l << Line("Factory Record Suffix", {app.FactoryRecordSuffix});
    l << Line("IrCOMM Num", {n(app.CommPort)});
    l << Line("COMM Settings", {app.CommSettings});
    const std::int16_t timeout = HeldTimeout(app.Timeout);
    const std::int16_t retry = HeldRetry(app.Retry);
    l << Line("Timeout", {n(timeout == 0 ? 3 : timeout)});
    l << Line("Retry", {n(retry == 0 ? 3 : retry)});
    l << "" << ";" << "; Formats = Auto calibration, Autoload enable, Auto remove data enable" << ";";
    l << Line("Auto Load Mode", {Bool(app.AutoCalibration), Bool(app.AutoLoad), Bool(app.AutoRemoveData)});
    l << "" << ";" << "; Formats = Name , Size , Bold , Italic , Underline (Font setting)" << ";";
    l << Line("Font", {Quoted(font.Name), FontSize(font.Size), Bool(font.Bold), Bool(font.Italic),
                       Bool(font.Underline)});
    l << "" << ";" << "; Formats = Scale , Back , Cursor (RGB) (Color datas)" << ";";
    l << Line("Graph Color", {n(graph ? graph->ScaleColor() : app.GraphScaleColor),
                              n(graph ? graph->BackColor() : app.GraphBackColor),
                              n(graph ? graph->CursorColor() : app.GraphCursorColor)});
    l << "" << ";" << "; Formats = Gas1...Gas4 (Calibration Range ... Serial Value Format)" << ";";
    l << Line("Calib. Range", {FloatText(app.CalibRange[0]), FloatText(app.CalibRange[1])});
    l << "" << ";" << "; Gas Instrument Information." << ";" << "; Gas Instrument Information."
      << "; Format = No , Name , Enabled , Locked , Points , Unit , Warning , Alarm ,STEL , TWA, Desit , "
         "FullSacle , AutoCal , Fact AutoCal. , GraphColor"
      << ";";
    for (int gas = 0; gas < 2; ++gas) {
        const GasSetting& g = app.CurrentGas[gas];
        l << Line("Gas Inst", {n(gas + 1), Quoted(g.Name), BoolUpper(g.Enabled), Bool(app.GasLocked[gas]),
                               n(g.Point), Quoted(g.Unit), FloatText(g.Warning), FloatText(g.Alarm),
                               FloatText(g.Stel), FloatText(g.Twa), FloatText(g.Desit), FloatText(g.FullScale),
                               FloatText(g.AutoCalib), FloatText(app.FactAutoCal[gas]),
                               n(app.GraphColor[gas])});
    }
    l << "" << ";" << ";Changed Gas Lists"
      << "; Format = GasNo , No , Name , Enabled , Locked , Points , Unit , Warning , Alarm ,STEL , TWA, "
         "Desit , FullSacle , AutoCal"
      << ";";
    const auto table = [&](const QString& key, const GasTable& t) {
        for (int gas = 0; gas < 2; ++gas) {
            l << "; GasNo " + n(gas + 1);
            for (int entry = 0; entry < 8; ++entry)
                l << Line(key, {n(gas + 1), n(entry + 1), GasFields(t[gas][entry])});
        }
    };
    table("ChgGas", app.ChgGasTable);
    table("ChgGas01", app.ChgGas01Table);
    l << ";" << "; Calibration Timer 1 : Cal.Unit On After Zero Calib, Bitween wait time."
      << Line("CalUnitOnWait", {n(app.CalUnitOnWait)})
      << "; Calibration Timer 2 : Span Gas valve On To Span Calib, Bitween wait time."
      << Line("CalSpanOnWait", {n(app.CalSpanOnWait)})
      << "; Calibration Timer 3 : Span valve Off After Cal.Unit Off, Bitween wait time."
      << Line("CalSpanOffWait", {n(app.CalSpanOffWait)});
    l << "" << "; " << "; Format = SerialNo,StationID,UserID";
    QStringList boxes;
    for (int i = 0; i < 3; ++i)
        boxes << Bool((window ? window->ChkLog(i) : app.ChkLog[i]) == 1);
    l << Line("Data Select", boxes);
    l << "" << ";" << "; Formats = Form status , Form width , Form height (Twips value)" << ";";
    l << Line("Size Values", {n(window ? window->WindowState() : app.WindowState),
                              n(window ? window->WindowWidth() : app.WindowWidth),
                              n(window ? window->WindowHeight() : app.WindowHeight)});
    l << "" << ";" << "; Formats = Printing Data Line Width, Printing Scale Line Width" << ";";
    l << Line("Prt Width", {FloatText(app.PrtWidth[0]), FloatText(app.PrtWidth[1])});
    l << "" << ";" << "; Format = True or False" << ";";
    l << Line("Completely View", {Bool(app.CompletelyView)});
    l << "" << ";" << "; ; Format = Before Event , After Event" << ";";
    l << Line("Trend Search", {n(app.TrendSearchBefore), n(app.TrendSearchAfter)});
    l << "" << ";";
    l << Line("Pelkar", {EncodeSettingText(EncodeSettingText(app.Password))});

    QByteArray bytes;
    for (const QString& line : l)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}
