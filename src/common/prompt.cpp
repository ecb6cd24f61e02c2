#include "common/prompt.h"

#include <QDebug>

namespace {
class SilentPrompt final : public PromptSeam {
public:
    MsgResult MessageBox(const MsgRequest& r) override
    {
        qWarning() << "message box without a prompt:" << r.title << r.text;
        return MsgResult::Cancel;
    }
    QString GetOpenFileName(const FileRequest&) override { return {}; }
    QString GetSaveFileName(const FileRequest&) override { return {}; }
    bool ChooseFont(QFont&) override { return false; }
    bool ChooseColor(QColor&) override { return false; }
};

PromptSeam*& Installed()
{
    static PromptSeam* seam = nullptr;
    return seam;
}
}

int PromptSeam::RunWindow(QWidget*)
{
    qWarning() << "modal window without a prompt";
    return 0;
}

PromptSeam& Prompt()
{
    static SilentPrompt silent;
    PromptSeam* seam = Installed();
    return seam ? *seam : silent;
}

void SetPrompt(PromptSeam* seam) { Installed() = seam; }

MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title,
                 int defaultButton)
{
    MsgRequest r;
    r.text = text;
    r.title = title;
    r.buttons = buttons;
    r.icon = icon;
    r.defaultButton = defaultButton;
    return Prompt().MessageBox(r);
}
