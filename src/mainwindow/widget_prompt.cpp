#include "mainwindow/widget_prompt.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct ButtonDef {
    QMessageBox::StandardButton button;
    MsgResult result;
};

QList<ButtonDef> ButtonsOf(MsgButtons buttons)
{
    using B = QMessageBox;
    switch (buttons) {
    case MsgButtons::Ok: return {{B::Ok, MsgResult::Ok}};
    case MsgButtons::OkCancel: return {{B::Ok, MsgResult::Ok}, {B::Cancel, MsgResult::Cancel}};
    case MsgButtons::AbortRetryIgnore:
        return {{B::Abort, MsgResult::Abort}, {B::Retry, MsgResult::Retry}, {B::Ignore, MsgResult::Ignore}};
    case MsgButtons::YesNoCancel:
        return {{B::Yes, MsgResult::Yes}, {B::No, MsgResult::No}, {B::Cancel, MsgResult::Cancel}};
    case MsgButtons::YesNo: return {{B::Yes, MsgResult::Yes}, {B::No, MsgResult::No}};
    case MsgButtons::RetryCancel: return {{B::Retry, MsgResult::Retry}, {B::Cancel, MsgResult::Cancel}};
    }
    return {{B::Ok, MsgResult::Ok}};
}

QMessageBox::Icon IconOf(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The answer a box gives when it is closed without a button: Cancel where
// the box has one, otherwise its last button (Ok, No), as a message box does.
MsgResult EscapeAnswer(const QList<ButtonDef>& defs)
{
    for (const ButtonDef& d : defs)
        if (d.result == MsgResult::Cancel)
            return d.result;
    return defs.size() == 1 || defs.last().result == MsgResult::No ? defs.last().result : MsgResult::Cancel;
}

} // namespace

QWidget* WidgetPrompt::Parent() const
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_parent;
}

MsgResult WidgetPrompt::MessageBox(const MsgRequest& request)
{
    QMessageBox box(Parent());
    box.setWindowTitle(request.title.isEmpty() ? QApplication::applicationName() : request.title);
    // Texts from the string table carry CR LF line breaks.
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(text);
    box.setIcon(IconOf(request.icon));
    const QList<ButtonDef> defs = ButtonsOf(request.buttons);
    QList<QAbstractButton*> made;
    for (const ButtonDef& d : defs)
        made << box.addButton(d.button);
    const int def = std::clamp(request.defaultButton, 1, static_cast<int>(made.size())) - 1;
    box.setDefaultButton(qobject_cast<QPushButton*>(made.at(def)));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (int i = 0; i < made.size(); ++i)
        if (made.at(i) == clicked)
            return defs.at(i).result;
    return EscapeAnswer(defs);
}

QString QtFileFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts.at(i);
        const QString pattern = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!caption.contains(QLatin1Char('(')))
            caption += QStringLiteral(" (") + pattern + QLatin1Char(')');
        out << caption;
    }
    return out.join(QStringLiteral(";;"));
}

namespace {
QString StartPath(const FileRequest& request)
{
    if (request.fileName.isEmpty())
        return request.initialDir;
    if (request.initialDir.isEmpty() || QFileInfo(request.fileName).isAbsolute())
        return request.fileName;
    return QDir(request.initialDir).filePath(request.fileName);
}

QString WithDefaultExt(QString path, const QString& ext)
{
    if (!path.isEmpty() && !ext.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        QString e = ext;
        if (e.startsWith(QLatin1Char('.')))
            e.remove(0, 1);
        path += QLatin1Char('.') + e;
    }
    return path;
}
} // namespace

QString WidgetPrompt::GetOpenFileName(const FileRequest& request)
{
    return QFileDialog::getOpenFileName(Parent(), request.title, StartPath(request),
                                        QtFileFilter(request.filter));
}

QString WidgetPrompt::GetSaveFileName(const FileRequest& request)
{
    // The program asks its own overwrite question where one is wanted.
    const QString filters = QtFileFilter(request.filter);
    QString chosen;
    const QString path = QFileDialog::getSaveFileName(Parent(), request.title, StartPath(request), filters,
                                                      &chosen, QFileDialog::DontConfirmOverwrite);
    if (request.chosenFilter && !path.isEmpty())
        *request.chosenFilter = std::max<int>(1, filters.split(QStringLiteral(";;")).indexOf(chosen) + 1);
    return WithDefaultExt(path, request.defaultExt);
}

bool WidgetPrompt::ChooseFont(QFont& font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, Parent());
    if (ok)
        font = chosen;
    return ok;
}

bool WidgetPrompt::ChooseColor(QColor& color)
{
    const QColor chosen = QColorDialog::getColor(color, Parent());
    if (!chosen.isValid())
        return false;
    color = chosen;
    return true;
}

int WidgetPrompt::RunWindow(QWidget* window)
{
    auto* dialog = qobject_cast<QDialog*>(window);
    return dialog ? dialog->exec() : 0;
}
