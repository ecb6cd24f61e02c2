#pragma once
// The frame that the three log download steps share (interval trends, alarm
// trends, power events): used by download_panel_steps.cpp and
// download_panel_info.cpp only.

#include "download/download_panel.h"

#include "common/appstate.h"
#include "common/clock.h"
#include "common/resstrings.h"
#include "download/download_support.h"
#include "interface/qvif_port.h"
#include "records/instrument.h"
#include "records/store.h"
#include "shared/shared_state.h"

#include <functional>

namespace download_step {

// The texts of one kind of log download (string-table ids).
struct LogStepTexts {
    int notConnected;       // status line, red
    int notConnectedSerial; // serial-log line
    int start;              // status line, green
    int startSerial;        // serial-log line
    int failed;             // status line, red
    int failHeader;         // serial-log header of the rejected lines
    int failedSerial;       // serial-log line with the elapsed time
    int noData;             // status line
    int saveBefore;         // status line before storing
    int complete;           // status line after storing
    int finishedSerial;     // serial-log line with the elapsed time
    bool failRatioWithoutAnswer; // the fail ratio also when nothing came back
};

constexpr LogStepTexts kIntervalTexts{5422, 5528, 5418, 5523, 5421, 5526, 5527, 5443, 5419, 5420, 5525, false};
constexpr LogStepTexts kAlarmTexts{5427, 5534, 5423, 5530, 5426, 5532, 5533, 5444, 5424, 5425, 5531, true};
constexpr LogStepTexts kPowerEventTexts{5427, 5588, 5457, 5583, 5460, 5586, 5587, 5461, 5458, 5459, 5585, false};

// The records of a step that did not reach the database: a red line with
// their count on the pane and its serial-log line. The step then fails, and
// the download stops there (a complete download skips the steps after it),
// which the closing red line says with its reason.
inline void ReportNotStored(DownloadPanel& w, int notStored)
{
    w.AddLogText(GetResString(5770, notStored), LogColor::Failure);
    w.State().uclQvport->AddLog(GetResString(5771, notStored));
    w.AddLogText(GetResString(5782), LogColor::Failure);
}

// One log download: the frame shared by the three steps.
template <class Collection>
inline bool RunLogStep(DownloadPanel& w, const LogStepTexts& t, Collection& records,
                       const std::function<bool(Collection*)>& request)
{
    QvifPort* port = w.State().uclQvport;
    AppState& app = App();

    if (!port->Connected()) {
        w.AddLogText(GetResString(t.notConnected), LogColor::Failure);
        port->AddLog(GetResString(t.notConnectedSerial, DateText()));
        return false;
    }

    w.AddLogText(GetResString(t.start), LogColor::Progress);
    port->AddLog(GetResString(t.startSerial, DateText()));
    app.FramesSent = 0;
    app.NaksSent = 0;
    app.ChecksumErrors = 0;
    const QDateTime started = Now();

    bool result = true;
    int notStored = 0;
    if (!request(&records)) {
        if (port->Cancel()) {
            w.AddLogText(GetResString(5462), LogColor::Failure);
            port->AddLog(GetResString(5589, DateText()));
        } else {
            // A failed request is always shown as failed: nothing was stored.
            w.AddLogText(GetResString(t.failed), LogColor::Failure);
            if (port->LineDisturbed())
                w.AddLogText(GetResString(20131), LogColor::Failure);
            port->AddLog(GetResString(t.failHeader));
            port->AddLog(records.FailLine() + QStringLiteral("\r\n"));
            port->AddLog(GetResString(t.failedSerial, DateText(), ElapsedText(started, Now())));
        }
        result = false;
    } else {
        if (records.Count() < 1) {
            w.AddLogText(GetResString(t.noData), LogColor::NoData);
        } else {
            w.AddLogText(GetResString(t.saveBefore), LogColor::Progress);
            // A record that is not in the database fails the step: what
            // follows a complete download (clearing the logger) must never
            // rely on it.
            notStored = StoreDownloadedRecords(records, &w.State().MainInstrument());
            if (notStored > 0) {
                ReportNotStored(w, notStored);
                result = false;
            } else {
                w.AddLogText(GetResString(t.complete), LogColor::Progress);
            }
        }
        port->AddLog(GetResString(t.finishedSerial, DateText(), ElapsedText(started, Now())));
    }

    if (app.DebugMode || (t.failRatioWithoutAnswer && !app.AnswerReceived))
        port->AddLog(FailRatioText(app.NaksSent, app.ChecksumErrors, app.FramesSent));
    w.State().TreeRefreshNeeded = true;
    if (notStored > 0)
        w.ArchiveSerialLog();
    return result;
}

} // namespace download_step
