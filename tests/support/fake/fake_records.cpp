#include "fake_records.h"

#include <algorithm>
#include <cmath>

namespace {

QByteArray Field(const QString& text, int width)
{
    return text.toLatin1().leftJustified(width, ' ', true);
}

QByteArray Two(int v)
{
    return QByteArray::number(v).rightJustified(2, '0');
}

QByteArray DateTimeField(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime h = t.time();
    return Two(d.year() % 100) + Two(d.month()) + Two(d.day()) + Two(h.hour()) + Two(h.minute()) + Two(h.second());
}

// Record lines per block of a multi-block download.
constexpr int kLinesPerBlock = 48;

} // namespace

QList<QList<QByteArray>> RecordBlocks(const QList<QByteArray>& lines)
{
    QList<QList<QByteArray>> blocks;
    for (qsizetype at = 0; at < lines.size(); at += kLinesPerBlock)
        blocks.append(lines.mid(at, kLinesPerBlock));
    if (blocks.isEmpty())
        blocks.append(QList<QByteArray>());
    return blocks;
}

QByteArray ReadingField(float value)
{
    if (value == -107.0f)
        return "OVER ";
    return QByteArray::number(static_cast<double>(value), 'f', 1).rightJustified(5, ' ', true);
}

FakeIntervalTrend MakeIntervalTrend(int logger, const QDateTime& start, int count, int interval)
{
    FakeIntervalTrend t;
    t.logger = logger;
    t.start = start;
    t.interval = interval;
    for (int k = 0; k < count; ++k) {
        const float co = static_cast<float>((k * 37 + logger * 11) % 4000) / 10.0f;
        const float oxy = 20.9f - static_cast<float>(k % 13) / 10.0f;
        t.samples.append({co, oxy});
    }
    if (count > 2) {
        t.events.append(FakeTrendEvent{"A1", 1, count / 2, 10});
        t.events.append(FakeTrendEvent{"A5", 2, count - 1, 30});
    }
    return t;
}

QList<QByteArray> IntervalLines(const FakeIntervalTrend& t)
{
    const QByteArray n = Two(t.logger);
    QList<QByteArray> lines;
    lines.append(n + "AA" + Field(t.userId, 10) + Field(t.stationId, 10));
    lines.append(n + "AB" + Field(t.serialNo, 12) + QByteArray(5, ' '));
    QByteArray ac = n + "AC";
    for (int g = 0; g < 2; ++g)
        ac += Field(t.names[g], 3) + Field(t.fullScale[g], 5) + Field(t.point[g], 5);
    lines.append(ac);
    lines.append(n + "AD" + DateTimeField(t.start) + QByteArray::number(t.interval).rightJustified(4, '0')
                 + QByteArray(4, ' '));

    // Statistics: average and maximum (gas 1), average and minimum and
    // maximum (gas 2), with their moments.
    if (!t.samples.isEmpty()) {
        const auto stats = [&](int g, bool wantMax) {
            double sum = 0;
            int best = 0;
            for (int k = 0; k < t.samples.size(); ++k) {
                sum += t.samples[k][g];
                const bool better = wantMax ? t.samples[k][g] > t.samples[best][g] : t.samples[k][g] < t.samples[best][g];
                if (better)
                    best = k;
            }
            const float avr = static_cast<float>(std::round(sum / t.samples.size() * 10.0) / 10.0);
            return ReadingField(avr) + ReadingField(t.samples[best][g]) + DateTimeField(t.SampleTime(best));
        };
        lines.append(n + "AE" + stats(0, true));
        lines.append(n + "AF" + stats(1, false));
        lines.append(n + "AG" + stats(1, true));
    }
    // Four-digit numbers that go round after 9999.
    const auto number = [](int v) { return QByteArray::number(v % 10000).rightJustified(4, '0'); };
    const int count = static_cast<int>(t.samples.size());
    // The event lines that follow data line `after` (the last line takes
    // every event past the end too).
    const auto eventsAfter = [&](int after) {
        for (const FakeTrendEvent& e : t.events)
            if (e.index == after || (after == count && e.index > count))
                lines.append(n + e.type + Two(e.digit) + "  " + number(e.index) + QByteArray(5, ' ')
                             + QByteArray::number(e.seconds).rightJustified(4, '0'));
    };
    eventsAfter(0);
    for (int k = 0; k < count; ++k) {
        lines.append(n + "A0" + ReadingField(t.samples[k][0]) + ReadingField(t.samples[k][1]) + "00"
                     + number(k + 1));
        eventsAfter(k + 1);
    }
    return lines;
}

FakeAlarmTrend MakeAlarmTrend(int logger, const QDateTime& alarm, int interval)
{
    FakeAlarmTrend t;
    t.logger = logger;
    t.alarm = alarm;
    t.interval = interval;
    for (int i = 0; i < 360; ++i) {
        const float co = i < 180 ? static_cast<float>(i % 50) : static_cast<float>(250 - (i - 180) % 200);
        t.samples.append({co, 20.9f - static_cast<float>(i % 7) / 10.0f});
    }
    return t;
}

QList<QByteArray> AlarmLines(const FakeAlarmTrend& t)
{
    const QByteArray n = Two(t.logger);
    QList<QByteArray> lines;
    lines.append(n + "BA" + Field(t.userId, 10) + Field(t.stationId, 10));
    lines.append(n + "BB" + Field(t.serialNo, 12) + " 0001");
    QByteArray bc = n + "BC";
    for (int g = 0; g < 2; ++g)
        bc += Field(t.names[g], 3) + Field(t.fullScale[g], 5) + Field(t.point[g], 5);
    lines.append(bc);
    lines.append(n + "BD" + DateTimeField(t.alarm) + QByteArray::number(t.interval).rightJustified(4, '0')
                 + QByteArray(4, ' '));
    // The window starts 180 samples before the alarm sample.
    lines.append(n + "Z0" + "    0" + "    0" + "  180" + "    0" + "    0");
    for (int i = 0; i < t.samples.size(); ++i)
        lines.append(n + "B0" + ReadingField(t.samples[i][0]) + ReadingField(t.samples[i][1]) + "  "
                     + QByteArray::number(i + 1).rightJustified(4, '0'));
    return lines;
}

QList<QByteArray> HistoryLines(const QList<FakeCalibration>& entries)
{
    QList<QByteArray> lines;
    for (const FakeCalibration& e : entries)
        lines.append("01" + DateTimeField(e.when) + ReadingField(e.before) + ReadingField(e.after));
    return lines;
}

QList<QByteArray> PowerEventLines(int logger, const QList<FakePowerEvent>& events)
{
    QList<QByteArray> lines;
    for (const FakePowerEvent& e : events)
        lines.append(Two(logger) + "FD" + DateTimeField(e.when) + (e.on ? "1111" : "0000") + "    ");
    return lines;
}
