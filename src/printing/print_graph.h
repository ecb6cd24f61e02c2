#pragma once
#include <QDateTime>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class GraphModel;
struct PrintRequest;

// The value a printed graph plots for a stored value v of a gas with full
// scale full and points decimals, the same as the data view's graph draws
// (GraphPointValue): v above the full scale plots the full scale, a status
// code or a negative reading -0.01 (nothing); the full scale and v are first
// cut to the gas's decimals.
float PlottedValue(float v, float full, int points);

// The samples of an interval trend that its graph plots: of a run of equal
// samples (all five value columns) only the first and the last, always the
// first and the last sample, and no more than the graph holds (16,361).
// row(i) gives the five value columns of sample i.
std::vector<int> PlottedSamples(int count, const std::function<std::array<float, 5>(int)>& row);

// Fills model with the trend of request (kind 1: IntervalData, any other:
// AlarmData) as the printed graph shows it: both gases with their colours
// and formats, titles, the samples, the gases' visibility and, for an alarm
// trend of more than 181 samples, the mark "Alarm" at sample 180.
void BuildPrintGraph(GraphModel& model, const PrintRequest& request);
