#pragma once
// Record lines as the instrument sends them, for the benchmarks that store
// or open a full interval trend.
#include <QString>
#include <QStringList>

namespace bench {

inline QString Num(qint64 v, int n)
{
    return QString::number(v).rightJustified(n, QLatin1Char('0'));
}

// The trend that fills the graph control: 16,361 samples, record numbers
// going round after 9999 to 0, and 2,048 event rows, an event every fourth
// sample, each right after its data line.
inline constexpr int kTrendSamples = 16361;
inline constexpr int kTrendEvents = 2048;

inline QStringList IntervalLines()
{
    QStringList l{"01AAUSER1     STATION1  ", "01ABSERIAL00000100001",
                  "01ACH2S100.0  0.1OXY 25.0  0.1", "01AD2405170000000010" + QString("0000"),
                  "01AE  1.5  9.5240517010000", "01AF 20.9 18.0240517020000"};
    int events = 0;
    for (int rec = 1; rec <= kTrendSamples; ++rec) {
        const QString v0 = QString::number((rec % 500) * 0.1, 'f', 1).rightJustified(5);
        l << "01A0" + v0 + " 20.9" + "00" + Num(rec % 10000, 4);
        if (rec % 4 == 0 && events < kTrendEvents) {
            l << "01A1" + Num(rec % 12, 2) + "00" + Num(rec % 10000, 4) + "00000" + Num(rec % 10, 4);
            ++events;
        }
    }
    return l;
}

// Hands lines to a record collection as a download does: each block of 48
// validated first, then stored.
template <class C>
void Feed(C& c, const QStringList& lines)
{
    for (qsizetype i = 0; i < lines.size(); i += 48) {
        const QStringList block = lines.mid(i, 48);
        for (const QString& s : block)
            c.SetDatas(s, true);
        for (const QString& s : block)
            c.SetDatas(s, false);
    }
}

} // namespace bench
