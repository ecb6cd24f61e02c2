#pragma once
#include <QDateTime>
#include <functional>

// The PC's clock as a wall-clock date (see dates.h). Tests replace it.
QDateTime Now();

// Replaces the clock; an empty function restores the real one.
void SetClock(std::function<QDateTime()> clock);
