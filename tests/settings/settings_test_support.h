#pragma once
// Shared pieces of the settings tests: the English string table for the
// test's lifetime and readable failure messages for texts.
#include "common/appstate.h"
#include "common/resstrings.h"

#include <QString>
#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        SetResLanguage(ResLanguage::English);
    }
    void TearDown() override { SetResLanguage(ResLanguage::System); }
};
