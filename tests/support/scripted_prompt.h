#pragma once
#include "common/prompt.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// A prompt seam for tests: answers boxes and dialogs from a queue, records
// what was shown, and fails the running test on a box nobody expected.
// Installs itself on construction and restores the silent default after.
class ScriptedPrompt final : public PromptSeam {
public:
    ScriptedPrompt();
    ~ScriptedPrompt() override;

    // Queues the answer to the next message box.
    void ExpectBox(MsgResult answer);
    // Queues the next file dialog's answer (empty = cancelled) and the
    // filter chosen in it (1 = the first).
    void ExpectFile(const QString& path, int filter = 1);
    // Queues what the next modal window does: run gets the window (shown,
    // not modal) and gives the window's result.
    void ExpectWindow(std::function<int(QWidget*)> run);
    void ExpectFont(bool accept, const QFont& font = QFont());
    void ExpectColor(bool accept, const QColor& color = QColor());

    // Every box shown, in order.
    QList<MsgRequest> boxes;
    QList<FileRequest> fileDialogs;
    // The object names of the modal windows run, in order.
    QStringList windows;
    // True when every queued answer has been used.
    bool AllUsed() const;

    MsgResult MessageBox(const MsgRequest& request) override;
    QString GetOpenFileName(const FileRequest& request) override;
    QString GetSaveFileName(const FileRequest& request) override;
    bool ChooseFont(QFont& font) override;
    bool ChooseColor(QColor& color) override;
    int RunWindow(QWidget* window) override;

private:
    // Records a file dialog and answers it from the queue.
    QString FileAnswer(const FileRequest& request, const char* kind);

    QList<MsgResult> m_boxAnswers;
    QList<std::pair<QString, int>> m_fileAnswers;
    QList<std::function<int(QWidget*)>> m_windowAnswers;
    QList<std::pair<bool, QFont>> m_fontAnswers;
    QList<std::pair<bool, QColor>> m_colorAnswers;
};
