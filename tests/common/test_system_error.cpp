// System errors in the program's own words, in both languages, with the
// system's English wording kept for the serial log only.
#include "common/resstrings.h"
#include "common/serial_log.h"
#include "common/system_error.h"
#include "temp_home.h"

#include <QFile>

#include <cerrno>
#include <gtest/gtest.h>

namespace {

QString SerialLog()
{
    QFile f(SerialLogPath());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(SystemErrorText, CommonErrorsInWordsOthersAsAGeneralText)
{
    struct Case {
        QString system;
        int id; // the words expected
    };
    const Case cases[] = {
        {qt_error_string(ENOENT), 20200}, {qt_error_string(ENODEV), 5940}, {qt_error_string(ENXIO), 5940},
        {qt_error_string(EBUSY), 20201},  {qt_error_string(EACCES), 20202}, {qt_error_string(EPERM), 20202},
        {qt_error_string(EEXIST), 20203}, {qt_error_string(ENOTTY), 20204}, {qt_error_string(ENOSPC), 20205},
        {qt_error_string(EROFS), 20206},  {qt_error_string(EIO), 20207},
        {qt_error_string(EXDEV), 20208},  {QStringLiteral("Filename refers to a directory"), 20208},
    };
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        SetResLanguage(language);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.system.toStdString());
            TempHome home;
            const QString words = SystemErrorText(c.system);
            EXPECT_EQ(words, GetResString(c.id));
            EXPECT_FALSE(words.contains(c.system));
            EXPECT_TRUE(SerialLog().contains(c.system)) << "the system's wording is kept in the serial log";
        }
    }
    SetResLanguage(ResLanguage::English);
    TempHome home;
    EXPECT_EQ(SystemErrorText(QString()), QString());
    EXPECT_EQ(SerialLog(), QString());
}

} // namespace
