#pragma once
// A main window on a scripted interface control, in a fresh program folder,
// with fresh program-wide state, the English string table, no serial ports
// and a scripted prompt that fails on any box the test did not expect.
#include "browser/data_panel.h"
#include "browser/lastcal_panel.h"
#include "common/appstate.h"
#include "common/portfinder.h"
#include "common/resstrings.h"
#include "fake_qvif.h"
#include "download/download_panel.h"
#include "mainwindow/frmMain.h"
#include "settings/instrument_panel.h"
#include "settings/settings_panel.h"
#include "views/view_panel.h"
#include "common/wait.h"
#include "scripted_prompt.h"
#include "temp_home.h"

#include <gtest/gtest.h>
#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        SetResLanguage(ResLanguage::English);
        SetSerialPortSource([] { return QList<SerialPortCandidate>(); });
        SetWaitsAbandoned(false);
    }
    void TearDown() override
    {
        window.reset();
        SetSerialPortSource({});
        SetResLanguage(ResLanguage::System);
        SetWaitsAbandoned(false);
        SetWaitClock({});
        ResetAppState();
        EXPECT_TRUE(prompt.AllUsed()) << "a queued answer was not used";
    }
    // Creates the window (not loaded, not shown).
    frmMain& MakeWindow()
    {
        window = std::make_unique<frmMain>(&fake);
        return *window;
    }

    TempHome home;
    ScriptedPrompt prompt;
    FakeQvif fake;
    std::unique_ptr<frmMain> window;
};

// One USB-serial converter of the kind the program looks for.
inline SerialPortCandidate Converter(const QString& device)
{
    SerialPortCandidate c;
    c.portName = device.section(QLatin1Char('/'), -1);
    c.systemLocation = device;
    c.hasIds = true;
    c.vendorId = 0x10C4;
    c.productId = 0xEA60;
    return c;
}
