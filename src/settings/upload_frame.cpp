#include "settings/upload_frame.h"

#include "common/appstate.h"
#include "common/prompt.h"
#include "common/resstrings.h"
#include "download/download_panel.h"
#include "download/download_support.h"
#include "download/frmUpload.h"
#include "interface/qvif_port.h"
#include "shared/shared_state.h"

namespace {

enum : int {
    kIdUploadComplete = 5311,
    kIdUploadTitle = 5312,
    kIdUploadFail = 5313,
    kIdUploadFailTitle = 5314,
    kIdPaneStart = 5428,
    kIdPaneComplete = 5429,
    kIdPaneFail = 5430,
    kIdLogStart = 5535,
    kIdNowUploading = 6001,
};

} // namespace

bool OperationRunning()
{
    const std::int32_t state = App().ProcessState;
    return state == 4 || state == 7;
}

UploadOutcome RunUploadFrame(DownloadPanel& download, const UploadStep& step)
{
    const bool owned = !OperationRunning();
    QvifPort* port = download.State().uclQvport;

    if (owned || step.askInEveryState) {
        const MsgResult answer = MsgBox(GetResStringV(step.questionId, step.questionArgs), MsgButtons::YesNo,
                                        MsgIcon::Question, GetResString(step.questionTitleId), 1);
        if (answer != MsgResult::Yes)
            return UploadOutcome::Declined;
    }
    frmUpload& upload = download.UploadForm();
    const bool showWindow = owned || step.askInEveryState;
    if (owned)
        download.LockCommands();
    if (showWindow) {
        upload.ShowWindow();
        upload.SetLabel(GetResString(kIdNowUploading));
        upload.SetCaption(GetResString(kIdUploadTitle));
    }

    if (step.prepare)
        step.prepare();
    port->AddLog(GetResString(kIdLogStart, DateText()));
    download.AddLogText(GetResString(kIdPaneStart), LogColor::Progress);

    const bool result = step.request ? step.request() : false;
    if (step.afterRequest)
        step.afterRequest(result);

    const bool answered = App().AnswerReceived;
    const bool success = answered && (step.outcome == UploadStep::Outcome::Answer || result);
    if (success)
        download.AddLogText(GetResString(kIdPaneComplete), LogColor::Progress);
    else
        download.AddLogText(GetResString(kIdPaneFail), LogColor::Failure);

    if (step.afterOutcome)
        step.afterOutcome(success);

    if (!owned)
        return success ? UploadOutcome::Complete : UploadOutcome::Failed;

    // A write whose read-back went unanswered is not reported complete.
    const bool complete = success && (!step.readBack || step.readBack());
    upload.Unload();
    download.RestoreCommands();
    if (complete)
        MsgBox(GetResString(kIdUploadComplete), MsgButtons::Ok, MsgIcon::Information, GetResString(kIdUploadTitle));
    else if (success || step.boxOnFailure)
        MsgBox(GetResString(kIdUploadFail), MsgButtons::Ok, MsgIcon::Information, GetResString(kIdUploadFailTitle));
    return complete ? UploadOutcome::Complete : UploadOutcome::Failed;
}
