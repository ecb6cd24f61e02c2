#pragma once
#include <QByteArray>

// What the simulated instrument does with the program's write, calibration
// and maintenance commands, and what they have done to it. Writes change
// FakeInstrumentState (so a later read answers with the written value);
// the rest is kept here.
struct FakeCommandState {
    // Zero ("SZ,E," then "SZ,C,") and span ("S1,E," then "S1,C,")
    // calibration: the check answers busy (SUB) this many times after each
    // start, then with the two-character result.
    int zeroBusyAnswers = 2;
    QByteArray zeroResult = "00";
    int spanBusyAnswers = 2;
    QByteArray spanResult = "00";
    // Logger clear ("XC,E," then "XC,C,"): this many "not yet" answers
    // (no ACK) before the one that reports the memory cleared.
    int clearBusyAnswers = 1;

    // ---- what happened ----
    int zeroStarts = 0;
    QByteArray zeroGasFlags;   // gas flags of the last zero start
    int spanStarts = 0;
    QByteArray spanGasFlags;   // gas flags of the last span start
    int defaultsRestored = 0;  // "UX,E,"
    int loggerClears = 0;      // clears that reported completion
    bool loggerCleared = false;
    int clockSets = 0;         // "HC,W,"; the clock itself is in the state
    // After "RO,W," the instrument acknowledges and then hears nothing
    // (frames are still recorded) until a test sets this back to false.
    bool poweredOff = false;

    // ---- running work ----
    int zeroBusyLeft = 0;
    int spanBusyLeft = 0;
    int clearBusyLeft = 0;
};
