// The download steps: interval trends and alarm trends into the database,
// and the archiving of the serial log after a faulty record.

#include "mainwindow/frmMain_download_logstep.h"

#include "common/paths.h"
#include "records/collections.h"

#include <QDebug>

using namespace download_step;

bool frmMain::DownloadIntervalTrend()
{
    return RunLogStep<clsIntervals>(*this, kIntervalTexts, MainIntervals(),
                                    [this](clsIntervals* c) { return uclQvport->GetInterval(c); });
}

bool frmMain::DownloadAlarmTrend()
{
    return RunLogStep<clsAlarms>(*this, kAlarmTexts, MainAlarms(),
                                 [this](clsAlarms* c) { return uclQvport->GetAlarm(c); });
}

void frmMain::ArchiveSerialLog()
{
    const SerialLogArchive archive = ArchiveSerialLogFile(ProgramFolder(), Now());
    if (!archive.error.isEmpty()) {
        // The log stays where it was; say so in it.
        qWarning() << "serial log not archived:" << archive.error;
        uclQvport->AddLog(QStringLiteral("---Serial log not archived: %1---").arg(archive.error));
    }
}
