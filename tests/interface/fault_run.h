#pragma once
#include "fake_instrument.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>

// Before one run of a table of line faults: whatever the run before left on
// the line is served, the fake instrument forgets its faults and frames, the
// serial log starts empty, and the listing file holds an older listing.
inline void StartFaultRun(FakeInstrument& fake, const QString& serialLog, const QString& listing,
                          const QByteArray& older)
{
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    fake.ClearFaults();
    fake.ClearFrames();
    QFile::remove(serialLog);
    QFile f(listing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(older), older.size());
}
