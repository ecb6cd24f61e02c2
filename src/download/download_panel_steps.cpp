// The download steps: interval trends and alarm trends into the database,
// and the archiving of the serial log after a faulty record.

#include "download/download_panel_logstep.h"

#include "common/paths.h"
#include "records/collections.h"

#include <QDebug>

using namespace download_step;

bool DownloadPanel::DownloadIntervalTrend()
{
    return RunLogStep<clsIntervals>(*this, kIntervalTexts, m_state.MainIntervals(),
                                    [this](clsIntervals* c) { return m_state.uclQvport->GetInterval(c); });
}

bool DownloadPanel::DownloadAlarmTrend()
{
    return RunLogStep<clsAlarms>(*this, kAlarmTexts, m_state.MainAlarms(),
                                 [this](clsAlarms* c) { return m_state.uclQvport->GetAlarm(c); });
}

void DownloadPanel::ArchiveSerialLog()
{
    const SerialLogArchive archive = ArchiveSerialLogFile(ProgramFolder(), Now());
    if (!archive.error.isEmpty()) {
        // The log stays where it was; say so in it and in the pane.
        qWarning() << "serial log not archived:" << archive.error;
        const QString text = GetResString(5776, archive.error);
        AddLogText(text, LogColor::Failure);
        m_state.uclQvport->AddLog(text);
    }
}
