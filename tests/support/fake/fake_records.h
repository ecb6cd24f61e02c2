#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <array>

// Logged records as the simulated instrument holds them, and the record
// lines it sends for them (the fixed-position lines of the download
// answers). A test builds a record, hands its lines to FakeInstrument::
// SetRecordLines, and compares what the program stored with the record.

// The record lines of one request cut into the answer blocks that carry
// them: 48 lines a block, and one empty block when there are none.
QList<QList<QByteArray>> RecordBlocks(const QList<QByteArray>& lines);

// An event line of an interval trend: "A1" gas 1, "A2" gas 2, "A5" both.
struct FakeTrendEvent {
    QByteArray type = "A1";
    int digit = 2;      // event digit: 1 warning, 2 alarm, ...
    int index = 0;      // data lines before it (0: the start)
    int seconds = 0;    // offset within the interval
};

// One interval trend of one logger.
struct FakeIntervalTrend {
    int logger = 1;
    QString userId = QStringLiteral("USER01");
    QString stationId = QStringLiteral("ST-7");
    QString serialNo = QStringLiteral("SN123456");
    QDateTime start;                       // wall clock, whole seconds
    int interval = 60;                     // seconds between samples
    // Gas list fields as sent: name 3, full scale 5, point 5 characters.
    std::array<QString, 2> names{QStringLiteral("CO "), QStringLiteral("OXY")};
    std::array<QString, 2> fullScale{QStringLiteral("  500"), QStringLiteral(" 40.0")};
    std::array<QString, 2> point{QStringLiteral("  1.0"), QStringLiteral("  0.1")};
    // Readings per sample, gas 1 and gas 2, one decimal. The status code
    // -107 is sent as "OVER".
    QList<std::array<float, 2>> samples;
    QList<FakeTrendEvent> events;          // each sent after the data line it follows

    // The moment of sample k (0-based).
    QDateTime SampleTime(int k) const { return start.addSecs(static_cast<qint64>(k + 1) * interval); }
    // The moment of an event: after its data lines, at its offset within
    // the interval.
    QDateTime EventTime(const FakeTrendEvent& e) const
    {
        return start.addSecs(static_cast<qint64>(e.index) * interval + e.seconds % interval);
    }
};

// A trend of count samples with varied readings, starting at start.
FakeIntervalTrend MakeIntervalTrend(int logger, const QDateTime& start, int count, int interval = 60);

// The record lines of a trend: identity, gas list, header, statistics,
// then the data lines with each event line right after the data line it
// follows (an event of index 0 before the first, one past the last data
// line after the last). Record numbers run 1 to 9999, then 0, 1, ...
// again; an event's index goes round the same way.
QList<QByteArray> IntervalLines(const FakeIntervalTrend& trend);

// The five-character reading field of a value.
QByteArray ReadingField(float value);

// One alarm trend of one logger: 360 samples at a fixed interval, sample
// 180 taken at the alarm moment.
struct FakeAlarmTrend {
    int logger = 1;
    QString userId = QStringLiteral("USER01");
    QString stationId = QStringLiteral("ST-7");
    QString serialNo = QStringLiteral("SN123456");
    QDateTime alarm;                       // the alarm moment
    int interval = 5;
    std::array<QString, 2> names{QStringLiteral("CO "), QStringLiteral("OXY")};
    std::array<QString, 2> fullScale{QStringLiteral("  500"), QStringLiteral(" 40.0")};
    std::array<QString, 2> point{QStringLiteral("  1.0"), QStringLiteral("  0.1")};
    QList<std::array<float, 2>> samples;   // 360

    QDateTime SampleTime(int i) const { return alarm.addSecs(static_cast<qint64>(i - 180) * interval); }
};

FakeAlarmTrend MakeAlarmTrend(int logger, const QDateTime& alarm, int interval = 5);
QList<QByteArray> AlarmLines(const FakeAlarmTrend& trend);

// One calibration of one gas, as the instrument's calibration history
// holds it.
struct FakeCalibration {
    QDateTime when;
    float before = 0;
    float after = 0;
};
// History lines of one gas ("IH,R,1," / "IH,R,2,").
QList<QByteArray> HistoryLines(const QList<FakeCalibration>& entries);

// One power on/off event.
struct FakePowerEvent {
    QDateTime when;
    bool on = true;
};
// "FD" lines of one logger.
QList<QByteArray> PowerEventLines(int logger, const QList<FakePowerEvent>& events);
