#include "common/system_error.h"

#include "common/clock.h"
#include "common/resstrings.h"
#include "common/serial_log.h"

#include <QtGlobal>

#include <cerrno>

namespace {

// Error numbers and the string-table words for them: the words that stand
// inside a sentence, and a sentence of their own.
struct KnownError {
    int code;
    int words;
    int sentence;
};

constexpr KnownError kKnown[] = {
    {ENODEV, 5940, 20219},  {ENXIO, 5940, 20219},   {ENOENT, 20200, 20210}, {EBUSY, 20201, 20211},
    {ETXTBSY, 20201, 20211}, {EACCES, 20202, 20212}, {EPERM, 20202, 20212},  {EEXIST, 20203, 20213},
    {ENOTTY, 20204, 20214}, {ENOSPC, 20205, 20215}, {EDQUOT, 20205, 20215}, {EROFS, 20206, 20216},
    {EIO, 20207, 20217},
};
constexpr KnownError kOther{0, 20208, 20218};

const KnownError& Known(const QString& systemText)
{
    // Qt gives the system's text for an error number unchanged.
    for (const KnownError& known : kKnown)
        if (systemText.compare(qt_error_string(known.code), Qt::CaseInsensitive) == 0)
            return known;
    return kOther;
}

void KeepSystemWording(const QString& systemText)
{
    AppendSerialLogLine(SerialLogPath(), Now(), QStringLiteral("System error: ") + systemText);
}

} // namespace

QString SystemErrorText(const QString& systemText)
{
    if (systemText.isEmpty())
        return QString();
    KeepSystemWording(systemText);
    return SystemErrorWords(systemText);
}

QString SystemErrorWords(const QString& systemText)
{
    return systemText.isEmpty() ? QString() : GetResString(Known(systemText).words);
}

QString SystemErrorSentence(const QString& systemText)
{
    if (systemText.isEmpty())
        return QString();
    KeepSystemWording(systemText);
    return GetResString(Known(systemText).sentence);
}
