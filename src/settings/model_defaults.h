#pragma once
#include <QString>

class clsInstrument;

// The four factory configurations that the model buttons write into an
// instrument: 0 KV-1 Domestic, 1 KV-1 Foreign, 2 KV-2 Domestic,
// 3 KV-2 Foreign.
constexpr int kModelTypeCount = 4;

// Writes the complete configuration of model type (both gases' names, units,
// resolution, full scale and set points, and the instrument-wide options)
// into instrument through its setters, so every change flag rises and the
// next settings upload sends all of them. Identity, model code and
// calibration values are left alone. Any other type changes nothing.
void LoadModelDefaults(int type, clsInstrument& instrument);

// The button caption of model type from the string table ("" for any other).
QString ModelCaption(int type);
