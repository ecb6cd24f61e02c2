#include "main_window_fixture.h"
#include "mainwindow/frmOpen.h"
#include "mainwindow/startup_flags.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLockFile>
#include <QMouseEvent>
#include <QProcess>
#include <QSysInfo>
#include <QTimer>

namespace {

class SplashTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        splash.reset();
        frmOpen::SetMainWindowFactory({});
        ReleaseInstanceLock();
        MainWindowTest::TearDown();
    }
    frmOpen& MakeSplash(const QStringList& commandLine = {QStringLiteral("/opt/pelkar/pelkar")})
    {
        splash = std::make_unique<frmOpen>(commandLine);
        return *splash;
    }
    std::unique_ptr<frmOpen> splash;
};

bool AnyMainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<frmMain*>(w))
            return true;
    return false;
}

} // namespace

TEST(StartupFlags, SubstringsOfTheUpperCasedArgumentsAfterTheProgramPath)
{
    struct Case {
        QStringList commandLine;
        bool service, g2, u, debug;
    };
    const QList<Case> cases = {
        {{"/opt/pelkar/pelkar"}, false, false, false, false},
        {{"/opt/pelkar/pelkar", "-debug", "-r"}, true, false, false, true},
        {{"/opt/pelkar/pelkar", "-G2X"}, false, true, false, false},
        {{"/opt/pelkar/pelkar", "-g20"}, false, true, false, false},
        {{"/opt/pelkar/pelkar", "-Rx"}, true, false, false, false},
        {{"/opt/pelkar/pelkar", "/x-r"}, true, false, false, false},
        {{"/opt/pelkar/pelkar", "-u"}, false, false, true, false},
        {{"/opt/pelkar/pelkar", "-x", "unknown"}, false, false, false, false},
        // The program's own path is not an argument: an install folder named
        // like a flag switches nothing on.
        {{"/opt/x-r-u-g2-debug/pelkar"}, false, false, false, false},
        {{"/opt/x-r/pelkar", "-u"}, false, false, true, false},
        {{}, false, false, false, false},
    };
    for (const Case& c : cases) {
        const StartupFlags f = FlagsFromArguments(c.commandLine);
        const std::string name = c.commandLine.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(f.ServiceMode, c.service) << name;
        EXPECT_EQ(f.G2Mode, c.g2) << name;
        EXPECT_EQ(f.UMode, c.u) << name;
        EXPECT_EQ(f.DebugMode, c.debug) << name;
    }
}

TEST_F(SplashTest, SecondInstanceGetsMessage99AndNoWindow)
{
    // Another copy holds the lock (and has held it for a long time).
    QLockFile other(InstanceLockPath());
    ASSERT_TRUE(other.tryLock(0));
    frmOpen::SetMainWindowFactory([this] { return new frmMain(&fake); });

    prompt.ExpectBox(MsgResult::Ok);
    frmOpen& s = MakeSplash({QStringLiteral("pelkar"), QStringLiteral("-r")});
    EXPECT_FALSE(s.Form_Load());

    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].text, QStringLiteral("It has already started."));
    EXPECT_EQ(prompt.boxes[0].title, QStringLiteral("Pelkar  - Data Logger Management Program"));
    EXPECT_EQ(prompt.boxes[0].icon, MsgIcon::Critical);
    EXPECT_EQ(prompt.boxes[0].buttons, MsgButtons::Ok);
    EXPECT_FALSE(s.isVisible());
    EXPECT_FALSE(AnyMainWindow());
    EXPECT_FALSE(App().ServiceMode) << "flags are not read by a refused copy";
    EXPECT_TRUE(QFile::exists(InstanceLockPath())) << "the running copy keeps its lock";
}

TEST_F(SplashTest, LockOfACopyThatDiedIsTakenOver)
{
    // A lock file whose owner process no longer runs.
    QProcess p;
    p.start(QStringLiteral("true"));
    ASSERT_TRUE(p.waitForFinished());
    const qint64 deadPid = p.processId() ? p.processId() : 999999;
    QFile f(InstanceLockPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::number(deadPid) + "\npelkar\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    f.close();

    EXPECT_EQ(AcquireInstanceLock(), InstanceLock::Taken);
    EXPECT_TRUE(prompt.boxes.isEmpty());
}

TEST_F(SplashTest, FolderThatTakesNoLockFileIsNamedNotTakenForASecondCopy)
{
    // The program's folder lies below a plain file, so nothing can be made
    // in it (permissions would not stop a test run as root).
    QFile blocker(home.file(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = home.file(QStringLiteral("blocker/pelkar"));
    qputenv("PELKAR_HOME", folder.toLocal8Bit());
    frmOpen::SetMainWindowFactory([this] { return new frmMain(&fake); });

    prompt.ExpectBox(MsgResult::Ok);
    frmOpen& s = MakeSplash();
    EXPECT_FALSE(s.Form_Load());
    qputenv("PELKAR_HOME", home.path().toLocal8Bit());

    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_NE(prompt.boxes[0].text, QStringLiteral("It has already started."));
    EXPECT_TRUE(prompt.boxes[0].text.startsWith(QStringLiteral("The program folder %1 cannot be written").arg(folder)))
        << prompt.boxes[0].text.toStdString();
    EXPECT_EQ(prompt.boxes[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(s.isVisible());
    EXPECT_FALSE(AnyMainWindow());
}

TEST_F(SplashTest, CaptionNamesThePlatformAndEveryLineFits)
{
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        SetResLanguage(language);
        frmOpen& s = MakeSplash();
        ASSERT_TRUE(s.Form_Load());
        s.ShowVersionAndCompany();
        EXPECT_EQ(s.lblPCs->text(), QStringLiteral("for Linux"));
        for (QLabel* l : {s.lblTitle, s.lblPCs, s.lblVersion, s.lblCompany, s.lblCopyright}) {
            SCOPED_TRACE(l->objectName().toStdString());
            EXPECT_GE(l->width(), l->sizeHint().width());
            EXPECT_GE(l->height(), l->sizeHint().height());
            // Inside the frame, clear of its edges.
            EXPECT_GT(l->x(), 0);
            EXPECT_LE(l->x() + l->width(), s.fraOpen->width());
            EXPECT_LE(l->y() + l->height(), s.fraOpen->height());
        }
        splash.reset();
        ReleaseInstanceLock();
    }
}

TEST_F(SplashTest, FirstCopyLoadsShowsTheSplashAndReadsTheFlags)
{
    frmOpen& s = MakeSplash({QStringLiteral("/opt/x-g2/pelkar"), QStringLiteral("-debug"), QStringLiteral("-R")});
    ASSERT_TRUE(s.Form_Load());
    EXPECT_TRUE(s.isVisible());
    EXPECT_TRUE(App().ServiceMode);
    EXPECT_TRUE(App().DebugMode);
    EXPECT_FALSE(App().G2Mode);
    EXPECT_FALSE(App().UMode);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    splash.reset(); // unloading restores the pointer
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(SplashTest, PartNumberAndCompanyByLanguageAndMode)
{
    struct Case {
        ResLanguage language;
        bool service;
        const char* version;
        const char* company;
    };
    const Case cases[] = {
        {ResLanguage::English, false, "P.No.30502", "Halvane Instruments, Inc."},
        {ResLanguage::Japanese, false, "P.No.30501", "Halvane CO.,LTD."},
        {ResLanguage::English, true, "P.No.30503", "Halvane Instruments, Inc."},
        {ResLanguage::Japanese, true, "P.No.30503", "Halvane CO.,LTD."},
    };
    frmOpen& s = MakeSplash();
    for (const Case& c : cases) {
        SetResLanguage(c.language);
        App().ServiceMode = c.service;
        s.ShowVersionAndCompany();
        EXPECT_EQ(s.lblVersion->text(), QLatin1String(c.version));
        EXPECT_EQ(s.lblCompany->text(), QLatin1String(c.company));
    }
}

TEST_F(SplashTest, TickCounterStopsAtFive)
{
    frmOpen& s = MakeSplash();
    for (int i = 0; i < 40000; ++i)
        s.tmrTimer_Timer();
    EXPECT_EQ(s.SplashTicks, 5);
}

TEST_F(SplashTest, DoubleClickOnTheFrameShowsThePauseBox)
{
    frmOpen& s = MakeSplash();
    prompt.ExpectBox(MsgResult::Ok);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(s.fraOpen, &dbl);
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].text, QStringLiteral("Pause!!"));
    EXPECT_EQ(prompt.boxes[0].title, QStringLiteral("Pause"));
    EXPECT_EQ(prompt.boxes[0].icon, MsgIcon::Information);
}

TEST_F(SplashTest, ActivationWaitsFiveTicksThenShowsTheMainWindowAndUnloads)
{
    frmOpen::SetMainWindowFactory([this] { return new frmMain(&fake); });
    frmOpen& s = MakeSplash();
    ASSERT_TRUE(s.Form_Load());
    EXPECT_EQ(s.tmrTimer->interval(), 500);
    window.reset(s.Form_Activate());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(s.SplashTicks, 5);
    EXPECT_FALSE(s.isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->State().StartupPending) << "showing the window activated it";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(fake.serialLog.size(), 1);
}
