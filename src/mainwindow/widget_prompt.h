#pragma once
#include "common/prompt.h"

class QWidget;

// The prompt seam shown on screen: Qt message boxes and the standard file,
// font and colour dialogs. main() installs one for the whole run.
class WidgetPrompt final : public PromptSeam {
public:
    // Dialogs are centred over the active window, or over parent when none.
    explicit WidgetPrompt(QWidget* parent = nullptr) : m_parent(parent) {}

    MsgResult MessageBox(const MsgRequest& request) override;
    QString GetOpenFileName(const FileRequest& request) override;
    QString GetSaveFileName(const FileRequest& request) override;
    bool ChooseFont(QFont& font) override;
    bool ChooseColor(QColor& color) override;
    // A QDialog runs modally (exec); any other window gives 0.
    int RunWindow(QWidget* window) override;

private:
    QWidget* Parent() const;
    QWidget* m_parent;
};

// "Text (*.txt)|*.txt|All (*.*)|*.*" (pairs of caption and pattern) in the
// form Qt's file dialogs take ("Text (*.txt);;All (*.*)"); a filter already
// in Qt's form is returned unchanged.
QString QtFileFilter(const QString& filter);
