#pragma once
#include "records/alarm.h"
#include "records/history.h"
#include "records/interval.h"
#include "records/power_event.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <unordered_map>

// Record kinds (Log_Head.Types) the views show.
enum ViewKind : int {
    kViewNone = 0,
    kViewInterval = 1,
    kViewAlarm = 2,
    kViewHistory = 3,
    kViewAlarmEvents = 5,
    kViewTroubleEvents = 6,
    kViewPowerEvents = 7,
};

// The record objects of one view, one per kind; a load replaces the one of
// its kind and leaves the others as they were.
struct ViewRecords {
    clsInterval interval;
    clsAlarm alarm;
    clsHistory history;
    clsPowerEvent power;
};

// The facts of one gas of a record that the views read (GasListInfo), with
// the record's empty values read as False, 0 or "".
struct GasFacts {
    QString name;
    float full = 0;
    std::int16_t point = 0;
    bool on = false;
    QString unit;
    float avg = 0;
    float max = 0;
    float min = 0;
    QDateTime maxDate;
    QDateTime minDate;
};

template <class R>
GasFacts GasFactsOf(const R& record, int gas)
{
    GasFacts f;
    f.name = record.GasListInfo(gas, 0).toString();
    f.full = record.GasListInfo(gas, 1).toFloat();
    f.point = static_cast<std::int16_t>(record.GasListInfo(gas, 3).toInt());
    f.on = record.GasListInfo(gas, 13).toBool();
    f.unit = record.GasListInfo(gas, 14).toString();
    f.avg = record.GasListInfo(gas, 10).toFloat();
    f.max = record.GasListInfo(gas, 8).toFloat();
    f.min = record.GasListInfo(gas, 9).toFloat();
    f.maxDate = record.GasListInfo(gas, 11).toDateTime();
    f.minDate = record.GasListInfo(gas, 12).toDateTime();
    return f;
}

// The column heading of a gas with its full scale, "CO(500ppm)"; "----(---)"
// for a gas without a name.
QString GasHeading(const GasFacts& gas);

// A reading or status code as the views show it: F is the plain text, C
// the same with a reading above full scale or below 0 shown as "OVER".
QString ValueText(float value, const GasFacts& gas);
QString ValueTextOver(float value, const GasFacts& gas);

// ValueTextOver of one gas, each distinct value formatted once: a long
// trend repeats its readings many times over.
class ValueTextsOver {
public:
    explicit ValueTextsOver(const GasFacts& gas) : m_gas(gas) {}
    const QString& operator()(float value);

private:
    const GasFacts& m_gas;
    std::unordered_map<std::uint32_t, QString> m_texts; // by the value's bits
};
