#pragma once
// The per-gas fields of a record head, shared by the record classes: the
// GasListInfo index table and the reading of the "Gas1..."/"Gas2..." columns
// of a Log_Head row. Each gas-information struct holds the fields its record
// has; an index or column whose field the struct lacks is left out.
#include "records/instrument.h"
#include "records/record_db.h"
#include "records/record_text.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/gasvalue.h"
#include "common/logdb.h"
#include "common/services.h"

#include <QSqlQuery>
#include <QVariant>

namespace records_head {

template <class H>
constexpr bool kHasNames = requires(H h) { h.names; };
template <class H>
constexpr bool kHasInterval = requires(H h) { h.interval; };
template <class H>
constexpr bool kHasSpare = requires(H h) { h.spare; };

// GasBaseInfo: 0 Names, 1 the head's date, 2 UserID, 3 StationID,
// 4 SerialNo, 5 FolderID, 6 Interval, 7 a spare 16-bit value, as far as the
// record's head H holds them. Another index reads as an invalid QVariant.
template <class H>
QVariant BaseInfoField(const H& h, int index)
{
    switch (index) {
    case 1: return h.dates;
    case 2: return NzStar(h.userID);
    case 3: return NzStar(h.stationID);
    case 4: return NzStar(h.serialNo);
    case 5: return h.folderID;
    default: break;
    }
    if constexpr (kHasNames<H>)
        if (index == 0)
            return h.names;
    if constexpr (kHasInterval<H>)
        if (index == 6)
            return h.interval;
    if constexpr (kHasSpare<H>)
        if (index == 7)
            return h.spare;
    return QVariant();
}

// A date, interval or spare value that is no date or does not fit its
// field leaves the field as it was. Another index is ignored.
template <class H>
void SetBaseInfoField(H& h, int index, const QVariant& value)
{
    using namespace records_text;
    switch (index) {
    case 1:
        if (const auto d = VariantDate(value))
            h.dates = *d;
        return;
    case 2: h.userID = NzStar(value.toString()); return;
    case 3: h.stationID = NzStar(value.toString()); return;
    case 4: h.serialNo = NzStar(value.toString()); return;
    case 5: h.folderID = value.toString(); return;
    default: break;
    }
    if constexpr (kHasNames<H>)
        if (index == 0)
            h.names = value.toString();
    if constexpr (kHasInterval<H>)
        if (index == 6)
            if (const auto n = VariantWhole(value, INT32_MIN, INT32_MAX))
                h.interval = static_cast<qint32>(*n);
    if constexpr (kHasSpare<H>)
        if (index == 7)
            if (const auto n = VariantWhole(value, -32768, 32767))
                h.spare = static_cast<std::int16_t>(*n);
}

template <class G>
constexpr bool kHasLevels = requires(G g) { g.Warn; g.Alarm; };
template <class G>
constexpr bool kHasStatistics = requires(G g) { g.Max; g.Min; g.Avr; g.MaxDate; g.MinDate; };

// GasListInfo: 0 name, 1 full scale, 2 desit, 3 point, 4 warning, 5 alarm,
// 8 max, 9 min, 10 average, 11 max date, 12 min date, 13 enabled, 14 unit.
// Another index reads as an invalid QVariant.
template <class G>
QVariant GasListField(const G& g, int index)
{
    switch (index) {
    case 0: return g.Name;
    case 1: return g.Full;
    case 2: return g.Desit;
    case 3: return g.Point;
    case 13: return g.Enabled;
    case 14: return g.Unit;
    default: break;
    }
    if constexpr (kHasLevels<G>) {
        switch (index) {
        case 4: return g.Warn;
        case 5: return g.Alarm;
        default: break;
        }
    }
    if constexpr (kHasStatistics<G>) {
        switch (index) {
        case 8: return g.Max;
        case 9: return g.Min;
        case 10: return g.Avr;
        case 11: return g.MaxDate;
        case 12: return g.MinDate;
        default: break;
        }
    }
    return QVariant();
}

// Numeric fields keep the number as given (a resolution of 0.1 stays 0.1);
// a value that is no number, date or 16-bit point leaves the field as it
// was. Another index is ignored.
template <class G>
void SetGasListField(G& g, int index, const QVariant& value)
{
    using namespace records_text;
    const auto n = VariantNumber(value);
    switch (index) {
    case 0: g.Name = value.toString(); return;
    case 1: if (n) g.Full = static_cast<float>(*n); return;
    case 2: if (n) g.Desit = static_cast<float>(*n); return;
    case 3:
        if (const auto p = VariantWhole(value, -32768, 32767))
            g.Point = static_cast<std::int16_t>(*p);
        return;
    case 13: g.Enabled = VariantBool(value); return;
    case 14: g.Unit = value.toString(); return;
    default: break;
    }
    if constexpr (kHasLevels<G>) {
        switch (index) {
        case 4: if (n) g.Warn = static_cast<float>(*n); return;
        case 5: if (n) g.Alarm = static_cast<float>(*n); return;
        default: break;
        }
    }
    if constexpr (kHasStatistics<G>) {
        switch (index) {
        case 8: if (n) g.Max = static_cast<float>(*n); return;
        case 9: if (n) g.Min = static_cast<float>(*n); return;
        case 10: if (n) g.Avr = static_cast<float>(*n); return;
        case 11: if (const auto d = VariantDate(value)) g.MaxDate = *d; return;
        case 12: if (const auto d = VariantDate(value)) g.MinDate = *d; return;
        default: break;
        }
    }
}

// The column "Gas1<name>" (gas 0) or "Gas2<name>" (gas 1) of the current row.
inline QVariant GasCol(const QSqlQuery& q, int gas, const char* name)
{
    const QString p = gas == 0 ? QStringLiteral("Gas1") : QStringLiteral("Gas2");
    return q.value(p + QLatin1String(name));
}

// The gas columns of a Log_Head row with their Null defaults: the name (a
// stored blank reads as empty), scale, levels, statistics and the enabled
// flag, as far as G holds them. The unit is read by ReadLogHead.
template <class G>
void ReadHeadGas(const QSqlQuery& q, int gas, G& gi)
{
    using namespace records_db;
    auto col = [&](const char* name) { return GasCol(q, gas, name); };
    gi.Name = EmptyIfBlank(ReadText(col("Name"), QString()));
    gi.Full = ReadFloat(col("Full"), -101.0f);
    gi.Desit = ReadFloat(col("Desit"), -101.0f);
    gi.Point = ReadShort(col("Point"), -101);
    if constexpr (kHasLevels<G>) {
        gi.Warn = ReadFloat(col("Warn"), -101.0f);
        gi.Alarm = ReadFloat(col("Alarm"), -101.0f);
    }
    if constexpr (kHasStatistics<G>) {
        gi.Avr = ReadFloat(col("Avr"), -101.0f);
        gi.Max = ReadFloat(col("Max"), -101.0f);
        gi.Min = ReadFloat(col("Min"), -101.0f);
        gi.MaxDate = ReadDateFast(col("MaxDate"), DisabledDate());
        gi.MinDate = ReadDateFast(col("MinDate"), DisabledDate());
    }
    gi.Enabled = ReadDbBool(col("Enable"), true);
}

// An identity column (UserID, StationID, SerialNo) of a Log_Head row: Null
// and blank read as "*".
inline QString ReadIdentity(const QSqlQuery& q, const char* name)
{
    using namespace records_db;
    return NzStar(ReadText(Col(q, name), QStringLiteral(" ")));
}

// The head columns of a Log_Head row with their Null defaults: Names (a
// stored blank reads as empty), Dates (now), the identity and Interval, as
// far as H holds them. FolderID is read by ReadLogHead.
template <class H>
void ReadHeadBase(const QSqlQuery& q, H& h)
{
    using namespace records_db;
    if constexpr (kHasNames<H>)
        h.names = EmptyIfBlank(ReadText(Col(q, "Names"), QStringLiteral("Name None")));
    h.dates = ReadDateFast(Col(q, "Dates"), Now());
    h.userID = ReadIdentity(q, "UserID");
    h.stationID = ReadIdentity(q, "StationID");
    h.serialNo = ReadIdentity(q, "SerialNo");
    if constexpr (kHasInterval<H>)
        h.interval = ReadInt(Col(q, "Interval"), 0);
}

// What a kind of record reads from its Log_Head row where the row is Null
// or a text field holds the one blank that stands for empty.
struct HeadReadRules {
    QString folderID;  // FolderID when Null
    QString gasUnit;   // a gas's Unit when Null
    bool readsGasUnit; // false: the record keeps the units it has
};

// The rules of each kind. A power event's head has no stored units (its
// insert writes none), so the record keeps its own.
inline const HeadReadRules kIntervalHeadRules{QStringLiteral("00/00"), QString(), true};
inline const HeadReadRules kAlarmHeadRules{QStringLiteral("00/00"), QString(), true};
inline const HeadReadRules kHistoryHeadRules{QStringLiteral("00/00"), QString(), true};
inline const HeadReadRules kPowerEventHeadRules{QStringLiteral("00/00"), QString(), false};

// The Log_Head row with key seqNo into the head h of a record: the head
// columns, FolderID and both gases (name, scale, levels, statistics,
// enabled flag, unit) as far as H holds them. A stored blank text reads as
// empty, whichever kind wrote it. False when there is no such row (h is
// left as it was).
template <class H>
bool ReadLogHead(LogDb& db, qint64 seqNo, H& h, const HeadReadRules& rules)
{
    using namespace records_db;
    Statement s(db, QStringLiteral("Select * From Log_Head Where SeqNo=?;"));
    QSqlQuery& q = s.Select({seqNo});
    if (!q.next())
        return false;
    ReadHeadBase(q, h);
    h.folderID = EmptyIfBlank(ReadText(Col(q, "FolderID"), rules.folderID));
    for (int g = 0; g < 2; ++g) {
        auto& gi = h.gas[static_cast<size_t>(g)];
        ReadHeadGas(q, g, gi);
        if (rules.readsGasUnit)
            gi.Unit = EmptyIfBlank(ReadText(GasCol(q, g, "Unit"), rules.gasUnit));
    }
    return true;
}

// The moment and identity that tell a stored trend (Dates, UserID,
// StationID, SerialNo).
template <class H>
QVariantList TrendMomentKey(const H& h)
{
    return {records_db::DbDateFast(h.dates), NzStar(h.userID), NzStar(h.stationID),
            NzStar(h.serialNo)};
}

// The first values of a trend's Log_Head row: SeqNo, Names (a blank for
// none), Dates, Model ("*" without an instrument), UserID, StationID,
// SerialNo, Types, RomNum (0 without an instrument) and Interval.
template <class H>
QVariantList TrendHeadValues(qint64 head, const H& h, const clsInstrument* in, int types)
{
    using namespace records_db;
    return {head,
            BlankIfEmpty(h.names),
            DbDateFast(h.dates),
            in ? NzStar(in->Model()) : QStringLiteral("*"),
            NzStar(h.userID),
            NzStar(h.stationID),
            NzStar(h.serialNo),
            types,
            in ? in->RomNumber() : 0,
            h.interval};
}

// The values of the one Log_Head row an instrument has for a kind of
// record: SeqNo, Names, Dates, Model, the identity (UserID, StationID,
// SerialNo), Types, RomNum, FolderID "-----" and Dcount.
inline QVariantList InstrumentHeadValues(qint64 head, const QString& names, const QVariant& date,
                                         const clsInstrument& in, const QVariantList& identity,
                                         int types, qint64 dcount)
{
    QVariantList v{head, names, date, NzStar(in.Model())};
    v << identity << types << in.RomNumber() << QStringLiteral("-----") << dcount;
    return v;
}

// A stored reading of a gas: -101 (no value) when Null or when the gas is
// not enabled.
inline float ReadGasReading(const QVariant& value, bool gasEnabled)
{
    return (value.isNull() || !gasEnabled) ? -101.0f : records_db::ReadFloat(value, -101.0f);
}

} // namespace records_head
