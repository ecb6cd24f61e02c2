#include "settings/gas_select_model.h"

#include "common/gascaption.h"

GasListLayout BuildGasList(const GasTable& table, int gasNo)
{
    GasListLayout layout;
    if (gasNo < 0 || gasNo > 1)
        return layout;
    for (int i = 0; i < kGasOptionCount; ++i) {
        const GasEntry& e = table[gasNo][i];
        if (!e.Enabled)
            continue;
        layout.shown[i] = true;
        layout.captions[i] = FormatGasLabel(e.Name, e.Unit, e.FullScale);
        ++layout.count;
    }
    if (layout.count < 5) {
        layout.perRow = layout.count;
        layout.rows = 1;
    } else {
        layout.perRow = layout.count / 2 + layout.count % 2;
        layout.rows = 2;
    }
    return layout;
}

TwipsRect GasOptionPlace(const GasListLayout& layout, int k, double frameWidth, double frameHeight,
                         double optionHeight)
{
    TwipsRect r;
    if (layout.perRow <= 0)
        return r;
    const int row = k / layout.perRow;
    const int place = k % layout.perRow;
    // The first place keeps clear of the frame's line, which an option's
    // round box would touch at 60 twips; the row ends where it would.
    const double w = (frameWidth - 60) / (layout.perRow + 0.1);
    r.left = 120 + place * w;
    r.top = 240 + row * (frameHeight / 3);
    r.width = w;
    r.height = optionHeight;
    return r;
}

TwipsRect GasSelectFramePlace(double width, double height, double buttonHeight)
{
    return TwipsRect{0, 0, width, height - buttonHeight - 360};
}

TwipsRect GasSelectButtonPlace(int j, int buttons, double width, double frameHeight, double buttonHeight)
{
    const double share = width / buttons;
    return TwipsRect{j * share, frameHeight + 180, share - 60, buttonHeight};
}
