#include "views/view_actions.h"

#include "views/view_export.h"
#include "views/view_widgets.h"

#include "common/errors.h"
#include "common/paths.h"
#include "common/prompt.h"
#include "common/resstrings.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {
void ReportWriteFailure(const QString& path, const QString& reason)
{
    MsgBox(GetResString(5820, QDir::toNativeSeparators(path), reason), MsgButtons::Ok, MsgIcon::Critical,
           GetResString(5821));
}
}

void ExportRecord(bool graph, QString& lastExport, const SampleTextFn& text, const QImage& picture)
{
    FileRequest request;
    request.filter = GetResString(graph ? 5712 : 5701);
    request.fileName = ProposedExportName(lastExport, graph, ProgramFolder());
    request.initialDir = QFileInfo(request.fileName).absolutePath();
    int filter = 1;
    request.chosenFilter = &filter;
    const QString path = Prompt().GetSaveFileName(request);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)
        && MsgBox(GetResString(5307), MsgButtons::YesNo, MsgIcon::Question, GetResString(5308)) != MsgResult::Yes)
        return;
    QString error;
    if (graph) {
        if (!WriteBitmapFile(path, picture, &error)) {
            ReportWriteFailure(path, error);
            return;
        }
    } else {
        QString body;
        try {
            body = text(ExportSeparator(filter));
        } catch (const PelkarError& e) {
            MsgBox(GetResString(5822, e.Message()), MsgButtons::Ok, MsgIcon::Critical, GetResString(5821));
            return;
        }
        if (!WriteTextFile(path, body + QStringLiteral("\r\n"), &error)) {
            ReportWriteFailure(path, error);
            return;
        }
    }
    lastExport = path;
}

void CopyRecord(bool graph, const SampleTextFn& text, const QImage& picture)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (graph) {
        clipboard->setImage(picture);
        return;
    }
    try {
        clipboard->setText(text(QStringLiteral("\t")));
    } catch (const PelkarError& e) {
        MsgBox(GetResString(5822, e.Message()), MsgButtons::Ok, MsgIcon::Critical, GetResString(5821));
    }
}
