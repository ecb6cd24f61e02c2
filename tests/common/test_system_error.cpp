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
        int words;    // inside a sentence
        int sentence; // a sentence of its own
    };
    const Case cases[] = {
        {qt_error_string(ENOENT), 20200, 20210}, {qt_error_string(ENODEV), 5940, 20219},
        {qt_error_string(ENXIO), 5940, 20219},   {qt_error_string(EBUSY), 20201, 20211},
        {qt_error_string(EACCES), 20202, 20212}, {qt_error_string(EPERM), 20202, 20212},
        {qt_error_string(EEXIST), 20203, 20213}, {qt_error_string(ENOTTY), 20204, 20214},
        {qt_error_string(ENOSPC), 20205, 20215}, {qt_error_string(EROFS), 20206, 20216},
        {qt_error_string(EIO), 20207, 20217},    {qt_error_string(EXDEV), 20208, 20218},
        {QStringLiteral("Filename refers to a directory"), 20208, 20218},
    };
    for (ResLanguage language : {ResLanguage::English, ResLanguage::Japanese}) {
        SetResLanguage(language);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.system.toStdString());
            for (const bool sentence : {false, true}) {
                TempHome home;
                const QString words = sentence ? SystemErrorSentence(c.system) : SystemErrorText(c.system);
                EXPECT_EQ(words, GetResString(sentence ? c.sentence : c.words));
                EXPECT_FALSE(words.contains(c.system));
                EXPECT_TRUE(SerialLog().contains(c.system)) << "the system's wording is kept in the serial log";
            }
            // A sentence begins with a capital letter and ends with a full
            // stop, or with "。" in Japanese.
            const QString sentence = GetResString(c.sentence);
            if (language == ResLanguage::Japanese) {
                EXPECT_TRUE(sentence.endsWith(QChar(0x3002))) << sentence.toStdString();
            } else {
                EXPECT_TRUE(sentence.front().isUpper() && sentence.endsWith(QLatin1Char('.'))) << sentence.toStdString();
            }
        }
    }
    SetResLanguage(ResLanguage::English);
    TempHome home;
    EXPECT_EQ(SystemErrorText(QString()), QString());
    EXPECT_EQ(SystemErrorSentence(QString()), QString());
    EXPECT_EQ(SerialLog(), QString());
}

} // namespace
