#include "common/clock.h"
#include "common/dates.h"
#include "interface/frame.h"
#include "common/serial_log.h"
#include "temp_home.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray Bytes(std::initializer_list<int> codes)
{
    QByteArray b;
    for (int c : codes)
        b.append(static_cast<char>(c));
    return b;
}

} // namespace

TEST(Frame, BuildsRequestsWithChecksum)
{
    const QByteArray rc = BuildFrame("RC,R,", Wire::EOT);
    EXPECT_EQ(rc, QByteArray("\x02" "0001RC,R,\x03" "FB\x04"));
    EXPECT_EQ(rc.size(), 14);
    EXPECT_EQ(BuildFrame("DN,R,", Wire::EOT).mid(11, 2), QByteArray("FE"));
    // A sum divisible by 256 carries "00": STX "0001" ETX add up to 0xC6,
    // the command ":" (0x3A) brings it to 0x100.
    EXPECT_EQ(FrameChecksum(BuildFrame(":", Wire::EOT)), 0);
    EXPECT_EQ(BuildFrame(":", Wire::EOT).mid(7, 2), QByteArray("00"));
}

TEST(Frame, ChecksumCheckAcceptsLowerCaseAndRejectsGarbage)
{
    QByteArray f = BuildFrame("DN,R,", Wire::EOT);
    EXPECT_TRUE(FrameChecksumOk(f));
    QByteArray lower = BuildFrame("RC,R,", Wire::EOT);
    lower[lower.size() - 3] = 'f';
    lower[lower.size() - 2] = 'b';
    EXPECT_TRUE(FrameChecksumOk(lower));
    f[f.size() - 2] = 'D';
    EXPECT_FALSE(FrameChecksumOk(f));
    EXPECT_FALSE(FrameChecksumOk("x"));
    EXPECT_FALSE(FrameChecksumOk("ZZ\x04"));
}

TEST(Frame, AcknowledgementBlocksEchoTheLastFrame)
{
    const QByteArray dr = BuildFrame("DR,R,", Wire::EOT);
    EXPECT_EQ(AckBlock(dr), BuildFrame("DR,R,\x06", Wire::ETB));
    EXPECT_EQ(AckBlock(AckBlock(dr)), AckBlock(dr));
    const QByteArray ih = BuildFrame("IH,R,2,", Wire::EOT);
    EXPECT_EQ(FrameEcho(ih, true), QByteArray("IH,R,2,"));
    EXPECT_EQ(AckBlock(ih), BuildFrame("IH,R,2,\x06", Wire::ETB));
    EXPECT_EQ(FrameEcho(AckBlock(ih), true), QByteArray("IH,R,2,"));
    // The time-out NAK block always takes the short echo.
    EXPECT_EQ(NakBlock(ih, false, Wire::ETB), BuildFrame("IH,R,\x15", Wire::ETB));
    EXPECT_EQ(NakBlock(dr, true, Wire::EOT), BuildFrame("DR,R,\x15", Wire::EOT));
}

TEST(Frame, ValueFieldEncodesSixteenBitsOrRefuses)
{
    struct Case {
        float value;
        int decimals;
        const char* field; // nullptr: refused
    } cases[] = {
        {20.0f, 1, "00C8"}, {-0.5f, 1, "FFFB"}, {0.0f, 2, "0000"}, {-101.0f, 1, "0000"},
        {-200.0f, 0, "0000"}, {-100.9f, 0, "FF9B"}, {3276.7f, 1, "7FFF"}, {-100.0f, 2, "D8F0"},
        {2.5f, 0, "0002"}, {3.5f, 0, "0004"}, // halves to the even neighbour
        {40000.0f, 0, nullptr}, {3276.8f, 1, nullptr}, {-100.9f, 3, nullptr},
    };
    for (const Case& c : cases) {
        const auto field = ValueToHexField(c.value, c.decimals);
        if (c.field) {
            ASSERT_TRUE(field.has_value()) << c.value;
            EXPECT_EQ(*field, QByteArray(c.field)) << c.value;
        } else {
            EXPECT_FALSE(field.has_value()) << c.value;
        }
    }
}

TEST(Frame, HexTextKeepsTheLowDigits)
{
    EXPECT_EQ(HexText(0x0A, 2), QByteArray("0A"));
    EXPECT_EQ(HexText(0xABC, 2), QByteArray("BC"));
    EXPECT_EQ(HexText(static_cast<quint32>(-1), 4), QByteArray("FFFF"));
    EXPECT_EQ(HexText(0x1234567, 6), QByteArray("234567"));
    EXPECT_EQ(HexText(0, 6), QByteArray("000000"));
}

TEST(Frame, ValueFieldDecodes)
{
    EXPECT_FLOAT_EQ(HexFieldToValue("****", 2), -101.0f);
    EXPECT_FLOAT_EQ(HexFieldToValue("0000", 2), 0.0f);
    EXPECT_FLOAT_EQ(HexFieldToValue("00C8", 1), 20.0f);
    EXPECT_FLOAT_EQ(HexFieldToValue("FFFB", 1), -0.5f);
    EXPECT_FLOAT_EQ(HexFieldToValue("8000", 0), -32768.0f);
    EXPECT_FLOAT_EQ(HexFieldToValue("7fff", 0), 32767.0f);
    bool ok = true;
    HexFieldToValue("12G4", 0, &ok);
    EXPECT_FALSE(ok);
}

TEST(Frame, TextFiltersForParsingAndTheLog)
{
    const QByteArray answer = BuildFrame("A1,R,00C8,0FA0", Wire::ETB);
    EXPECT_EQ(StripControlChars(answer), QByteArray("0001A1,R,00C8,0FA0") + answer.mid(answer.size() - 3, 2));
    EXPECT_EQ(StripControlChars(Bytes({'a', 0x80, 0xFF, 0x7F, 0x1F, 'b'})), Bytes({'a', 0x7F, 'b'}));
    EXPECT_EQ(FormatControlChars(BuildFrame("DN,R,", Wire::EOT)), QStringLiteral("[STX]0001DN,R,[ETX]FE[EOT]"));
    EXPECT_EQ(FormatControlChars(Bytes({0, 0x1F, 0x05, 0x06, 0x15, 0x17, 0x1A, 0x1B, '\r', '\n'})),
              QStringLiteral("[00][1F][ENQ][ACK][NAK][ETB][SUB][ESC]\r\n"));
}

TEST(SerialLog, AppendsTimeStampedLinesAndSurvivesFailures)
{
    TempHome home;
    SetClock([] { return MakeDate(2024, 3, 5, 14, 3, 27); });
    const QString path = SerialLogPath();
    EXPECT_EQ(path, home.file(QStringLiteral("SerialLog.log")));
    ASSERT_TRUE(AppendSerialLogLine(path, Now(), QStringLiteral("W : [STX]0001RC,R,[ETX]FB[EOT]")));
    ASSERT_TRUE(AppendSerialLogLine(path, Now(), QStringLiteral("R : a\rb")));
    // Moved away between lines: the next line starts a new file.
    ASSERT_TRUE(QFile::rename(path, home.file(QStringLiteral("old.log"))));
    ASSERT_TRUE(AppendSerialLogLine(path, Now(), QStringLiteral("next")));
    SetClock({});

    QFile old(home.file(QStringLiteral("old.log")));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("14:03:27 W : [STX]0001RC,R,[ETX]FB[EOT]\r\n14:03:27 R : a\rb\r\n"));
    QFile fresh(path);
    ASSERT_TRUE(fresh.open(QIODevice::ReadOnly));
    EXPECT_EQ(fresh.readAll(), QByteArray("14:03:27 next\r\n"));

    // A file that cannot be opened drops the line and reports it.
    EXPECT_FALSE(AppendSerialLogLine(home.file(QStringLiteral("no/such/dir/SerialLog.log")), Now(), QStringLiteral("x")));
}
