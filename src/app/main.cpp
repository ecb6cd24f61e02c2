#include "common/qt_translations.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmOpen.h"
#include "mainwindow/startup_flags.h"
#include "mainwindow/widget_prompt.h"

#include <QApplication>
#include <QTimer>
#include <memory>

namespace {

// For tests and screenshots only: PELKAR_SCREENSHOT=<file.png> saves a
// picture of the main window once it is up and ends the program.
void ScheduleScreenshot(frmMain* window)
{
    const QString path = qEnvironmentVariable("PELKAR_SCREENSHOT");
    if (path.isEmpty())
        return;
    QTimer::singleShot(1500, window, [window, path] {
        window->grab().save(path);
        QApplication::exit(0);
    });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelkar"));
    InstallQtTranslations();

    WidgetPrompt prompt;
    SetPrompt(&prompt);

    int result = 0;
    {
        auto splash = std::make_unique<frmOpen>(QApplication::arguments());
        if (!splash->Form_Load()) {
            SetPrompt(nullptr);
            return 0;
        }
        std::unique_ptr<frmMain> window(splash->Form_Activate());
        splash.reset();
        if (window) {
            ScheduleScreenshot(window.get());
            result = QApplication::exec();
        }
    }
    SetPrompt(nullptr);
    ReleaseInstanceLock();
    return result;
}
