#pragma once

// Sizes in twips (1440 per inch) to pixels at a logical DPI and back;
// 15 twips per pixel at 96 DPI.
constexpr double kTwipsPerInch = 1440.0;
double TwipsToPixels(double twips, double dpi);
double PixelsToTwips(double pixels, double dpi);
// Whole pixels, rounded to nearest.
int TwipsToPx(double twips, double dpi = 96.0);
