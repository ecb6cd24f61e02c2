#include "mainwindow/widget_prompt.h"

#include "common/wait.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QHeaderView>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

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

// The rows of a folder that a file list's columns are fitted to, at most.
constexpr int kFittedRows = 200;
// How long a file dialog waits for its folder to be read before it opens.
constexpr int kFolderReadWaitMs = 500;

// The least width that shows every text of column c of a file list: its
// heading and the details of the folder's entries.
int DetailWidth(QTreeView& view, int c)
{
    QAbstractItemModel* model = view.model();
    const QModelIndex folder = view.rootIndex();
    int need = view.header()->sectionSizeHint(c);
    const int rows = std::min(model->rowCount(folder), kFittedRows);
    for (int r = 0; r < rows; ++r)
        need = std::max(need, view.sizeHintForIndex(model->index(r, c, folder)).width());
    return need;
}

// Qt's own file dialog sizes the columns of a file's size, type and date
// for short English texts, and its list of places for short names; other
// languages, file types and date formats need more. Each column widens to
// its heading and texts, the list of places to its names, and the dialog
// with them, within the screen. (A dialog of the system's own, or the list
// without details, is left as it is.)
void FitFileDetails(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view || !view->isVisible())
        return;
    QHeaderView* header = view->header();
    int total = 0;
    for (int c = 0; c < header->count(); ++c) {
        if (header->isSectionHidden(c))
            continue;
        if (c > 0)
            header->resizeSection(c, std::max(header->sectionSize(c), DetailWidth(*view, c)));
        total += header->sectionSize(c);
    }
    int wider = std::max(0, total - view->viewport()->width());
    auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
    auto* splitter = places ? qobject_cast<QSplitter*>(places->parentWidget()) : nullptr;
    int placesNeed = 0;
    if (splitter && places->isVisible()) {
        placesNeed = places->sizeHintForColumn(0) + 2 * places->frameWidth()
            + (places->verticalScrollBar()->isVisible() ? places->verticalScrollBar()->width() : 0);
        wider += std::max(0, placesNeed - places->width());
    }
    if (wider == 0)
        return;
    const QScreen* screen = dialog.screen();
    const int most = screen ? screen->availableGeometry().width() : dialog.width() + wider;
    dialog.resize(std::min(dialog.width() + wider, std::max(most, dialog.width())), dialog.height());
    if (placesNeed > places->width())
        splitter->setSizes({placesNeed, splitter->width() - splitter->handleWidth() - placesNeed});
}

// Fits the dialog as it opens and whenever it has read another folder.
class FileDetailsFit : public QObject {
public:
    explicit FileDetailsFit(QFileDialog& dialog) : QObject(&dialog), m_dialog(dialog)
    {
        dialog.installEventFilter(this);
        if (auto* model = dialog.findChild<QFileSystemModel*>()) {
            connect(model, &QFileSystemModel::directoryLoaded, this, [this] {
                m_folderRead = true;
                // Once the view has taken the folder's rows.
                QTimer::singleShot(0, this, [this] { FitFileDetails(m_dialog); });
            });
            // The folder is read before the dialog opens, at most a moment,
            // so that it opens at the size its files' details need.
            WaitYielding([this] { return m_folderRead; }, kFolderReadWaitMs);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_dialog && event->type() == QEvent::Show)
            FitFileDetails(m_dialog);
        return QObject::eventFilter(watched, event);
    }

private:
    QFileDialog& m_dialog;
    bool m_folderRead = false;
};

// A file dialog of the request, run modally; the chosen path (empty when
// cancelled) and, in chosenFilter, the filter it was chosen with.
QString RunFileDialog(QWidget* parent, const FileRequest& request, QFileDialog::AcceptMode mode,
                      QString* chosenFilter = nullptr)
{
    QFileDialog dialog(parent, request.title, StartPath(request), QtFileFilter(request.filter));
    dialog.setSupportedSchemes({QStringLiteral("file")});
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setFileMode(QFileDialog::AnyFile);
        // The program asks its own overwrite question where one is wanted.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    new FileDetailsFit(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

} // namespace

QString WidgetPrompt::GetOpenFileName(const FileRequest& request)
{
    return RunFileDialog(Parent(), request, QFileDialog::AcceptOpen);
}

QString WidgetPrompt::GetSaveFileName(const FileRequest& request)
{
    QString chosen;
    const QString path = RunFileDialog(Parent(), request, QFileDialog::AcceptSave, &chosen);
    if (request.chosenFilter && !path.isEmpty())
        *request.chosenFilter =
            std::max<int>(1, QtFileFilter(request.filter).split(QStringLiteral(";;")).indexOf(chosen) + 1);
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
