// Reloading a stored head: every kind of record reads Null and blank text
// fields by the same rules, and each kind captions its gases.
#include "record_fixture.h"

#include "common/gascaption.h"
#include "records/alarm.h"
#include "records/history.h"
#include "records/instrument.h"
#include "records/interval.h"
#include "records/power_event.h"

namespace {

// The text fields of a reloaded head.
struct HeadTexts {
    QString names, folder, user, gasName, gasUnit;
};

template <class R>
HeadTexts Reloaded(qint64 seqNo)
{
    R r;
    r.SetSeqNo(seqNo);
    EXPECT_TRUE(r.ReLoad());
    return {r.GasBaseInfo(0).toString(), r.GasBaseInfo(5).toString(), r.GasBaseInfo(2).toString(),
            r.GasListInfo(0, 0).toString(), r.GasListInfo(0, 14).toString()};
}

void ExpectTexts(const HeadTexts& got, const HeadTexts& want, const char* kind)
{
    EXPECT_EQ(got.names, want.names) << kind;
    EXPECT_EQ(got.folder, want.folder) << kind;
    EXPECT_EQ(got.user, want.user) << kind;
    EXPECT_EQ(got.gasName, want.gasName) << kind;
    EXPECT_EQ(got.gasUnit, want.gasUnit) << kind;
}

} // namespace

class HeadReload : public RecordDbTest {};

TEST_F(HeadReload, NullAndBlankTextFieldsReadTheSameForEveryKind)
{
    // Head 1: every text field Null. Head 2: every text field the one blank
    // that an empty text is stored as.
    Exec(QStringLiteral("Insert Into Log_Head(SeqNo,Types) Values (1,1)"));
    Exec(QStringLiteral(
        "Insert Into Log_Head(SeqNo,Types,Names,UserID,StationID,SerialNo,FolderID,"
        "Gas1Name,Gas1Unit,Gas2Name,Gas2Unit) Values (2,1,' ',' ',' ',' ',' ',' ',' ',' ',' ')"));

    // Null: the kind's defaults. Blank: empty. A power event keeps its own
    // (empty) units, and a calibration history has no name.
    const HeadTexts nullTrend{"Name None", "00/00", "*", "", ""};
    const HeadTexts blank{"", "", "*", "", ""};
    const HeadTexts nullHistory{"", "00/00", "*", "", ""};
    ExpectTexts(Reloaded<clsInterval>(1), nullTrend, "interval");
    ExpectTexts(Reloaded<clsAlarm>(1), nullTrend, "alarm");
    ExpectTexts(Reloaded<clsPowerEvent>(1), nullTrend, "power event");
    ExpectTexts(Reloaded<clsHistory>(1), nullHistory, "history");
    ExpectTexts(Reloaded<clsInterval>(2), blank, "interval");
    ExpectTexts(Reloaded<clsAlarm>(2), blank, "alarm");
    ExpectTexts(Reloaded<clsPowerEvent>(2), blank, "power event");
    ExpectTexts(Reloaded<clsHistory>(2), blank, "history");
}

TEST_F(HeadReload, StoredUnitsAndFolderReadBackAsStored)
{
    Exec(QStringLiteral(
        "Insert Into Log_Head(SeqNo,Types,Names,UserID,FolderID,Gas1Name,Gas1Full,Gas1Unit) "
        "Values (3,1,'Trend','USER1','01/02','CO',500,'ppm')"));
    const HeadTexts stored{"Trend", "01/02", "USER1", "CO", "ppm"};
    ExpectTexts(Reloaded<clsInterval>(3), stored, "interval");
    ExpectTexts(Reloaded<clsAlarm>(3), stored, "alarm");
    ExpectTexts(Reloaded<clsHistory>(3), {"", "01/02", "USER1", "CO", "ppm"}, "history");
    // The power event's head holds no units: it keeps its own.
    ExpectTexts(Reloaded<clsPowerEvent>(3), {"Trend", "01/02", "USER1", "CO", ""}, "power event");
}

TEST(GasCaptionOfRecords, EveryKindCaptionsItsGases)
{
    auto fill = [](auto& r) {
        r.SetGasListInfo(0, 0, QStringLiteral("CO"));
        r.SetGasListInfo(0, 1, 500.0f);
        r.SetGasListInfo(0, 14, QStringLiteral("ppm"));
    };
    clsInterval interval;
    clsAlarm alarm;
    clsHistory history;
    fill(interval);
    fill(alarm);
    fill(history);
    clsInstrument instrument;
    instrument.SetGasName(0, QStringLiteral("CO"));
    instrument.SetGasFullScale(0, 500.0f);
    instrument.SetGasUnit(0, QStringLiteral("ppm"));

    const GasCaptionSource* sources[] = {&interval, &alarm, &history, &instrument};
    for (const GasCaptionSource* source : sources) {
        EXPECT_EQ(GasCaption(source, 0, true), "CO(500ppm)");
        EXPECT_EQ(GasCaption(source, 0, false), "CO(ppm)");
        // A gas without a name, and one the record does not hold.
        EXPECT_EQ(GasCaption(source, 1, true), "----(---)");
        EXPECT_EQ(GasCaption(source, 7, true), "----(---)");
    }
}
