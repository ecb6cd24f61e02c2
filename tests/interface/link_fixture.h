#pragma once
#include "common/appstate.h"
#include "fake_instrument.h"
#include "interface/serial_transport.h"
#include "interface/uclQvif.h"
#include "records/instrument.h"
#include "temp_home.h"
#include "wait_until.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// The control over a pseudo-terminal against the fake instrument, with a
// fast tick (10 ms) and a one-second answer time-out (10 ticks), so that
// time-outs pass quickly.
class LinkFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        ASSERT_TRUE(fake.OpenPty());
        ctl = std::make_unique<uclQvif>();
        ctl->SetTickInterval(10);
        ctl->SetTimeout(1);
        ctl->SetRetry(3);
        ctl->SetSerialFileNo(1);
        ctl->SetDumpListFileNo(2);
    }
    void TearDown() override
    {
        ctl.reset();
        QCoreApplication::processEvents();
    }

    // Opens the port as the main window does.
    void OpenPort()
    {
        ctl->SetSerialComm(true);
        ctl->SetDevicePath(fake.DevicePath());
        ctl->SetCommPort(1);
        ctl->SetRTSEnable(true);
        ctl->SetDTREnable(true);
        ctl->SetHandshaking(2);
        ctl->SetSettings(QStringLiteral("921600,n,8,1"));
        ctl->SetPortOpen(true);
    }

    // Opens the port and waits for OnConnect.
    void Connect()
    {
        QSignalSpy connected(ctl.get(), &QvifPort::OnConnect);
        OpenPort();
        ASSERT_TRUE(ctl->PortOpen());
        ASSERT_TRUE(WaitUntil([&] { return connected.count() == 1; }));
        ASSERT_TRUE(ctl->Connected());
        fake.ClearFrames();
    }

    QByteArray SerialLogText() const
    {
        QFile f(home.file(QStringLiteral("SerialLog.log")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString Log() const { return QString::fromUtf8(SerialLogText()); }

    TempHome home;
    FakeInstrument fake;
    std::unique_ptr<uclQvif> ctl;
};

// Connected, with the instrument object read from the fake (so no setting
// is flagged) and the fake's frame record emptied.
class ReadInstrumentFixture : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        Connect();
        ASSERT_TRUE(ctl->GetInstrument(&inst));
        fake.ClearFrames();
    }

    clsInstrument inst;
};
