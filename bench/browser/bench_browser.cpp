// The stored-data browser against bare baselines of the same work:
// - the whole tree of 100,000 heads with every level on, built and turned
//   into tree items, against one plain SELECT of the same columns and as
//   many items; once from nothing in every round, and once as the data
//   panel rebuilds it (the new tree replaces the one shown, so the memory
//   of the old one is used again);
// - the list of a kind node with 1,000 records against a plain SELECT of
//   the same rows and columns and as many list items;
// - deleting a serial node (10,000 heads, 1,000,000 sample rows out of
//   2,000,000) against a bare DELETE ... WHERE RelNo IN (...) of the same
//   sample rows in one transaction.
// Run from a Release build: bench_browser --benchmark_min_time=1
#include "browser/deletion.h"
#include "browser/log_list.h"
#include "browser/log_tree.h"

#include "common/logdb.h"
#include "common/paths.h"

#include <QApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTreeWidgetItem>
#include <benchmark/benchmark.h>
#include <memory>

using namespace browser;

namespace {

QTemporaryDir& Dir()
{
    // PELKAR_BENCH_KEEP keeps the databases for a look afterwards.
    static QTemporaryDir dir = [] {
        QTemporaryDir d;
        d.setAutoRemove(qEnvironmentVariableIsEmpty("PELKAR_BENCH_KEEP"));
        return d;
    }();
    return dir;
}

void Must(QSqlQuery& q)
{
    if (!q.exec())
        qFatal("bench setup failed");
}

// 50 serials x 4 stations x 5 users x 10 month folders x 10 records, the
// kinds taken in turn, plus one folder of 1,000 interval trends.
const QString& TreeDb()
{
    static const QString path = [] {
        const QString p = Dir().filePath("tree.db");
        CreateLogDatabase(p);
        LogDb db(p);
        DbTransaction tx(db);
        QSqlQuery q(db.Db());
        q.prepare("Insert Into Log_head (SeqNo,SerialNo,StationID,UserID,FolderID,Types,Names,Dates) "
                  "Values (?,?,?,?,?,?,?,?)");
        const int kinds[] = {1, 2, 3, 5, 6, 7};
        qint64 seq = 1;
        const auto add = [&](const QString& s, const QString& t, const QString& u, const QString& f, int k) {
            q.bindValue(0, seq);
            q.bindValue(1, s);
            q.bindValue(2, t);
            q.bindValue(3, u);
            q.bindValue(4, f);
            q.bindValue(5, k);
            q.bindValue(6, QStringLiteral("REC%1").arg(seq));
            q.bindValue(7, QStringLiteral("2026-03-05 10:20:30"));
            ++seq;
            Must(q);
        };
        for (int s = 0; s < 50; ++s)
            for (int t = 0; t < 4; ++t)
                for (int u = 0; u < 5; ++u)
                    for (int m = 0; m < 10; ++m)
                        for (int r = 0; r < 10; ++r)
                            add(QStringLiteral("SN%1").arg(s, 5, 10, QLatin1Char('0')), QStringLiteral("ST%1").arg(t),
                                QStringLiteral("USER%1").arg(u), QStringLiteral("%1/26").arg(m + 1, 2, 10, QLatin1Char('0')),
                                kinds[r % 6]);
        for (int r = 0; r < 1000; ++r)
            add("BIG", "ST0", "USER0", "12/26", 1);
        tx.Commit();
        return p;
    }();
    return path;
}

// Tree items for every node, each under its parent's item.
std::unique_ptr<QTreeWidgetItem> Items(const LogTreeModel& m)
{
    std::vector<QTreeWidgetItem*> items(static_cast<size_t>(m.Size()));
    auto root = std::make_unique<QTreeWidgetItem>(QStringList{m.At(0).text});
    items[0] = root.get();
    for (int i = 1; i < m.Size(); ++i) {
        const LogTreeNode& n = m.At(i);
        auto* item = new QTreeWidgetItem(items[static_cast<size_t>(n.parent)], QStringList{n.text});
        item->setData(0, Qt::UserRole, n.key);
        items[static_cast<size_t>(i)] = item;
    }
    return root;
}

void BM_TreeAllLevels(benchmark::State& state)
{
    LogDb db(TreeDb());
    int nodes = 0;
    for (auto _ : state) {
        const LogTreeModel m = BuildLogTreeModel(db, {true, true, true});
        nodes = m.Size();
        benchmark::DoNotOptimize(Items(m));
    }
    state.counters["nodes"] = nodes;
}
BENCHMARK(BM_TreeAllLevels)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bare baselines' query: one plain SELECT of the tree's columns over
// every head.
void BareHeadScan(LogDb& db)
{
    QSqlQuery q(db.Db());
    q.setForwardOnly(true);
    q.exec("Select SerialNo,StationID,UserID,FolderID,Types From Log_Head");
    qint64 sum = 0;
    while (q.next())
        sum += q.value(0).toString().size() + q.value(4).toInt();
    benchmark::DoNotOptimize(sum);
}

// The bare baselines' items: as many as the tree has nodes, all under one
// root.
std::unique_ptr<QTreeWidgetItem> BareItems(int nodes)
{
    auto root = std::make_unique<QTreeWidgetItem>(QStringList{"root"});
    for (int i = 1; i < nodes; ++i) {
        auto* item = new QTreeWidgetItem(root.get(), QStringList{QStringLiteral("node")});
        item->setData(0, Qt::UserRole, QStringLiteral("key"));
    }
    return root;
}

void BM_TreeBaseline(benchmark::State& state)
{
    LogDb db(TreeDb());
    const int nodes = BuildLogTreeModel(db, {true, true, true}).Size();
    for (auto _ : state) {
        BareHeadScan(db);
        auto root = BareItems(nodes);
        benchmark::DoNotOptimize(root);
    }
    state.counters["nodes"] = nodes;
}
BENCHMARK(BM_TreeBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// As the data panel rebuilds the tree: the new model replaces the one shown,
// then the shown items are cleared and made again.
void BM_TreeRebuild(benchmark::State& state)
{
    LogDb db(TreeDb());
    LogTreeModel shownModel;
    std::unique_ptr<QTreeWidgetItem> shown;
    for (auto _ : state) {
        shownModel = BuildLogTreeModel(db, {true, true, true});
        shown.reset();
        shown = Items(shownModel);
    }
    state.counters["nodes"] = shownModel.Size();
}
BENCHMARK(BM_TreeRebuild)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TreeRebuildBaseline(benchmark::State& state)
{
    LogDb db(TreeDb());
    const int nodes = BuildLogTreeModel(db, {true, true, true}).Size();
    std::unique_ptr<QTreeWidgetItem> shown;
    for (auto _ : state) {
        BareHeadScan(db);
        shown.reset();
        shown = BareItems(nodes);
    }
    state.counters["nodes"] = nodes;
}
BENCHMARK(BM_TreeRebuildBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FolderList(benchmark::State& state)
{
    LogDb db(TreeDb());
    const LogTreeModel m = BuildLogTreeModel(db, {true, true, true});
    int index = -1;
    for (int i = 0; i < m.Size(); ++i)
        if (m.At(i).types == 1 && m.At(m.At(i).parent).text == "12/26")
            index = i;
    for (auto _ : state) {
        const LogListing l = BuildLogListing(db, m, index);
        auto root = std::make_unique<QTreeWidgetItem>();
        for (const LogListRow& r : l.rows) {
            auto* item = new QTreeWidgetItem(root.get(), r.texts);
            item->setData(0, Qt::UserRole, r.key);
        }
        state.counters["rows"] = static_cast<double>(l.rows.size());
    }
}
BENCHMARK(BM_FolderList)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FolderListBaseline(benchmark::State& state)
{
    LogDb db(TreeDb());
    for (auto _ : state) {
        QSqlQuery q(db.Db());
        q.setForwardOnly(true);
        q.prepare("Select SeqNo,Names,SerialNo,StationID,UserID,Dates From Log_Head "
                  "Where SerialNo=? And StationID=? And UserID=? And FolderID=? And Types=?");
        q.addBindValue("BIG");
        q.addBindValue("ST0");
        q.addBindValue("USER0");
        q.addBindValue("12/26");
        q.addBindValue(1);
        q.exec();
        auto root = std::make_unique<QTreeWidgetItem>();
        int rows = 0;
        while (q.next()) {
            auto* item = new QTreeWidgetItem(root.get(), QStringList{q.value(1).toString(), q.value(2).toString(),
                                                                     q.value(3).toString(), q.value(4).toString(),
                                                                     q.value(5).toString()});
            item->setData(0, Qt::UserRole, q.value(0));
            ++rows;
        }
        state.counters["rows"] = rows;
    }
}
BENCHMARK(BM_FolderListBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// 20,000 interval heads of two serials, 100 samples each.
const QString& DeleteTemplate()
{
    static const QString path = [] {
        const QString p = Dir().filePath("delete-template.db");
        CreateLogDatabase(p);
        LogDb db(p);
        DbTransaction tx(db);
        QSqlQuery h(db.Db());
        h.prepare("Insert Into Log_head (SeqNo,SerialNo,StationID,UserID,FolderID,Types) Values (?,?,'ST','U','01/26',1)");
        QSqlQuery d(db.Db());
        d.prepare("Insert Into Interval_Data (SeqNo,RelNo,Datetimes,Gas1Value,Gas2Value) Values (?,?,'2026-01-01 00:00:00',1.5,20.9)");
        qint64 sample = 1;
        for (qint64 head = 1; head <= 20000; ++head) {
            h.bindValue(0, head);
            h.bindValue(1, head % 2 ? QStringLiteral("KEEP") : QStringLiteral("GONE"));
            Must(h);
            for (int i = 0; i < 100; ++i) {
                d.bindValue(0, sample++);
                d.bindValue(1, head);
                Must(d);
            }
        }
        tx.Commit();
        return p;
    }();
    return path;
}

// A fresh copy of the template for one iteration (not timed).
QString FreshCopy(benchmark::State& state)
{
    state.PauseTiming();
    const QString p = Dir().filePath("delete.db");
    QFile::remove(p);
    QFile::copy(DeleteTemplate(), p);
    state.ResumeTiming();
    return p;
}

void BM_DeleteSerialNode(benchmark::State& state)
{
    DeleteTemplate();
    for (auto _ : state) {
        LogDb db(FreshCopy(state));
        DeleteNodeData(db, {{HeadColumn::SerialNo, QStringLiteral("GONE")}});
    }
}
BENCHMARK(BM_DeleteSerialNode)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_DeleteBaseline(benchmark::State& state)
{
    DeleteTemplate();
    for (auto _ : state) {
        LogDb db(FreshCopy(state));
        db.Db().transaction();
        QSqlQuery q(db.Db());
        q.exec("Delete From Interval_Data Where RelNo In (Select SeqNo From Log_Head Where SerialNo='GONE')");
        db.Db().commit();
    }
}
BENCHMARK(BM_DeleteBaseline)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
