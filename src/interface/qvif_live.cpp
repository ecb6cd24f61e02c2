// Live readings: while switched on, the instrument is polled once a second
// for the readings of both gases ("DN,R,", raised as Densty), its analogue
// values ("HA,R,") and its battery state ("HB,R,").
#include "interface/uclQvif.h"

#include "common/clock.h"
#include "common/dates.h"
#include "interface/frame.h"
#include "interface/messages.h"

#include <QTimer>

bool uclQvif::RunDensty() const
{
    return m_denstTimer->isActive();
}

void uclQvif::SetRunDensty(bool run)
{
    const bool on = m_denstTimer->isActive();
    if (on && !run) {
        // A poll still waiting is finished (or fails) first, so no request
        // starts over an unanswered poll.
        WaitWhile(4, {});
        m_denstTimer->stop();
    } else if (!on && run) {
        connect(m_denstTimer, &QTimer::timeout, this, &uclQvif::DenstTick, Qt::UniqueConnection);
        m_denstTimer->start();
        m_tickCount = 0;
    }
}

void uclQvif::SetDenstInterval(int ms)
{
    m_denstTimer->setInterval(qMax(1, ms));
}

void uclQvif::DenstTick()
{
    if (m_status == 2 || m_status == 6) {
        const Forward forward = InstForward(&QvifPort::InstMessage);
        // A failed poll does not stop the others of this tick. The battery
        // poll is not waited for: its answer ends the state later, or the
        // next tick finds it pending.
        for (const char* command : {"DN,R,", "HA,R,", "HB,R,"}) {
            m_status = 4;
            DataSend(BuildFrame(command, Wire::EOT), true);
            if (qstrcmp(command, "HB,R,") != 0)
                WaitWhile(4, forward);
        }
        return;
    }
    if (m_status == 4) {
        // The last poll of the previous tick is still unanswered: note it
        // and poll again on the next tick.
        WriteSerialLog(Msg(5560, GeneralDate(Now())));
        m_status = 2;
    }
}
