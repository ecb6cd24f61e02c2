#include "view_fixture.h"

#include "views/view_export.h"

namespace {
QString Crlf(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
}

TEST_F(ViewTest, IntervalExportCombinesEventsAndMarksOver)
{
    ViewRecords v;
    clsInterval& r = v.interval;
    TwoGases(r);
    Identity(r, QStringLiteral("Trend, one"), T(10, 0, 0));
    r.SetGasListInfo(0, 10, 2.5f);
    r.SetGasListInfo(0, 8, 600.0f);
    r.SetGasListInfo(0, 9, -3.0f);
    r.SetGasListInfo(1, 13, false);
    AddSample(r, T(10, 0, 0), 1.5f, 20.9f);
    AddSample(r, T(10, 0, 10), 600.0f, 20.8f);
    AddSample(r, T(10, 0, 20), 500.0f, kGasNoValue);
    AddEvent(r, T(10, 0, 10), kGasAlarm, kGasNoValue);
    AddEvent(r, T(10, 0, 15), kGasWarning, kGasNoValue);
    const QString expected = Crlf({
        "Pelkar Data Sample (Interval Trend)",
        "Property,Value",
        "Name,Trend, one",
        "Start Date/Time,2024/05/17 10:00:00",
        "Serial No.,SN100",
        "Station ID,ST1",
        "User ID,USER1",
        "Data Count,5",
        "Interval Time (sec),10",
        "Gas(FullScale),Avg,Max,Min",
        "CO(500ppm),2.5,OVER,-3.0",
        "O2(25vol%),-----,-----,-----",
        "",
        "No,Date/Time,CO(500ppm),O2(25vol%)",
        "1,2024/05/17 10:00:00,1.5,20.9",
        "2,2024/05/17 10:00:10,ALARM(OVER),20.8",
        "3,2024/05/17 10:00:15,WARNING,-----",
        "4,2024/05/17 10:00:20,500.0,-----",
    });
    EXPECT_EQ(BuildSampleText(kViewInterval, v, {}, QStringLiteral(",")), expected);
    // The walk's marks are reset each time: a second export is the same.
    EXPECT_EQ(BuildSampleText(kViewInterval, v, {}, QStringLiteral(",")), expected);
    EXPECT_TRUE(BuildSampleText(kViewInterval, v, {}, QStringLiteral("\t")).contains("No\tDate/Time\t"));
}

TEST_F(ViewTest, AlarmExportListsEveryPoint)
{
    ViewRecords v;
    TwoGases(v.alarm);
    Identity(v.alarm, QStringLiteral("A1"), T(12, 0, 0));
    AddPoint(v.alarm, 0, T(11, 59, 55), 25.0f, 26.0f);
    AddPoint(v.alarm, 1, T(12, 0, 0), kGasNoValue, 25.0f);
    const QString expected = Crlf({
        "Pelkar Data Sample (Alarm Trend)",
        "Property\tValue",
        "Name\tA1",
        "Alarm Date/Time\t2024/05/17 12:00:00",
        "Serial No.\tSN100",
        "Station ID\tST1",
        "User ID\tUSER1",
        "Data Count\t2",
        "Interval Time (sec)\t10",
        "",
        "No\tDate/Time\tCO(500ppm)\tO2(25vol%)",
        "1\t2024/05/17 11:59:55\t25.0\tOVER",
        "2\t2024/05/17 12:00:00\t-----\t25.0",
    });
    EXPECT_EQ(BuildSampleText(kViewAlarm, v, {}, QStringLiteral("\t")), expected);
    EXPECT_EQ(AlarmSampleText(v.alarm, QStringLiteral("\t")), expected);
}

TEST_F(ViewTest, EventExportNeedsItsHead)
{
    EventList list;
    list.headFound = true;
    list.serialNo = QStringLiteral("SN100");
    list.stationID = QStringLiteral("ST1");
    list.userID = QStringLiteral("USER1");
    list.dates = T(18, 0, 0);
    list.rows.push_back({T(17, 0, 0), QString(), 0, false});
    list.rows.push_back({T(8, 0, 0), QString(), 0, true});
    const QString expected = Crlf({
        "Pelkar Data Sample (Power Events)",
        "Serial No.,SN100",
        "Station ID,ST1",
        "User ID,USER1",
        "Last Download,2024/05/17 18:00:00",
        "",
        "No,Date/Time,Power",
        "1,2024/05/17 17:00:00,OFF",
        "2,2024/05/17 08:00:00,ON",
    });
    EXPECT_EQ(BuildSampleText(kViewPowerEvents, {}, list, QStringLiteral(",")), expected);
    list.headFound = false;
    EXPECT_THROW(BuildSampleText(kViewPowerEvents, {}, list, QStringLiteral(",")), DatabaseError);
    EXPECT_EQ(BuildSampleText(kViewNone, {}, list, QStringLiteral(",")), QString());
    EXPECT_EQ(BuildSampleText(4, {}, list, QStringLiteral(",")), QString());
}

TEST_F(ViewTest, ProposedNamesAndSeparators)
{
    const struct {
        const char* last;
        bool bitmap;
        const char* proposed;
    } cases[] = {
        {"", false, "/p/Sample.csv"},
        {"", true, "/p/Sample.bmp"},
        {"/d/data.txt", false, "/d/data.csv"},
        {"/d/data.txt", true, "/d/data.bmp"},
        {"/d/data.CSV", false, "/d/data.CSV"},
        {"/d/pic.bmp", false, "/d/pic.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProposedExportName(QLatin1String(c.last), c.bitmap, QStringLiteral("/p")), QLatin1String(c.proposed))
            << c.last;
    EXPECT_EQ(ExportSeparator(1), ",");
    EXPECT_EQ(ExportSeparator(2), "\t");
    EXPECT_EQ(ExportSeparator(3), ",");
}
