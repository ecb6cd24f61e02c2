#include "common/serial_log.h"

#include "common/file_write.h"
#include "common/paths.h"
#include "common/resstrings.h"
#include "common/system_error.h"

#include <QDir>

namespace {

std::function<void(const QString&)>& FailureReport()
{
    static std::function<void(const QString&)> report;
    return report;
}

// A failure has been told and no line was written since.
bool g_failureTold = false;

} // namespace

void SetSerialLogFailureReport(std::function<void(const QString& text)> report)
{
    FailureReport() = std::move(report);
    g_failureTold = false;
}

QString SerialLogPath()
{
    return ProgramFile(QStringLiteral("SerialLog.log"));
}

bool AppendSerialLogLine(const QString& path, const QDateTime& time, const QString& text)
{
    QByteArray line = time.toString(QStringLiteral("hh:mm:ss")).toUtf8();
    line.append(' ');
    line.append(text.toUtf8());
    line.append("\r\n");
    QString error;
    if (AppendToFile(path, line, &error)) {
        g_failureTold = false;
        return true;
    }
    if (!g_failureTold && FailureReport()) {
        g_failureTold = true;
        // The words only: the system's wording would go to this same log.
        FailureReport()(GetResString(5957, QDir::toNativeSeparators(path), SystemErrorWords(error)));
    }
    return false;
}
