#pragma once
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class WindowSettingsTarget;
class GraphColorTarget;

// The display font as the settings file keeps it.
struct FontSetting {
    QString Name = QStringLiteral("Sans Serif");
    float Size = 9.0f;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

// One gas of the configured instrument (the settings file's "Gas Inst").
struct GasSetting {
    QString Name;
    bool Enabled = false;
    std::int16_t Point = 0;
    QString Unit;
    float Warning = 0;
    float Alarm = 0;
    float Stel = 0;
    float Twa = 0;
    float Desit = 0;
    float FullScale = 0;
    float AutoCalib = 0;
};

// One entry of a replacement-gas table.
struct GasEntry {
    bool Enabled = false;
    QString Name;
    bool Locked = false;
    QString Unit;
    float FullScale = 0;
    float Desit = 0;
    std::int16_t Points = 0;
    float Warning = 0;
    float Alarm = 0;
    float Stel = 0;
    float Twa = 0;
    float AutoCal = 0;
};

// Replacement gases: [gas index 0..1][entry index 0..8].
using GasTable = std::array<std::array<GasEntry, 9>, 2>;

// The program-wide state shared by the windows, the interface control and
// the common services. One plain object; tests start from a fresh one with
// ResetAppState(). A fresh object holds what the program has before its
// start-up defaults run (zeros, empty texts, False).
struct AppState {
    // Command-line flags, set once at start-up.
    bool ServiceMode = false; // "-R"
    bool G2Mode = false;      // "-G2"
    bool UMode = false;       // "-U"
    bool DebugMode = false;   // "-DEBUG"

    // Date picture for SQL text (kept for completeness; the database takes
    // dates as bound ISO values).
    QString SqlDateFormat;

    // Port: the COM port number (0 none) and, beside it, the device path the
    // transport opens (empty when the number came from the settings file;
    // see CommDevicePath()).
    std::int16_t CommPort = 0;
    QString CommDevice;
    QString CommSettings = QStringLiteral("921600,n,8,1");
    std::int16_t Retry = 0;
    std::int16_t Timeout = 0;

    // Settings file values.
    std::int32_t ExecuteCount = 0;
    // No settings file was there when the settings were last read: this is
    // the program's first run in its folder.
    bool FirstRun = false;
    bool SerialLogOn = false;
    QString FactoryRecordSuffix;
    bool AutoCalibration = false;
    bool AutoLoad = false;
    bool AutoRemoveData = false;
    std::optional<FontSetting> DisplayFont;
    std::int32_t LimitDays = 0;
    std::array<float, 2> CalibRange{0, 0};
    std::array<GasSetting, 2> CurrentGas{}; // CurrentInstrument's gas configuration
    std::array<bool, 2> GasLocked{false, false};
    std::array<float, 2> FactAutoCal{0, 0};
    std::array<std::int32_t, 2> GraphColor{0, 0}; // per gas
    GasTable ChgGasTable{};   // SpecType "00"
    GasTable ChgGas01Table{}; // every other SpecType
    std::int16_t CalUnitOnWait = 0;
    std::int16_t CalSpanOnWait = 0;
    std::int16_t CalSpanOffWait = 0;
    std::array<float, 2> PrtWidth{0, 0};
    bool CompletelyView = false;
    std::int16_t TrendSearchBefore = 0;
    std::int16_t TrendSearchAfter = 0;
    QString Password;

    // What the settings file reads and writes on the main window and the
    // graph control; null until those bind themselves. While a target is
    // null, the values below stand in for it.
    WindowSettingsTarget* WindowTarget = nullptr;
    GraphColorTarget* GraphTarget = nullptr;
    int WindowState = 1;
    int WindowWidth = 7680;
    int WindowHeight = 5760;
    std::array<int, 3> ChkLog{0, 0, 0};
    std::int32_t GraphScaleColor = 1;
    std::int32_t GraphBackColor = 0xF0F0F0;
    std::int32_t GraphCursorColor = 0xFF4040;

    // Gas value conversion (never switched on).
    bool ConvertOn = false;
    float ConvertFactor = 1.0f;

    // Operating system (informational only).
    QString OsPlatform;
    QString OsVersion;

    // Shared between the windows and the interface control.
    std::int32_t ProcessState = 0;
    bool AnswerReceived = false;
    std::int16_t FramesSent = 0;
    std::int16_t NaksSent = 0;
    std::int16_t ChecksumErrors = 0;
};

// The one program-wide state object.
AppState& App();
// Replaces it with a fresh object (tests).
void ResetAppState();
