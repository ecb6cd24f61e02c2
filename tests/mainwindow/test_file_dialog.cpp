// The file dialog as a user meets it: in the list of a folder's files each
// file's name, size, type and date read whole, in the language and with the
// date and size formats of the system's locale (this test runs once with an
// English and once with a Japanese locale, see tests_file_dialog.cmake).
//
// PELKAR_SHOTS=<folder> also saves a picture of the dialog.
#include "common/qt_translations.h"
#include "common/resstrings.h"
#include "mainwindow/widget_prompt.h"
#include "temp_home.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

void MakeFile(const QString& path, qint64 size)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(size));
}

// What cuts a detail of a file in the dialog's list: a column narrower than
// its heading or its texts in view, or beyond the list's width.
QStringList CutDetails(QTreeView* view)
{
    QStringList faults;
    QHeaderView* header = view->header();
    const int room = view->viewport()->width();
    for (int c = 0; c < header->count(); ++c) {
        if (header->isSectionHidden(c))
            continue;
        const QString caption = view->model()->headerData(c, Qt::Horizontal).toString();
        const int need = std::max(header->sectionSizeHint(c), static_cast<QAbstractItemView*>(view)->sizeHintForColumn(c));
        const int left = header->sectionViewportPosition(c);
        const int width = header->sectionSize(c);
        if (width < need)
            faults << QStringLiteral("\"%1\" is %2 px, its texts need %3").arg(caption).arg(width).arg(need);
        if (left + width > room)
            faults << QStringLiteral("\"%1\" ends at %2 px, beyond the visible %3").arg(caption).arg(left + width).arg(room);
    }
    return faults;
}

// Opens the save dialog for request and, once the folder is read and shown
// (rows: its entries the filter shows), gives what cuts a detail; cancels.
QStringList FaultsOfTheDialog(const FileRequest& request, int rows, const QString& shot)
{
    QStringList faults;
    bool checked = false;
    QTimer poll;
    int ticks = 0;
    int loadedAt = -1;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        ++ticks;
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        const bool loaded = view && view->model()->rowCount(view->rootIndex()) >= rows;
        if (loaded && loadedAt < 0)
            loadedAt = ticks;
        // A few turns of the event loop after the folder is read, or give up.
        if ((loadedAt < 0 || ticks < loadedAt + 5) && ticks < 400)
            return;
        poll.stop();
        checked = loaded && view->isVisible();
        if (checked)
            faults << CutDetails(view);
        const QString shots = qEnvironmentVariable("PELKAR_SHOTS");
        if (!shots.isEmpty())
            dialog->grab().save(shots + QLatin1Char('/') + shot + QStringLiteral(".png"));
        dialog->reject();
    });
    poll.start(20);
    WidgetPrompt prompt;
    EXPECT_TRUE(prompt.GetSaveFileName(request).isEmpty());
    if (!checked)
        faults << QStringLiteral("the folder's files were not listed with their details");
    return faults;
}

TEST(FileDialog, TheDetailsOfEachFileReadWhole)
{
    // The dialog keeps its state in the user's settings: a test's own.
    QStandardPaths::setTestModeEnabled(true);
    SetResLanguage(ResLanguage::System);
    InstallQtTranslations();
    const bool japanese = QLocale::system().language() == QLocale::Japanese;
    EXPECT_EQ(CurrentResLanguage(), japanese ? ResLanguage::Japanese : ResLanguage::English);

    // The program folder as an export or a report to a file finds it.
    TempHome home;
    ASSERT_TRUE(QDir().mkpath(home.file("ErrorLogs")));
    const struct Case {
        const char* name;
        int filter;
        const char* file; // of 17.5 MiB
    } cases[] = {{"export", 5701, "Export.csv"}, {"picture", 5712, "Graph.bmp"}, {"report", 5848, "Report.pdf"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeFile(home.file(c.file), 17 * 1024 * 1024 + 512 * 1024);
        FileRequest request;
        request.filter = GetResString(c.filter);
        request.initialDir = home.path();
        request.fileName = QString::fromLatin1(c.file);
        const QStringList faults = FaultsOfTheDialog(
            request, 2, QStringLiteral("file_dialog_%1_%2").arg(QLatin1String(c.name), japanese ? "JP" : "EN"));
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    }
    SetResLanguage(ResLanguage::English);
    InstallQtTranslations();
}

} // namespace
