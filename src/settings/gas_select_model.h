#pragma once
#include "common/appstate.h"

#include <QString>
#include <array>

// The replacement-gas dialog as data: which entries of a channel's list it
// offers, their captions, and where the option buttons go. The index of an
// option is the index of its list entry (hidden entries leave gaps), so the
// choice is the entry the caller loads. Entry 8 is never offered.

constexpr int kGasOptionCount = 8;

struct GasListLayout {
    std::array<bool, kGasOptionCount> shown{};
    std::array<QString, kGasOptionCount> captions{};
    int count = 0;   // options shown
    int perRow = 0;  // places per row
    int rows = 1;
};

// The list of channel gasNo (0 or 1) of a replacement table: up to four
// options in one row, more in two rows of half the count (rounded up).
GasListLayout BuildGasList(const GasTable& table, int gasNo);

// Geometry in twips.
struct TwipsRect {
    double left = 0, top = 0, width = 0, height = 0;
};

// The smallest size of the dialog: 3000 x 2500 twips.
constexpr double kGasSelectMinWidth = 3000;
constexpr double kGasSelectMinHeight = 2500;

// The place of the k-th shown option (k from 0 in entry order) in a frame
// of the given size. Shown options fill the places in order, so a list with
// hidden entries leaves no option without a place.
TwipsRect GasOptionPlace(const GasListLayout& layout, int k, double frameWidth, double frameHeight,
                         double optionHeight);

// The frame and the j-th of `buttons` buttons for a window's inner size.
TwipsRect GasSelectFramePlace(double width, double height, double buttonHeight);
TwipsRect GasSelectButtonPlace(int j, int buttons, double width, double frameHeight, double buttonHeight);
