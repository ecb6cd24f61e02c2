#include "download/audit_log.h"

#include "common/dates.h"
#include "common/file_write.h"
#include "common/gasvalue.h"
#include "common/paths.h"
#include "common/resstrings.h"
#include "common/system_error.h"
#include "records/instrument.h"

#include <QFileInfo>

#include <cmath>

namespace {

const QString kSeparator = QStringLiteral(",");
const QString kLineEnd = QStringLiteral("\r\n");

// Captions that follow the display language, like the factory settings
// dialog's choices; "L-LL"/"L-H" and "OFF"/"ON" are fixed texts there too.
QString Choice(const QString& code, int idFor00, int idOther)
{
    return GetResString(code == QLatin1String("00") ? idFor00 : idOther);
}

QString OnOff(const QString& code)
{
    return code == QLatin1String("00") ? QStringLiteral("OFF") : QStringLiteral("ON");
}

QString VibrationText(const QString& code)
{
    if (code == QLatin1String("00"))
        return GetResString(8023);
    if (code == QLatin1String("01"))
        return GetResString(8024);
    if (code == QLatin1String("02"))
        return GetResString(8025);
    return QString();
}

bool AppendText(const QString& path, const QString& text, AppendMode mode, QString* error)
{
    QString failure;
    if (AppendToFile(path, text.toUtf8(), &failure, mode))
        return true;
    if (error)
        *error = SystemErrorText(failure);
    return false;
}

} // namespace

QString SettingsAuditPath(const QString& suffix)
{
    return ProgramFile(QStringLiteral("Pelkar_Setting") + suffix + QStringLiteral(".csv"));
}

QStringList SettingsAuditHeader()
{
    const QString serial = GetResString(5608);
    QStringList h{GetResString(5212), GetResString(5213), serial, QStringLiteral("(") + serial + QStringLiteral(")"),
                  GetResString(5609), GetResString(5610)};
    for (int id = 8002; id <= 8015; ++id)
        if (id != 8005)
            h << GetResString(id);
    static constexpr int kGasCaptions[] = {5635, 5639, 5640, 5641, 5642, 5643};
    for (int gas = 1; gas <= 2; ++gas)
        for (int id : kGasCaptions)
            h << GetResString(id) + QStringLiteral("(Gas%1)").arg(gas);
    return h;
}

QStringList SettingsAuditFields(const clsInstrument& inst, const QDateTime& pcTime)
{
    const qint64 offsetSeconds = std::llround(inst.SysDateOffset() * 86400.0);
    QStringList f{GeneralDate(pcTime),
                  GeneralDate(pcTime.addSecs(-offsetSeconds)),
                  inst.SerialNo(),
                  inst.DummySerial(),
                  inst.StationID(),
                  inst.UserID(),
                  inst.Model(),
                  QString::number(inst.RomNumber()),
                  inst.SUM(),
                  Choice(inst.SpecType(), 8016, 8017),
                  Choice(inst.ColdDistricts(), 8019, 8020),
                  inst.OxyAlarmType() == QLatin1String("00") ? QStringLiteral("L-LL") : QStringLiteral("L-H"),
                  Choice(inst.WarningType(), 8021, 8022),
                  Choice(inst.AlarmType(), 8021, 8022),
                  VibrationText(inst.Vibration()),
                  QString::number(inst.BackLight()),
                  OnOff(inst.AlarmPassword()),
                  OnOff(inst.WarmDisp()),
                  QString::number(inst.WarmTime())};
    for (int g = 0; g < 2; ++g) {
        if (!inst.GasEnabled(g)) {
            for (int k = 0; k < 6; ++k)
                f << QStringLiteral("-----");
            continue;
        }
        const std::int16_t points = inst.GasPoint(g);
        f << inst.GasName(g) << FormatValue5(inst.Warning(g), points) << FormatValue5(inst.Alarm(g), points)
          << FormatValue5(inst.Stel(g), points) << FormatValue5(inst.Twa(g), points)
          << FormatValue5(inst.AutoCalib(g), points);
    }
    return f;
}

bool AppendSettingsAudit(const clsInstrument& instrument, const QString& suffix, const QDateTime& pcTime,
                         QString* error)
{
    const QString path = SettingsAuditPath(suffix);
    const QString line = SettingsAuditFields(instrument, pcTime).join(kSeparator) + kLineEnd;
    if (!QFileInfo::exists(path)) {
        // A new file gets its header and the line in one write, so it is
        // never left with a header alone. Another writer may have created it
        // meanwhile: then the line is appended.
        const QString header = SettingsAuditHeader().join(kSeparator) + kLineEnd;
        if (AppendText(path, header + line, AppendMode::CreateNew, error))
            return true;
        if (!QFileInfo::exists(path))
            return false;
    }
    return AppendText(path, line, AppendMode::Append, error);
}
