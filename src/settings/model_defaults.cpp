#include "settings/model_defaults.h"

#include "common/resstrings.h"
#include "records/instrument.h"

#include <array>
#include <cstdint>

namespace {

struct GasDefaults {
    const char* name;
    float desit;
    std::int16_t point;
    const char* unit;
    float fullScale;
    float warning, alarm, stel, twa, autoCalib;
};

struct ModelDefaults {
    GasDefaults gas[2];
    const char* specType;
    const char* oxyAlarmType;
    const char* alarmPassword;
    const char* warmDisp;
};

// Domestic models pair the oxygen warning 19.5 with a lower alarm (falling
// pair, "00"); foreign models with a higher one (rising pair, "01").
constexpr float kNone = -101.0f;
constexpr GasDefaults kOxy(float alarm) { return {"OXY", 0.1f, 1, "VOL%", 40, 19.5f, alarm, kNone, kNone, 0}; }

constexpr std::array<ModelDefaults, kModelTypeCount> kModels{{
    {{{"CO", 1.0f, 0, "ppm", 500, 50, 150, 200, 50, 50}, kOxy(18.0f)}, "00", "00", "01", "00"},
    {{{"CO", 1.0f, 0, "ppm", 1500, 25, 50, 200, 25, 80}, kOxy(23.5f)}, "01", "01", "00", "00"},
    {{{"H2S", 0.5f, 1, "ppm", 100, 10, 30, 15, 10, 25}, kOxy(18.0f)}, "00", "00", "01", "01"},
    {{{"H2S", 0.5f, 1, "ppm", 100, 10, 30, 15, 10, 25}, kOxy(23.5f)}, "01", "01", "00", "01"},
}};

} // namespace

void LoadModelDefaults(int type, clsInstrument& instrument)
{
    if (type < 0 || type >= kModelTypeCount)
        return;
    const ModelDefaults& m = kModels[static_cast<size_t>(type)];
    for (int g = 0; g < 2; ++g) {
        const GasDefaults& d = m.gas[g];
        instrument.SetGasName(g, QString::fromLatin1(d.name));
        instrument.SetGasDesit(g, d.desit);
        instrument.SetGasPoint(g, d.point);
        instrument.SetGasUnit(g, QString::fromLatin1(d.unit));
        instrument.SetGasFullScale(g, d.fullScale);
        instrument.SetGasEnabled(g, true);
        instrument.SetWarning(g, d.warning);
        instrument.SetAlarm(g, d.alarm);
        instrument.SetStel(g, d.stel);
        instrument.SetTwa(g, d.twa);
        instrument.SetAutoCalib(g, d.autoCalib);
    }
    instrument.SetSpecType(QString::fromLatin1(m.specType));
    instrument.SetColdDistricts(QStringLiteral("01"));
    instrument.SetOxyAlarmType(QString::fromLatin1(m.oxyAlarmType));
    instrument.SetWarningType(QStringLiteral("01"));
    instrument.SetAlarmType(QStringLiteral("01"));
    instrument.SetVibration(QStringLiteral("02"));
    instrument.SetBackLight(20);
    instrument.SetAlarmPassword(QString::fromLatin1(m.alarmPassword));
    instrument.SetWarmDisp(QString::fromLatin1(m.warmDisp));
    instrument.SetWarmTime(15);
}

QString ModelCaption(int type)
{
    if (type < 0 || type >= kModelTypeCount)
        return QString();
    return GetResString(10000 + type);
}
