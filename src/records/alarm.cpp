#include "records/alarm.h"

#include "records/head_fields.h"
#include "records/record_common.h"
#include "records/record_text.h"
#include "records/trend_lines.h"

#include "common/dates.h"
#include "common/paths.h"

using namespace records_text;

clsAlarm::clsAlarm()
{
    m_s.dates = DateZero();
    for (AlarmGasInfo& g : m_s.gas) {
        g.MaxDate = DateZero();
        g.MinDate = DateZero();
    }
    for (AlarmPoint& p : m_s.points)
        p.DateTime = DateZero();
    ClearDatas();
}

void clsAlarm::ClearDatas()
{
    m_s.key.clear();
    m_s.seqNo = 0;
    m_s.dataCount = 0;
    m_s.dbPath = LogDatabasePath();
    m_s.nextIndex = 0;
    m_s.lastRecordNo = -1;
    m_s.pointStored = false;
    m_s.duplicate = false;
    m_s.error = false;
    m_s.awaitingHeader = false;
    m_s.linesStored = false;
    m_s.names.clear();
    m_s.userID = m_s.stationID = m_s.serialNo = QStringLiteral("*");
    m_s.folderID.clear();
    m_s.interval = 0;
    m_s.spare = 0;
    for (AlarmGasInfo& g : m_s.gas) {
        g.Name.clear();
        g.Full = g.Desit = -101.0f;
        g.Point = -101;
        g.Warn = g.Alarm = -101.0f;
        g.Max = g.Min = g.Avr = -101.0f;
    }
    for (AlarmPoint& p : m_s.points) {
        p.RowSeqNo = 0;
        p.Value[0] = p.Value[1] = -101.0f;
    }
}

QDateTime clsAlarm::DateTimes(int index) const
{
    if (index < 0 || index >= kSamples)
        return DateZero();
    return m_s.points[static_cast<size_t>(index)].DateTime;
}

void clsAlarm::SetDateTimes(int index, const QDateTime& value)
{
    if (index >= 0 && index < kSamples)
        m_s.points[static_cast<size_t>(index)].DateTime = value;
}

float clsAlarm::Value(int gas, int index) const
{
    if (gas < 0 || gas > 2 || index < 0 || index >= kSamples)
        return 0.0f;
    return m_s.points[static_cast<size_t>(index)].Value[static_cast<size_t>(gas)];
}

void clsAlarm::SetValue(int gas, int index, float value)
{
    if (gas < 0 || gas > 2 || index < 0 || index >= kSamples)
        return;
    m_s.points[static_cast<size_t>(index)].Value[static_cast<size_t>(gas)] = value;
}

qint64 clsAlarm::RowSeqNo(int index) const
{
    if (index < 0 || index >= kSamples)
        return 0;
    return m_s.points[static_cast<size_t>(index)].RowSeqNo;
}

void clsAlarm::SetDataCount(int v)
{
    m_s.dataCount = std::clamp(v, 0, kSamples);
}

QVariant clsAlarm::GasBaseInfo(int index) const
{
    return records_head::BaseInfoField(m_s, index);
}

void clsAlarm::SetGasBaseInfo(int index, const QVariant& value)
{
    records_head::SetBaseInfoField(m_s, index, value);
}

QVariant clsAlarm::GasListInfo(int gas, int index) const
{
    if (gas < 0 || gas > 1)
        return QVariant();
    return records_head::GasListField(m_s.gas[static_cast<size_t>(gas)], index);
}

void clsAlarm::SetGasListInfo(int gas, int index, const QVariant& value)
{
    if (gas < 0 || gas > 1)
        return;
    records_head::SetGasListField(m_s.gas[static_cast<size_t>(gas)], index, value);
}

// ---- record lines --------------------------------------------------------

bool clsAlarm::SetDataBB(const QString& line, bool checkOnly)
{
    if (!IsNumeric(Mid(line, 18, 4)))
        return false;
    if (!checkOnly)
        m_s.serialNo = NzStar(Mid(line, 5, 12));
    return true;
}

bool clsAlarm::SetDataBC(const QString& line, bool checkOnly)
{
    return records_lines::ParseGasList(line, checkOnly, m_s.gas, [this](int g, AlarmGasInfo& info) {
        info.Warn = m_instrument ? m_instrument->Warning(g) : -101.0f;
        info.Alarm = m_instrument ? m_instrument->Alarm(g) : -101.0f;
    });
}

void clsAlarm::setSampleTimes()
{
    for (int i = 0; i < kSamples; ++i)
        m_s.points[static_cast<size_t>(i)].DateTime =
            m_s.dates.addSecs(static_cast<qint64>(i - kAlarmSample) * m_s.interval);
}

bool clsAlarm::SetDataBD(const QString& line, bool checkOnly)
{
    records_lines::ParseHeader(m_s, line, checkOnly, QLatin1String("al"),
                               [this] { return CheckDuplicate(); });
    setSampleTimes();
    return true;
}

bool clsAlarm::SetDataZ0(const QString& line, bool checkOnly)
{
    Q_UNUSED(checkOnly);
    bool result = true;
    std::array<int, 5> f{};
    for (int k = 0; k < 5; ++k) {
        const auto v = ToWhole(Mid(line, 5 + 5 * k, 5), -32768, 32767);
        if (v)
            f[static_cast<size_t>(k)] = static_cast<int>(*v);
        else
            result = false; // not a number, or beyond 16 bits: counts as 0
    }
    // Once point lines were stored, the window line (the same line again, in
    // a block taken again) does not move the next sample back over them.
    if (!m_s.pointStored)
        m_s.nextIndex = kAlarmSample - (f[2] - f[4]);
    return result;
}

bool clsAlarm::SetDataB0(const QString& line, bool checkOnly)
{
    const auto recordNo = ToWhole(Mid(line, 17, 4), -32768, 32767);
    if (!recordNo)
        return false;
    if (checkOnly)
        return true;
    const int r = static_cast<int>(*recordNo) - 1;
    if (m_s.lastRecordNo != 9998 && m_s.lastRecordNo >= r) {
        WriteSerialLog(QStringLiteral("<<< Duplicate data >>>") + line);
        return true;
    }
    const int i = m_s.nextIndex;
    // A sample outside the table (a bad window line, or more points than
    // the trend has) fails the line instead of writing past the table.
    if (i < 0 || i > kSamples)
        return false;
    AlarmPoint& p = m_s.points[static_cast<size_t>(i)];
    p.DateTime = m_s.dates.addSecs(static_cast<qint64>(i - kAlarmSample) * m_s.interval);
    p.Value[0] = StatusTextToCode(Mid(line, 5, 5));
    p.Value[1] = StatusTextToCode(Mid(line, 10, 5));
    m_s.lastRecordNo = r;
    m_s.nextIndex = i + 1;
    m_s.pointStored = true;
    return true;
}

bool clsAlarm::SetData96(const QString&, bool)
{
    return false;
}
