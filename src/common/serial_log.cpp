#include "common/serial_log.h"

#include "common/paths.h"

#include <QFile>

QString SerialLogPath()
{
    return ProgramFile(QStringLiteral("SerialLog.log"));
}

bool AppendSerialLogLine(const QString& path, const QDateTime& time, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QByteArray line = time.toString(QStringLiteral("hh:mm:ss")).toUtf8();
    line.append(' ');
    line.append(text.toUtf8());
    line.append("\r\n");
    const bool ok = file.write(line) == line.size();
    file.close();
    return ok && file.error() == QFileDevice::NoError;
}
