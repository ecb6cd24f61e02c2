#include "scripted_prompt.h"

#include <QWidget>
#include <gtest/gtest.h>

ScriptedPrompt::ScriptedPrompt() { SetPrompt(this); }
ScriptedPrompt::~ScriptedPrompt() { SetPrompt(nullptr); }

void ScriptedPrompt::ExpectBox(MsgResult answer) { m_boxAnswers.append(answer); }
void ScriptedPrompt::ExpectFile(const QString& path, int filter) { m_fileAnswers.append({path, filter}); }
void ScriptedPrompt::ExpectWindow(std::function<int(QWidget*)> run) { m_windowAnswers.append(std::move(run)); }
void ScriptedPrompt::ExpectFont(bool accept, const QFont& font) { m_fontAnswers.append({accept, font}); }
void ScriptedPrompt::ExpectColor(bool accept, const QColor& color) { m_colorAnswers.append({accept, color}); }

bool ScriptedPrompt::AllUsed() const
{
    return m_boxAnswers.isEmpty() && m_fileAnswers.isEmpty() && m_fontAnswers.isEmpty()
        && m_colorAnswers.isEmpty() && m_windowAnswers.isEmpty();
}

MsgResult ScriptedPrompt::MessageBox(const MsgRequest& request)
{
    boxes.append(request);
    if (m_boxAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected message box: title \"" << request.title.toStdString()
                      << "\" text \"" << request.text.toStdString() << "\"";
        return MsgResult::Cancel;
    }
    return m_boxAnswers.takeFirst();
}

QString ScriptedPrompt::FileAnswer(const FileRequest& request, const char* kind)
{
    fileDialogs.append(request);
    if (m_fileAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected " << kind << " dialog: " << request.title.toStdString();
        return {};
    }
    const auto [path, filter] = m_fileAnswers.takeFirst();
    if (request.chosenFilter && !path.isEmpty())
        *request.chosenFilter = filter;
    return path;
}

QString ScriptedPrompt::GetOpenFileName(const FileRequest& request) { return FileAnswer(request, "open-file"); }
QString ScriptedPrompt::GetSaveFileName(const FileRequest& request) { return FileAnswer(request, "save-file"); }

bool ScriptedPrompt::ChooseFont(QFont& font)
{
    if (m_fontAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected font dialog";
        return false;
    }
    auto [accept, f] = m_fontAnswers.takeFirst();
    if (accept)
        font = f;
    return accept;
}

bool ScriptedPrompt::ChooseColor(QColor& color)
{
    if (m_colorAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return false;
    }
    auto [accept, c] = m_colorAnswers.takeFirst();
    if (accept)
        color = c;
    return accept;
}

int ScriptedPrompt::RunWindow(QWidget* window)
{
    windows.append(window ? window->objectName() : QString());
    if (m_windowAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected modal window: " << windows.last().toStdString();
        return 0;
    }
    const auto run = m_windowAnswers.takeFirst();
    window->show();
    const int result = run(window);
    window->hide();
    return result;
}
