#include "browser/log_list.h"

#include "browser/browser_keys.h"

#include "common/dates.h"
#include "common/resstrings.h"

namespace browser {

namespace {
QString Cell(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}
}

LogListing BuildLogListing(LogDb& db, const LogTreeModel& model, int index)
{
    LogListing out;
    if (index < 0 || index >= model.Size())
        return out;
    const LogTreeNode& node = model.At(index);
    const RecordKind* kind = KindOfNodeLetter(node.letter);
    if (!kind) {
        out.columns = {{QStringLiteral("DataName"), 0.3}, {QStringLiteral("Type"), 0.25},
                       {QStringLiteral("Date/Time"), 0.44}};
        for (int c : node.children) {
            const LogTreeNode& child = model.At(c);
            out.columns[0].caption = LevelCaption(child.letter);
            out.rows.push_back({child.key, {child.text, QString(), QString()}, QStringLiteral("CloseFolder")});
        }
        return out;
    }
    out.records = true;
    // Without room for every text, the identity columns give way first,
    // then the name.
    out.columns = {{QStringLiteral("Name"), 0.25, 2},
                   {QStringLiteral("SerialNo"), 0.16, 1},
                   {QStringLiteral("StationID"), 0.16, 1},
                   {QStringLiteral("UserID"), 0.15, 1},
                   {QStringLiteral("Date/Time"), 0.27}};
    QSqlQuery q = SelectHeads(db, QStringLiteral("SeqNo,Names,SerialNo,StationID,UserID,Dates"), model.Filter(index),
                              QStringLiteral("SeqNo"));
    const QString icon = QLatin1String(kind->icon);
    while (q.next()) {
        LogListRow row;
        row.key = RecordKey(q.value(0).toLongLong(), *kind);
        row.texts = {Cell(q.value(1)).trimmed(), Cell(q.value(2)), Cell(q.value(3)), Cell(q.value(4)),
                     GeneralDate(IsoToDate(Cell(q.value(5))))};
        row.icon = icon;
        out.rows.push_back(std::move(row));
    }
    return out;
}

} // namespace browser
