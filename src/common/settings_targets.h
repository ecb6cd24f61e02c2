#pragma once
#include <cstdint>

// What the settings file reads and writes outside the module state: the main
// window's size and its three data-selection boxes, and the trend graph's
// colours. The main window and the graph control implement these; tests bind
// plain objects. Sizes are in twips, colours are Windows colour numbers.

class WindowSettingsTarget {
public:
    virtual ~WindowSettingsTarget() = default;
    // 0 normal, 1 minimised, 2 maximised.
    virtual int WindowState() const = 0;
    virtual void SetWindowState(int state) = 0;
    virtual int WindowWidth() const = 0;
    virtual void SetWindowWidth(int twips) = 0;
    virtual int WindowHeight() const = 0;
    virtual void SetWindowHeight(int twips) = 0;
    // chkLog(index), index 0 to 2: 0 cleared, 1 ticked.
    virtual int ChkLog(int index) const = 0;
    virtual void SetChkLog(int index, int value) = 0;
};

class GraphColorTarget {
public:
    virtual ~GraphColorTarget() = default;
    virtual std::int32_t ScaleColor() const = 0;
    virtual void SetScaleColor(std::int32_t color) = 0;
    virtual std::int32_t BackColor() const = 0;
    virtual void SetBackColor(std::int32_t color) = 0;
    virtual std::int32_t CursorColor() const = 0;
    virtual void SetCursorColor(std::int32_t color) = 0;
};
