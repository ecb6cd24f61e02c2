#pragma once
#include "records/instrument.h"

#include <QString>
#include <QStringList>
#include <array>

// The factory settings dialog's table, free of widgets: the instrument's
// function settings that the settings pane does not show, edited on a
// working copy and written back on OK only where the user changed them, so
// that the next settings upload sends exactly those.
//
// Rows (row 0 holds no setting): 1 program number and 2 checksum (read
// only), 3 manufacture number, 4 destination, 5 cold districts, 6 oxygen
// alarm type, 7 warning condition, 8 alarm condition, 9 vibration,
// 10 back-light time (0..60 s), 11 alarm password, 12 warm-up display,
// 13 warm-up time (0..255, editable only while row 12 is "ON").
class FactorySettings {
public:
    enum Row {
        ProgramNo = 1,
        Sum,
        ManufactureNo,
        Destination,
        ColdDistricts,
        OxyAlarmType,
        WarningCondition,
        AlarmCondition,
        Vibration,
        BackLight,
        AlarmPassword,
        WarmDisp,
        WarmTime,
        RowCount
    };
    enum class Kind { ReadOnly, Text, Choice, Number };
    static constexpr int kManufactureMaxLength = 12;

    // Takes a working copy of instrument's settings (its change flags
    // cleared) and fills the rows from it; rows 1 and 2 show instrument's
    // program number ("00000") and checksum.
    explicit FactorySettings(const clsInstrument& instrument);

    QString Caption(int row) const;
    Kind RowKind(int row) const;
    // The text in the value column; "" for a row outside 1..13.
    QString Value(int row) const;
    // A choice row's list (in the display language); empty for other rows.
    QStringList Choices(int row) const;

    // Rows 1 and 2 never; row 13 not while row 12 shows "OFF".
    bool CanEdit(int row) const;
    // Whether entry may stand in row. An entry that is empty after trimming
    // is accepted in every row; row 3 refuses 13 or more characters and any
    // character an identity field does not take; row 10 wants a number
    // whose whole value is 0..60, row 13 0..255.
    bool Validate(int row, const QString& entry) const;
    // Puts an edited text into row; false (nothing changes) when the row
    // cannot be edited or the entry is refused.
    bool SetValue(int row, const QString& text);

    // The instrument code of a choice row's text ("00", "01", "02"); ""
    // for any other row.
    QString RowCode(int row) const;

    // OK: writes the rows into the working copy where they differ from it
    // (an emptied number keeps its old value; a choice row the user left as
    // it was filled keeps its code, even one its list does not hold), then
    // copies the changed settings into target with their change flags.
    void Accept(clsInstrument& target);

private:
    void ReadRows();

    clsInstrument m_work;
    std::array<QString, RowCount> m_values;
    std::array<QString, RowCount> m_filled;
};

// Copies the function settings (manufacture number, options, back-light and
// warm-up times) and the per-gas configuration and set points from src into
// dst through dst's setters. With onlyChanged an item is copied only when
// its change flag in src is set.
void CopyInstrumentSettings(clsInstrument& dst, const clsInstrument& src, bool onlyChanged);

// Text typed or pasted into the manufacture number: only the characters an
// identity field takes, at most 12 of them.
QString FilterManufactureText(const QString& text);
