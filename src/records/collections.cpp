#include "records/collections.h"

#include "records/record_common.h"
#include "records/record_text.h"

using namespace records_text;

namespace {
// The user and station line of a trend ("AA", "BA"): 24 characters.
template <class R>
bool IdentityLine(R* rec, const QString& line, bool checkOnly)
{
    if (line.size() != 24)
        return false;
    if (!checkOnly) {
        rec->SetGasBaseInfo(2, NzStar(Mid(line, 5, 10)));
        rec->SetGasBaseInfo(3, NzStar(Mid(line, 15, 10)));
    }
    return true;
}
} // namespace

// ---- interval trends -----------------------------------------------------

void clsIntervals::Clear()
{
    RecordCollection::Clear();
    m_linesMissing = false;
}

bool clsIntervals::SetDatas(const QString& line, bool checkOnly)
{
    if (const auto done = beginLine(line, checkOnly))
        return *done;
    if (line.size() < 19)
        return true;
    return guardedLine(line, checkOnly, [&] { return dispatch(line, checkOnly); });
}

bool clsIntervals::dispatch(const QString& received, bool checkOnly)
{
    const QString line = CleanLine(received);
    m_currentLine = line;
    clsInterval* rec = loggerRecord(line, [](clsInterval* r) {
        r->SetError(false);
        r->m_h.awaitingHeader = true;
    });
    if (!rec)
        return false;
    if (!checkOnly)
        rec->m_h.linesStored = true;
    const QString type = Mid(line, 3, 2);
    const qsizetype len = line.size();
    if (type == QLatin1String("AA"))
        return IdentityLine(rec, line, checkOnly);
    if (type == QLatin1String("AB")) {
        if (len != 21)
            return false;
        if (!checkOnly)
            rec->SetGasBaseInfo(4, NzStar(Mid(line, 5, 12)));
        return true;
    }
    if (type == QLatin1String("AC"))
        return len == 30 && rec->SetDataAC(line, checkOnly);
    if (type == QLatin1String("AD")) {
        if (len != 24)
            return false;
        const bool ok = rec->SetDataAD(line, checkOnly);
        if (!checkOnly && ok && App().DebugMode)
            m_messageString = GetResString(4001, rec->GasBaseInfo(0).toString());
        return ok;
    }
    if (type == QLatin1String("AE") || type == QLatin1String("AF") || type == QLatin1String("AG")
        || type == QLatin1String("AH") || type == QLatin1String("AI"))
        return len == 26 && rec->SetDataAE(line, checkOnly);
    if (type == QLatin1String("A0") || type == QLatin1String("A1") || type == QLatin1String("A2")
        || type == QLatin1String("A5")) {
        const bool ok = len >= 20 && rec->SetDataA0(line, checkOnly);
        if (!ok && rec->LinesMissing())
            m_linesMissing = true;
        return ok;
    }
    return true;
}

// ---- alarm trends --------------------------------------------------------

bool clsAlarms::SetDatas(const QString& line, bool checkOnly)
{
    if (const auto done = beginLine(line, checkOnly))
        return *done;
    if (line.size() < 20)
        return true;
    return guardedLine(line, checkOnly, [&] { return dispatch(line, checkOnly); });
}

bool clsAlarms::dispatch(const QString& received, bool checkOnly)
{
    const QString line = CleanLine(received);
    clsAlarm* rec = loggerRecord(line, [](clsAlarm* r) { r->m_s.awaitingHeader = true; });
    if (!rec)
        return false;
    if (!checkOnly)
        rec->m_s.linesStored = true;
    const QString type = Mid(line, 3, 2);
    const qsizetype len = line.size();
    if (type == QLatin1String("BA"))
        return IdentityLine(rec, line, checkOnly);
    if (type == QLatin1String("BB"))
        return len == 21 && rec->SetDataBB(line, checkOnly);
    if (type == QLatin1String("BC"))
        return len == 30 && rec->SetDataBC(line, checkOnly);
    if (type == QLatin1String("BD")) {
        if (len != 24)
            return false;
        const bool ok = rec->SetDataBD(line, checkOnly);
        if (!checkOnly && App().DebugMode)
            m_messageString = GetResString(2001, rec->GasBaseInfo(0).toString());
        return ok;
    }
    if (type == QLatin1String("B0") || type == QLatin1String("B1") || type == QLatin1String("B2")
        || type == QLatin1String("B3") || type == QLatin1String("B4"))
        return len == 20 && rec->SetDataB0(line, checkOnly);
    if (type == QLatin1String("Z0"))
        return len == 29 && rec->SetDataZ0(line, checkOnly);
    return true;
}

// ---- calibration history -------------------------------------------------

bool clsHistorys::SetDatas(int gas, const QString& received, bool checkOnly)
{
    if (const auto done = beginLine(received, checkOnly, gas))
        return *done;
    if (received.size() <= 20)
        return false;
    const QString line = CleanLine(received);
    const QString key = QStringLiteral("01 L");
    clsHistory* rec = Item(key);
    if (!rec)
        rec = Add(key, 0);

    QDateTime moment;
    if (const auto date = DateField(Mid(line, 3, 6))) {
        moment = *date;
        if (const auto time = TimeField(Mid(line, 9, 6)))
            moment = moment.addSecs(*time);
        else
            rec->SetError(true);
    } else {
        rec->SetError(true);
    }
    const float before = StatusTextToCode(Mid(line, 15, 5));
    const float after = StatusTextToCode(Mid(line, 20, 5));
    if (!checkOnly && moment.isValid())
        rec->AddHistory(gas, moment, before, after);
    return true;
}

// ---- power events --------------------------------------------------------

void clsPowerEvents::Clear()
{
    for (QString& slot : m_reported)
        slot.clear();
    RecordCollection::Clear();
}

bool clsPowerEvents::SetDatas(const QString& line, bool checkOnly)
{
    if (const auto done = beginLine(line, checkOnly))
        return *done;
    const bool result = line.size() == 24 && dispatch(line, checkOnly);
    if (!result)
        failLine(line, checkOnly);
    return result;
}

bool clsPowerEvents::dispatch(const QString& received, bool checkOnly)
{
    const QString line = CleanLine(received);
    clsPowerEvent* rec = loggerRecord(line, [](clsPowerEvent*) {});
    if (!rec)
        return false;
    if (Mid(line, 3, 2) != QLatin1String("FD"))
        return true;
    if (line.size() != 24)
        return false;
    const bool ok = rec->SetDataF0(line, checkOnly);
    if (!checkOnly) {
        // The "new data" message, once per instrument and download.
        const QString id = Fit(rec->GasBaseInfo(4).toString(), 12)
            + Fit(rec->GasBaseInfo(3).toString(), 10) + Fit(rec->GasBaseInfo(2).toString(), 10);
        bool reported = false;
        if (!m_reported[0].isEmpty()) {
            for (const QString& slot : m_reported) {
                if (!slot.isEmpty() && slot.trimmed() == id.trimmed()) {
                    reported = true;
                    break;
                }
            }
        }
        if (!reported && App().DebugMode) {
            m_messageString = GetResString(2001, QStringLiteral("Power Events"));
            for (QString& slot : m_reported) {
                if (slot.isEmpty()) {
                    slot = id;
                    break;
                }
            }
        }
    }
    return ok;
}
