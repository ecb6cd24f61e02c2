#include "common/twips.h"

#include <cmath>

double TwipsToPixels(double twips, double dpi) { return twips * dpi / kTwipsPerInch; }
double PixelsToTwips(double pixels, double dpi) { return dpi > 0 ? pixels * kTwipsPerInch / dpi : 0.0; }
int TwipsToPx(double twips, double dpi) { return static_cast<int>(std::lround(TwipsToPixels(twips, dpi))); }
