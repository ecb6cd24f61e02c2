#include "common/system_error.h"

#include "common/clock.h"
#include "common/resstrings.h"
#include "common/serial_log.h"

#include <QtGlobal>

#include <cerrno>

namespace {

// Error numbers and the string-table words for them.
struct KnownError {
    int code;
    int id;
};

constexpr KnownError kKnown[] = {
    {ENODEV, 5940}, {ENXIO, 5940},  {ENOENT, 20200}, {EBUSY, 20201}, {ETXTBSY, 20201},
    {EACCES, 20202}, {EPERM, 20202}, {EEXIST, 20203}, {ENOTTY, 20204}, {ENOSPC, 20205},
    {EDQUOT, 20205}, {EROFS, 20206}, {EIO, 20207},
};

} // namespace

QString SystemErrorText(const QString& systemText)
{
    if (systemText.isEmpty())
        return QString();
    AppendSerialLogLine(SerialLogPath(), Now(), QStringLiteral("System error: ") + systemText);
    return SystemErrorWords(systemText);
}

QString SystemErrorWords(const QString& systemText)
{
    if (systemText.isEmpty())
        return QString();
    // Qt gives the system's text for an error number unchanged.
    for (const KnownError& known : kKnown)
        if (systemText.compare(qt_error_string(known.code), Qt::CaseInsensitive) == 0)
            return GetResString(known.id);
    return GetResString(20208);
}
