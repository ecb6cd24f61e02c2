#pragma once
#include <QString>

class clsInstrument;

// The caption of one gas of an instrument ("CO(500ppm)" with the scale,
// "CO(ppm)" without; "----(---)" for a gas without a name), built by the
// common caption rule.
QString InstrumentGasCaption(const clsInstrument& instrument, int gas, bool withScale);
