#pragma once
#include <QDateTime>
#include <QString>

// The two running clocks of the settings pane: the PC's date and time and
// the instrument's, carried forward from its last read by the PC's clock.
// The window's 100 ms timer calls Tick; the result says which label texts
// to write (nothing while the pane is hidden).
class SettingsClock {
public:
    struct Update {
        bool write = false;     // false: leave both labels as they are
        QString pcText;         // the PC clock label
        QString instrumentText; // the instrument clock label ("" without a link)
    };

    // now: the present time (the injectable clock); offsetDays: the
    // instrument record's clock offset (PC minus instrument, in days).
    // Without a link the PC label is written on every tick and the
    // instrument label emptied; with a link both are written once per
    // second of now, and on the first tick after the pane was hidden or the
    // link came up.
    Update Tick(bool paneVisible, bool linkUp, double offsetDays, const QDateTime& now);

    // The instrument's clock: now minus the offset, to the millisecond.
    static QDateTime InstrumentTime(const QDateTime& now, double offsetDays);

private:
    // The second last written in the linked case; empty forces a write.
    QString m_lastSecond;
};
