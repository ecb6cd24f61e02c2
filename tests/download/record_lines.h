#pragma once
// Record lines of interval-trend downloads, as the instrument sends them, for
// tests that fill the main window's collections.
#include <QString>
#include <QStringList>

namespace record_lines {

inline QString Fit(const QString& s, int n) { return s.left(n).leftJustified(n, QLatin1Char(' ')); }
inline QString RFit(const QString& s, int n) { return s.right(n).rightJustified(n, QLatin1Char(' ')); }
inline QString Num(qint64 v, int n) { return QString::number(v).rightJustified(n, QLatin1Char('0')); }

// One complete interval trend of logger lg, started at date ("YYMMDD") and
// time ("hhnnss"), with three value rows.
inline QStringList IntervalTrend(const QString& lg, const QString& date, const QString& time,
                                 const QString& serial = QStringLiteral("SN123456"))
{
    auto stat = [&](const QString& type, const QString& avr, const QString& v) {
        return lg + type + RFit(avr, 5) + RFit(v, 5) + date + time;
    };
    auto value = [&](const QString& v0, const QString& v1, int rec) {
        return lg + QStringLiteral("A0") + RFit(v0, 5) + RFit(v1, 5) + QStringLiteral("00") + Num(rec, 4);
    };
    return {lg + QStringLiteral("AA") + Fit(QStringLiteral("USER01"), 10) + Fit(QStringLiteral("ST-7"), 10),
            lg + QStringLiteral("AB") + Fit(serial, 12) + QStringLiteral("00001"),
            lg + QStringLiteral("AC") + Fit(QStringLiteral("CO"), 3) + RFit(QStringLiteral("500"), 5)
                + RFit(QStringLiteral("1.0"), 5) + Fit(QStringLiteral("OXY"), 3) + RFit(QStringLiteral("25.0"), 5)
                + RFit(QStringLiteral("0.1"), 5),
            lg + QStringLiteral("AD") + date + time + Num(60, 4) + QStringLiteral("0000"),
            stat(QStringLiteral("AE"), QStringLiteral("1.5"), QStringLiteral("9.5")),
            stat(QStringLiteral("AF"), QStringLiteral("20.9"), QStringLiteral("18.0")),
            value(QStringLiteral("1.0"), QStringLiteral("20.9"), 1),
            value(QStringLiteral("2.0"), QStringLiteral("20.8"), 2),
            value(QStringLiteral("3.0"), QStringLiteral("20.7"), 3)};
}

// Feeds lines to a collection the way the interface control does: all
// checked, then all stored.
template <class C>
bool Feed(C& c, const QStringList& lines)
{
    bool ok = true;
    for (const QString& l : lines)
        ok = c.SetDatas(l, true) && ok;
    if (!ok)
        return false;
    for (const QString& l : lines)
        ok = c.SetDatas(l, false) && ok;
    return ok;
}

} // namespace record_lines
