#include "settings/factory_settings.h"

#include "common/numeric.h"
#include "common/resstrings.h"
#include "common/services.h"
#include "settings/identity_fields.h"

#include <cmath>

namespace {

using R = FactorySettings;

// The code field of a choice row in the record.
const QString* CodeOf(const clsInstrument& i, int row)
{
    switch (row) {
    case R::Destination: return &i.SpecType();
    case R::ColdDistricts: return &i.ColdDistricts();
    case R::OxyAlarmType: return &i.OxyAlarmType();
    case R::WarningCondition: return &i.WarningType();
    case R::AlarmCondition: return &i.AlarmType();
    case R::Vibration: return &i.Vibration();
    case R::AlarmPassword: return &i.AlarmPassword();
    case R::WarmDisp: return &i.WarmDisp();
    default: return nullptr;
    }
}

void SetCode(clsInstrument& i, int row, const QString& code)
{
    switch (row) {
    case R::Destination: i.SetSpecType(code); break;
    case R::ColdDistricts: i.SetColdDistricts(code); break;
    case R::OxyAlarmType: i.SetOxyAlarmType(code); break;
    case R::WarningCondition: i.SetWarningType(code); break;
    case R::AlarmCondition: i.SetAlarmType(code); break;
    case R::Vibration: i.SetVibration(code); break;
    case R::AlarmPassword: i.SetAlarmPassword(code); break;
    case R::WarmDisp: i.SetWarmDisp(code); break;
    default: break;
    }
}

QStringList Res(std::initializer_list<int> ids)
{
    QStringList list;
    for (int id : ids)
        list << GetResString(id);
    return list;
}

QStringList OffOn() { return {QStringLiteral("OFF"), QStringLiteral("ON")}; }

// The entry of list that a code names: an empty code is entry 0, any other
// the entry whose number is the code's value; "" when there is none.
QString EntryOfCode(const QStringList& list, const QString& code)
{
    if (code.trimmed().isEmpty())
        return list.value(0);
    double n = 0;
    if (!NumericValue(code, &n))
        return QString();
    n = std::nearbyint(n);
    if (n < 0 || n >= list.size())
        return QString();
    return list.value(static_cast<int>(n));
}

bool WholeInRange(const QString& text, int low, int high, int* out = nullptr)
{
    double v = 0;
    if (!NumericValue(text, &v))
        return false;
    v = std::nearbyint(v); // halves to even
    if (v < low || v > high)
        return false;
    if (out)
        *out = static_cast<int>(v);
    return true;
}

int NumberMax(int row) { return row == R::BackLight ? 60 : 255; }

bool AllIdChars(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 32 || !IsIdChar(c.unicode()))
            return false;
    return true;
}

} // namespace

FactorySettings::FactorySettings(const clsInstrument& instrument)
{
    CopyInstrumentSettings(m_work, instrument, false);
    m_work.ClearChangeFlags();

    m_values[ProgramNo] = QStringLiteral("%1").arg(instrument.RomNumber(), 5, 10, QLatin1Char('0'));
    m_values[Sum] = instrument.SUM();
    m_values[ManufactureNo] = m_work.DummySerial();
    m_values[BackLight] = QString::number(m_work.BackLight());
    m_values[WarmTime] = QString::number(m_work.WarmTime());
    for (int row = 1; row < RowCount; ++row)
        if (const QString* code = CodeOf(m_work, row))
            m_values[static_cast<size_t>(row)] = EntryOfCode(Choices(row), *code);
    m_filled = m_values;
}

QString FactorySettings::Caption(int row) const
{
    static constexpr int kIds[RowCount] = {0, 8003, 8004, 8005, 8006, 8007, 8008, 8009, 8010, 8011, 8012, 8013, 8014, 8015};
    if (row < 1 || row >= RowCount)
        return QString();
    return GetResString(kIds[row]);
}

FactorySettings::Kind FactorySettings::RowKind(int row) const
{
    switch (row) {
    case ManufactureNo: return Kind::Text;
    case BackLight:
    case WarmTime: return Kind::Number;
    case ProgramNo:
    case Sum: return Kind::ReadOnly;
    default: return (row > 0 && row < RowCount) ? Kind::Choice : Kind::ReadOnly;
    }
}

QString FactorySettings::Value(int row) const
{
    if (row < 1 || row >= RowCount)
        return QString();
    return m_values[static_cast<size_t>(row)];
}

QStringList FactorySettings::Choices(int row) const
{
    switch (row) {
    case Destination: return Res({8016, 8017});
    case ColdDistricts: return Res({8019, 8020});
    case OxyAlarmType: return {QStringLiteral("L-LL"), QStringLiteral("L-H")};
    case WarningCondition:
    case AlarmCondition: return Res({8021, 8022});
    case Vibration: return Res({8023, 8024, 8025});
    case AlarmPassword:
    case WarmDisp: return OffOn();
    default: return {};
    }
}

bool FactorySettings::CanEdit(int row) const
{
    if (row < 1 || row >= RowCount || RowKind(row) == Kind::ReadOnly)
        return false;
    return row != WarmTime || RowCode(WarmDisp) != QLatin1String("00");
}

bool FactorySettings::Validate(int row, const QString& entry) const
{
    if (entry.trimmed().isEmpty())
        return true;
    switch (row) {
    case ManufactureNo: return entry.size() <= kManufactureMaxLength && AllIdChars(entry);
    case BackLight:
    case WarmTime: return WholeInRange(entry, 0, NumberMax(row));
    default: return true;
    }
}

bool FactorySettings::SetValue(int row, const QString& text)
{
    if (!CanEdit(row) || !Validate(row, text))
        return false;
    m_values[static_cast<size_t>(row)] = text;
    return true;
}

QString FactorySettings::RowCode(int row) const
{
    const QString text = Value(row);
    const auto is = [&](int id) { return text == GetResString(id); };
    const auto pick = [](bool first) { return first ? QStringLiteral("00") : QStringLiteral("01"); };
    switch (row) {
    case Destination: return pick(is(8016));
    case ColdDistricts: return pick(is(8019));
    case OxyAlarmType: return pick(text.trimmed().toUpper() == QLatin1String("L-LL"));
    case WarningCondition:
    case AlarmCondition: return pick(is(8021));
    case Vibration: return is(8023) ? QStringLiteral("00") : is(8024) ? QStringLiteral("01") : QStringLiteral("02");
    case AlarmPassword:
    case WarmDisp: return pick(text.trimmed().toUpper() == QLatin1String("OFF"));
    default: return QString();
    }
}

void FactorySettings::ReadRows()
{
    const auto edited = [this](int row) {
        return m_values[static_cast<size_t>(row)] != m_filled[static_cast<size_t>(row)];
    };
    if (Value(ManufactureNo) != m_work.DummySerial())
        m_work.SetDummySerial(Value(ManufactureNo));
    // Rows in the order the settings have always been read back; the order
    // only matters to whoever reads the flags one by one.
    for (int row : {ColdDistricts, OxyAlarmType, WarningCondition, AlarmCondition, Vibration, BackLight,
                    AlarmPassword, WarmTime, WarmDisp, Destination}) {
        if (RowKind(row) == Kind::Number) {
            int v = 0;
            if (!WholeInRange(Value(row), 0, NumberMax(row), &v))
                continue; // emptied: the old value stays
            if (row == BackLight && v != m_work.BackLight())
                m_work.SetBackLight(static_cast<std::int16_t>(v));
            if (row == WarmTime && v != m_work.WarmTime())
                m_work.SetWarmTime(static_cast<std::int16_t>(v));
            continue;
        }
        if (!edited(row))
            continue;
        const QString code = RowCode(row);
        if (code != *CodeOf(m_work, row))
            SetCode(m_work, row, code);
    }
}

void FactorySettings::Accept(clsInstrument& target)
{
    ReadRows();
    CopyInstrumentSettings(target, m_work, true);
}

void CopyInstrumentSettings(clsInstrument& dst, const clsInstrument& src, bool onlyChanged)
{
    const auto copy = [onlyChanged](bool flag) { return !onlyChanged || flag; };
    if (copy(src.Change_DummySerial()))
        dst.SetDummySerial(src.DummySerial());
    if (copy(src.Change_SpecType()))
        dst.SetSpecType(src.SpecType());
    if (copy(src.Change_ColdDistricts()))
        dst.SetColdDistricts(src.ColdDistricts());
    if (copy(src.Change_OxyAlarmType()))
        dst.SetOxyAlarmType(src.OxyAlarmType());
    if (copy(src.Change_WarningType()))
        dst.SetWarningType(src.WarningType());
    if (copy(src.Change_AlarmType()))
        dst.SetAlarmType(src.AlarmType());
    if (copy(src.Change_Vibration()))
        dst.SetVibration(src.Vibration());
    if (copy(src.Change_BackLight()))
        dst.SetBackLight(src.BackLight());
    if (copy(src.Change_AlarmPassword()))
        dst.SetAlarmPassword(src.AlarmPassword());
    if (copy(src.Change_WarmDisp()))
        dst.SetWarmDisp(src.WarmDisp());
    if (copy(src.Change_WarmTime()))
        dst.SetWarmTime(src.WarmTime());
    for (int g = 0; g < 2; ++g) {
        if (copy(src.Change_GasEnable(g))) {
            dst.SetGasEnabled(g, src.GasEnabled(g));
            dst.SetGasName(g, src.GasName(g));
            dst.SetGasFullScale(g, src.GasFullScale(g));
            dst.SetGasDesit(g, src.GasDesit(g));
            dst.SetGasPoint(g, src.GasPoint(g));
            dst.SetGasUnit(g, src.GasUnit(g));
        }
        if (copy(src.Change_Warn(g)))
            dst.SetWarning(g, src.Warning(g));
        if (copy(src.Change_Alarm(g)))
            dst.SetAlarm(g, src.Alarm(g));
        if (copy(src.Change_Stel(g)))
            dst.SetStel(g, src.Stel(g));
        if (copy(src.Change_Twa(g)))
            dst.SetTwa(g, src.Twa(g));
        if (copy(src.Change_AutoCal(g)))
            dst.SetAutoCalib(g, src.AutoCalib(g));
    }
}

QString FilterManufactureText(const QString& text)
{
    return FilterIdChars(text, FactorySettings::kManufactureMaxLength);
}
