#include "browser/lastcal.h"

#include "records/head_query.h"

#include "common/dates.h"
#include "common/errors.h"
#include "common/gascaption.h"
#include "common/gasvalue.h"
#include "common/resstrings.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <optional>

namespace browser {

namespace {

const QString kNoGas = QStringLiteral("----(---)");
const QString kNone = QStringLiteral("-----");

struct GasCal {
    QString label;
    QDateTime calDate;
    float before = 0, after = 0, autoCal = 0, full = 0;
    std::int16_t points = 0;
};

struct LatestRow {
    HistoryIdentity id;
    QDateTime writeDate;
    GasCal gas[2];
};

float Float(const QVariant& v)
{
    return v.isNull() ? 0.0f : v.toFloat();
}

std::vector<LatestRow> ReadLatest(LogDb& db)
{
    db.RequireOpen();
    QSqlQuery q(db.Db());
    q.setForwardOnly(true);
    const QString sql = QStringLiteral("Select * From cLatestHist Order By WriteDates Desc, SeqNo Desc;");
    if (!q.exec(sql))
        RaiseSqlError(db, sql, q.lastError());
    std::vector<LatestRow> rows;
    while (q.next()) {
        LatestRow r;
        r.id = {IdentityText(q.value(QStringLiteral("SerialNo"))), IdentityText(q.value(QStringLiteral("UserID"))),
                IdentityText(q.value(QStringLiteral("StationID")))};
        r.writeDate = IsoToDate(q.value(QStringLiteral("WriteDates")).toString());
        for (int g = 0; g < 2; ++g) {
            const auto col = [&](const char* name) {
                return q.value(QStringLiteral("Gas%1%2").arg(g + 1).arg(QLatin1String(name)));
            };
            GasCal& c = r.gas[g];
            c.full = Float(col("Full"));
            c.label = FormatGasLabel(col("Name").toString(), col("Unit").toString(), c.full);
            c.calDate = IsoToDate(col("CalDate").toString());
            c.before = Float(col("Before"));
            c.after = Float(col("After"));
            c.autoCal = Float(col("AutoCal"));
            c.points = col("Point").isNull() ? std::int16_t(0) : static_cast<std::int16_t>(col("Point").toInt());
        }
        rows.push_back(std::move(r));
    }
    return rows;
}

bool Valid(const QDateTime& d)
{
    return d.isValid() && d.date().year() >= 2000;
}

// The date by which the list orders instruments for calibration: the older
// of the present gases' dates; none (first of all) when one is missing.
std::optional<QDateTime> DueDate(const LatestRow& r)
{
    std::optional<QDateTime> due;
    for (const GasCal& g : r.gas) {
        if (g.label == kNoGas)
            continue;
        if (!Valid(g.calDate))
            return std::nullopt;
        if (!due || g.calDate < *due)
            due = g.calDate;
    }
    return due;
}

void AlignPass(GridModel& g, int textCols, CellAlign values)
{
    g.AlignRange(0, 0, 0, g.Cols() - 1, CellAlign::Center);
    g.AlignRange(1, 0, g.Rows() - 1, 0, CellAlign::Center);
    g.AlignRange(1, 1, g.Rows() - 1, textCols - 1, CellAlign::Left);
    g.AlignRange(1, textCols, g.Rows() - 1, g.Cols() - 1, values);
}

} // namespace

QString FormatDateIfValid(const QDateTime& date)
{
    return Valid(date) ? GeneralDate(date) : QString();
}

HistoryGrid BuildHistoryGrid(LogDb& db, HistoryLayout layout)
{
    HistoryGrid out;
    GridModel& g = out.grid;
    std::vector<LatestRow> rows = ReadLatest(db);
    const int n = static_cast<int>(rows.size());
    out.empty = n == 0;
    out.identities.resize(1);
    if (layout == HistoryLayout::CalibrationRecord) {
        g.Reset(n == 0 ? 1 : 2 * n + 1, 8);
        g.SetRow(0, 0, false, GetResString(5662).split(QLatin1Char('|')));
        for (int i = 0; i < n; ++i) {
            const LatestRow& r = rows[static_cast<size_t>(i)];
            for (int gas = 0; gas < 2; ++gas) {
                const GasCal& c = r.gas[gas];
                QStringList cells;
                if (gas == 0)
                    cells << QString::number(i + 1) << r.id.serialNo << r.id.userID << r.id.stationID;
                else
                    cells << QString() << QString() << QString() << QString();
                cells << c.label;
                if (c.label == kNoGas) {
                    cells << kNone << kNone << kNone;
                } else {
                    const auto value = [&](float v) {
                        return v <= c.full ? FormatGasValue(v, c.points) : QStringLiteral("OVER");
                    };
                    cells << value(c.before) << value(c.after) << FormatGasValue(c.autoCal, c.points);
                }
                g.SetRow(2 * i + 1 + gas, 0, false, cells);
                out.identities.push_back(gas == 0 ? r.id : HistoryIdentity{});
            }
        }
        AlignPass(g, 5, CellAlign::Center);
        return out;
    }

    out.wrapRows = true;
    // The gas captions of the header are the newest download's.
    const QStringList header = n == 0 ? QStringList()
        : GetResString(5661, rows[0].gas[0].label, rows[0].gas[1].label).split(QLatin1Char('|'));
    if (layout == HistoryLayout::NeedCalibration)
        std::stable_sort(rows.begin(), rows.end(), [](const LatestRow& a, const LatestRow& b) {
            const auto da = DueDate(a);
            const auto db = DueDate(b);
            if (!da || !db)
                return !da && db;
            return *da < *db;
        });
    g.Reset(n + 1, 7);
    g.SetRow(0, 0, false, header);
    for (int i = 0; i < n; ++i) {
        const LatestRow& r = rows[static_cast<size_t>(i)];
        QStringList cells{QString::number(i + 1), r.id.serialNo, r.id.userID, r.id.stationID};
        for (const GasCal& c : r.gas)
            cells << (c.label == kNoGas ? kNone : FormatDateIfValid(c.calDate));
        cells << FormatDateIfValid(r.writeDate);
        g.SetRow(i + 1, 0, false, cells);
        out.identities.push_back(r.id);
    }
    AlignPass(g, 4, CellAlign::Left);
    return out;
}

} // namespace browser
