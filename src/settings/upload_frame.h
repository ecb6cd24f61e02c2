#pragma once
// The upload frame: the one sequence that every command writing to the
// instrument follows (Update, Date/Time Set, model defaults, the span and
// air coefficients). A command describes its differences in an UploadStep
// and calls RunUploadFrame; the frame does the rest, in this order:
//
//   1. the Yes/No question (question icon); any answer but Yes ends here
//      and nothing is sent or logged;
//   2. the controls that start requests are locked (the download panel's
//      lock step) and the progress window is shown, not modal, with
//      "Now Uploading" / "Upload";
//   3. step.prepare, then the start lines: the serial log's
//      "---Instrument Upload Start Sequence---" and the log pane's green
//      "Pelkar  Instrument Information Upload.";
//   4. step.request, the instrument request; then step.afterRequest with
//      its result (the audit line);
//   5. the outcome: a write succeeded when the instrument answered and (by
//      step.outcome) the request returned true. Success writes the green
//      "Pelkar  Upload Complete." line to the log pane, failure the red
//      "Pelkar  Upload Fail." line. The serial log's finished or failed line
//      is the request's own (the settings upload writes one), never the
//      frame's, so that each write is logged as finished once;
//   6. step.afterOutcome (Update rebuilds the panel);
//   7. after a success, step.readBack (model defaults read the instrument
//      back); its false turns the box below into "Upload Fail.";
//   8. the progress window is unloaded, the locked controls get their states
//      back, and an information box says "Upload Complete." or "Upload
//      Fail." (on failure only when step.boxOnFailure).
//
// While ProcessState is 4 (a span adjustment) or 7, a running operation owns
// the progress window and the locks: steps 1 and 2 are skipped (unless
// step.askInEveryState) and the frame ends after step 6, without a read-back,
// without unloading the window and without a box.

#include <QString>
#include <QStringList>
#include <functional>

class DownloadPanel;

struct UploadStep {
    // The question's text and title (string-table ids and arguments).
    int questionId = 5309;     // "Update Ready?"
    int questionTitleId = 5310; // "Update"
    QStringList questionArgs;
    // Ask and show the progress window even while another operation runs.
    bool askInEveryState = false;

    // Runs after the progress window is shown, before the start lines.
    std::function<void()> prepare;
    // The instrument request; its result.
    std::function<bool()> request;
    // Runs right after the request with its result.
    std::function<void(bool result)> afterRequest;

    enum class Outcome {
        AnswerAndResult, // the instrument answered and the request returned true
        Answer,          // the instrument answered (the result is not used)
    };
    Outcome outcome = Outcome::AnswerAndResult;
    // Runs after the outcome lines with the outcome, before the closing.
    std::function<void(bool success)> afterOutcome;
    // Runs after a successful write while the frame owns the progress
    // window: reads the instrument back; false when the read-back got no
    // answer, and the box then says the upload failed.
    std::function<bool()> readBack;
    // Show the "Upload Fail." box on failure (else only the log lines say so).
    bool boxOnFailure = true;
};

enum class UploadOutcome {
    Declined, // not Yes: nothing sent
    Complete,
    Failed,
};

// Whether a running operation (ProcessState 4 or 7) owns the progress
// window and the locks.
bool OperationRunning();

UploadOutcome RunUploadFrame(DownloadPanel& download, const UploadStep& step);
