#include "common/appstate.h"
#include "common/errors.h"
#include "common/portfinder.h"
#include "common/resstrings.h"
#include "common/services.h"
#include "scripted_prompt.h"

#include <gtest/gtest.h>

namespace {

SerialPortCandidate Port(const QString& name, quint16 vendor, quint16 product, bool hasIds = true)
{
    return {name, "/dev/" + name, hasIds, vendor, product};
}

class PortFinder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        qunsetenv("PELKAR_SERIAL_PORT");
        ASSERT_TRUE(LoadResTableFile(ResLanguage::English,
                                     QStringLiteral(PELKAR_SOURCE_DIR "/tests/common/fixtures/strings_en.tsv")));
        SetResLanguage(ResLanguage::English);
        App().CommPort = 4; // as the settings file left it
    }
    void TearDown() override
    {
        SetSerialPortSource({});
        qunsetenv("PELKAR_SERIAL_PORT");
        ResetResTables();
        SetResLanguage(ResLanguage::System);
        ResetAppState();
    }
    void Ports(QList<SerialPortCandidate> ports)
    {
        SetSerialPortSource([ports] { return ports; });
    }
};

const QString kId = QStringLiteral("VID_10C4&PID_EA60");

} // namespace

TEST_F(PortFinder, OneConverterGivesItsNumberAndPath)
{
    Ports({Port("ttyS0", 0, 0, false), Port("ttyUSB0", 0x10C4, 0xEA60), Port("ttyACM2", 0x2341, 0x0043)});
    FindUsbSerialPort(kId);
    EXPECT_EQ(App().CommPort, 1);
    EXPECT_EQ(App().CommDevice, "/dev/ttyUSB0");
    EXPECT_EQ(CommDevicePath(), "/dev/ttyUSB0");

    Ports({Port("ttyUSB11", 0x10C4, 0xEA60)});
    FindUsbSerialPort("vid_10c4&pid_ea60");
    EXPECT_EQ(App().CommPort, 12);
    EXPECT_EQ(CommDevicePath(), "/dev/ttyUSB11");
}

TEST_F(PortFinder, NoConverterGivesZero)
{
    Ports({Port("ttyUSB0", 0x0403, 0x6001), Port("ttyS0", 0x10C4, 0xEA60, false)});
    FindUsbSerialPort(kId);
    EXPECT_EQ(App().CommPort, 0);
    EXPECT_EQ(App().CommDevice, "");
    EXPECT_EQ(CommDevicePath(), "");
}

TEST_F(PortFinder, SeveralConvertersAskFirstThenGiveZero)
{
    ScriptedPrompt prompt;
    prompt.ExpectBox(MsgResult::Ok);
    Ports({Port("ttyUSB0", 0x10C4, 0xEA60), Port("ttyUSB1", 0x10C4, 0xEA60)});
    FindUsbSerialPort(kId);
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].text, "More than one USB Serial Converter is connected");
    EXPECT_EQ(prompt.boxes[0].title, "module finder error");
    EXPECT_EQ(prompt.boxes[0].icon, MsgIcon::Critical);
    EXPECT_EQ(prompt.boxes[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(App().CommPort, 0);
}

TEST_F(PortFinder, EnvironmentNamesTheConverter)
{
    Ports({}); // the system reports nothing, as without udev
    qputenv("PELKAR_SERIAL_PORT", "/dev/pts/7");
    FindUsbSerialPort(kId);
    EXPECT_EQ(App().CommPort, 8);
    EXPECT_EQ(CommDevicePath(), "/dev/pts/7");

    qputenv("PELKAR_SERIAL_PORT", "/tmp/pelkar-sim");
    FindUsbSerialPort(kId);
    EXPECT_EQ(App().CommPort, 1);
    EXPECT_EQ(CommDevicePath(), "/tmp/pelkar-sim");

    qputenv("PELKAR_SERIAL_PORT", "/dev/ttyUSB99999");
    EXPECT_THROW(FindUsbSerialPort(kId), OverflowError);
    EXPECT_EQ(App().CommPort, 1); // unchanged
}

TEST_F(PortFinder, NumberFromSettingsMapsToTtyS)
{
    App().CommPort = 4;
    App().CommDevice.clear();
    EXPECT_EQ(CommDevicePath(), "/dev/ttyS3");
    quint16 v = 0, p = 0;
    EXPECT_TRUE(ParseHardwareId(kId, &v, &p));
    EXPECT_EQ(v, 0x10C4);
    EXPECT_EQ(p, 0xEA60);
    EXPECT_FALSE(ParseHardwareId("USB\\VID_10C4", &v, &p));
    EXPECT_EQ(PortNumberFromDevice("/dev/ttyUSB0"), 1);
    EXPECT_EQ(PortNumberFromDevice("/dev/ttyACM3"), 4);
}

TEST(Services, IdentityAndKeyTexts)
{
    EXPECT_EQ(NzStar("  AB  "), "AB");
    EXPECT_EQ(NzStar(""), "*");
    EXPECT_EQ(NzStar("   "), "*");
    EXPECT_EQ(DropLast2("12 S"), "12");
    EXPECT_EQ(DropLast2("AB"), "");
    EXPECT_EQ(DropLast2("ABC"), "A");
    struct Case {
        const char* text;
        const char* word;
    };
    for (const Case& c : {Case{"12 S", "S"}, Case{"A B C", "C"}, Case{"A  B", "B"}, Case{"ABC", "ABC"},
                          Case{"A B C  ", "C"}, Case{"", ""}, Case{" A", "A"}}) {
        EXPECT_EQ(LastWord(c.text), c.word) << c.text;
    }
    EXPECT_EQ(LeadingNumber("12 S"), 12);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("-3 X"), -3);
    for (const char* bad : {"12", "S 12", " 12 S", "99999999999 S"})
        EXPECT_THROW(LeadingNumber(bad), ConversionError) << bad;
}

TEST(Services, IsIdChar)
{
    for (int yes : std::initializer_list<int>{8, 32, '*', '-', '0', '9', 'A', 'Z', 'a', 'z'})
        EXPECT_TRUE(IsIdChar(yes)) << yes;
    for (int no : std::initializer_list<int>{13, 0, 9, 27, 95, '/', ':', '@', '[', '`', '{', 127, 0xE9})
        EXPECT_FALSE(IsIdChar(no)) << no;
}

TEST(Services, FontsAndLocale)
{
    QFont src("Serif");
    src.setPointSizeF(11.5);
    src.setItalic(true);
    src.setUnderline(true);
    src.setStrikeOut(true);
    src.setWeight(QFont::Bold);
    QFont dst("Monospace");
    CopyFont(dst, src);
    EXPECT_EQ(dst.family(), src.family());
    EXPECT_DOUBLE_EQ(dst.pointSizeF(), 11.5);
    EXPECT_TRUE(dst.italic());
    EXPECT_TRUE(dst.underline());
    EXPECT_TRUE(dst.strikeOut());
    EXPECT_TRUE(dst.bold());

    FontSetting s{"Serif", 8.25f, true, false, true};
    const FontSetting back = SettingFromFont(FontFromSetting(s));
    EXPECT_EQ(back.Name, FontFromSetting(s).family());
    EXPECT_FLOAT_EQ(back.Size, 8.25f);
    EXPECT_TRUE(back.Bold);
    EXPECT_FALSE(back.Italic);
    EXPECT_TRUE(back.Underline);

    EXPECT_EQ(GetLocaleString(4105), "1");
    EXPECT_FALSE(GetLocaleString(31).isEmpty());
    EXPECT_EQ(GetLocaleString(12345), "");
}
