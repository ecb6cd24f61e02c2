#pragma once
// The main window on the real interface control, over a pseudo-terminal
// against the fake instrument, in a fresh program folder with the English
// string table and a scripted prompt. The window is created, not loaded.
// Needs tests/mainwindow on the include path.
#include "common/dates.h"
#include "common/logdb.h"
#include "fake_instrument.h"
#include "fake_records.h"
#include "interface/uclQvif.h"
#include "main_window_fixture.h"
#include "wait_until.h"

#include <QFile>
#include <QPushButton>
#include <QSqlQuery>

#include <functional>
#include <memory>

class LinkedWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        SetResLanguage(ResLanguage::English);
        SetWaitsAbandoned(false);
        ASSERT_TRUE(fake.OpenPty());
        const QString device = fake.DevicePath();
        SetSerialPortSource([device] { return QList<SerialPortCandidate>{Converter(device)}; });
        control = std::make_unique<uclQvif>();
        control->SetTickInterval(10);
        window = std::make_unique<frmMain>(control.get());
    }
    void TearDown() override
    {
        window.reset();
        control.reset();
        QCoreApplication::processEvents();
        SetSerialPortSource({});
        SetResLanguage(ResLanguage::System);
        ResetAppState();
        EXPECT_TRUE(prompt.AllUsed());
    }

    // The window's steps run on the control's timers, so allow them longer
    // than a bare link wait.
    static bool WaitFor(const std::function<bool()>& pred, int ms = 10000) { return WaitUntil(pred, ms); }

    // Loads the window and waits until the instrument has connected.
    bool LoadAndWaitForConnection()
    {
        window->Form_Load();
        return WaitFor([this] { return window->Download().cmdDown(0)->isEnabled(); });
    }

    // The first column of the first row of a query on the log database
    // (-1 if the query fails or returns nothing).
    static qint64 Rows(const QString& sql)
    {
        LogDb db;
        QSqlQuery q(db.Db());
        if (!q.exec(sql) || !q.next())
            return -1;
        return q.value(0).toLongLong();
    }

    // The instrument's calibration history (two calibrations of each gas)
    // and one power-on/off pair, as the whole-program tests download them.
    void ServeCalibrationAndPowerEvents()
    {
        fake.SetRecordLines("IH,R,1,", HistoryLines({{MakeDate(2024, 1, 10, 9, 0, 0), 10.0f, 50.0f},
                                                      {MakeDate(2024, 2, 10, 9, 0, 0), 11.0f, 50.0f}}));
        fake.SetRecordLines("IH,R,2,", HistoryLines({{MakeDate(2024, 1, 10, 9, 0, 0), 20.5f, 20.9f},
                                                      {MakeDate(2024, 2, 10, 9, 0, 0), 20.4f, 20.9f}}));
        fake.SetRecordLines("DO,R,", PowerEventLines(1, {{MakeDate(2024, 3, 5, 7, 0, 0), true},
                                                         {MakeDate(2024, 3, 5, 18, 0, 0), false}}));
    }

    QString SerialLog() const
    {
        QFile f(home.file(QStringLiteral("SerialLog.log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    TempHome home;
    ScriptedPrompt prompt;
    FakeInstrument fake;
    std::unique_ptr<uclQvif> control;
    std::unique_ptr<frmMain> window;
};
