#pragma once
#include <QDateTime>
#include <QString>
#include <cstdint>

// Per-gas information of a trend head with alarm levels, as the alarm trend
// and the power events hold it (GasListInfo indexes in brackets).
struct HeadGasInfo {
    QString Name;              // [0]
    float Full = -101.0f;      // [1]
    float Desit = -101.0f;     // [2]
    std::int16_t Point = -101; // [3]
    float Warn = -101.0f;      // [4] the instrument's warning level
    float Alarm = -101.0f;     // [5] the instrument's alarm level
    float Max = -101.0f;       // [8]
    float Min = -101.0f;       // [9]
    float Avr = -101.0f;       // [10]
    QDateTime MaxDate;         // [11]
    QDateTime MinDate;         // [12]
    bool Enabled = false;      // [13]
    QString Unit;              // [14]
};
