#pragma once
#include <QString>

// Gas column captions: the name, then in parentheses the unit, optionally
// preceded by the full scale ("CO(500ppm)", "O2(vol%)").

// What a caption needs from an instrument or a stored record. The
// instrument and the interval-trend, alarm-trend and calibration-history
// records implement it; any other object gives no caption.
class GasCaptionSource {
public:
    virtual ~GasCaptionSource() = default;
    // Name, full scale and unit of gas index gas (0 first gas, 1 second).
    virtual QString CaptionGasName(int gas) const = 0;
    virtual float CaptionGasFull(int gas) const = 0;
    virtual QString CaptionGasUnit(int gas) const = 0;
};

// The caption of one gas of obj; "----(---)" for a null object or a name
// that is empty after trimming. The name is used as stored (not trimmed).
QString GasCaption(const GasCaptionSource* obj, int gas, bool withScale);

// The same from loose values: full -1 leaves the number out.
QString FormatGasLabel(const QString& name, const QString& unit, float full);
