#pragma once
#include <QColor>
#include <QFont>
#include <QString>

// The one seam through which every message box and common dialog passes.
// The program installs a widget-based implementation at start-up; tests
// install a scripted one that answers without a modal loop and fails on a
// box that no test expected.

enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgResult { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MsgRequest {
    QString text;
    QString title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    int defaultButton = 1; // 1 = first button, 2 = second, 3 = third
};

struct FileRequest {
    QString title;
    QString filter;      // "Text (*.txt)|*.txt|All (*.*)|*.*" or Qt's ";;" form
    QString initialDir;
    QString fileName;    // suggested name
    QString defaultExt;
    // Where a dialog reports which filter the user chose (1 = the first);
    // left alone when null.
    int* chosenFilter = nullptr;
};

struct FontRequest {
    QFont font;
};

class QWidget;

class PromptSeam {
public:
    virtual ~PromptSeam() = default;
    virtual MsgResult MessageBox(const MsgRequest& request) = 0;
    // An empty result means the user cancelled.
    virtual QString GetOpenFileName(const FileRequest& request) = 0;
    virtual QString GetSaveFileName(const FileRequest& request) = 0;
    // False when the user cancelled; otherwise the value is replaced.
    virtual bool ChooseFont(QFont& font) = 0;
    virtual bool ChooseColor(QColor& color) = 0;
    // Runs a modal window (a QDialog) until it closes and gives its result
    // (1 accepted, 0 rejected). The silent default shows nothing and gives 0.
    virtual int RunWindow(QWidget* window);
};

// The installed seam. Without one, every box answers Cancel and every dialog
// is cancelled (and a warning is logged), so nothing ever blocks.
PromptSeam& Prompt();
// Installs a seam (not owned); nullptr restores the silent default.
void SetPrompt(PromptSeam* seam);

// Shorthand for the common case.
MsgResult MsgBox(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                 MsgIcon icon = MsgIcon::None, const QString& title = QString(),
                 int defaultButton = 1);
