#include "records/collections.h"

#include "records/record_common.h"
#include "records/record_text.h"

using namespace records_text;

namespace {
QString NewDataMessage(int id, const QString& name)
{
    return GetResString(id, name);
}
} // namespace

// ---- interval trends -----------------------------------------------------

void clsIntervals::Clear()
{
    resetStage();
    removeAll();
}

bool clsIntervals::SetDatas(const QString& line, bool checkOnly)
{
    if (!enterPass(checkOnly))
        return false;
    if (line.size() < 19)
        return true;
    bool result;
    try {
        result = dispatch(line, checkOnly);
    } catch (...) {
        // An unexpected fault fails the line without a FailLine entry.
        if (!checkOnly)
            failStore();
        return false;
    }
    if (!result) {
        if (checkOnly) {
            appendFailLine(m_currentLine);
        } else {
            appendFailLine(m_currentLine);
            failStore();
        }
    }
    return result;
}

bool clsIntervals::dispatch(const QString& received, bool checkOnly)
{
    const QString line = CleanLine(received);
    m_currentLine = line;
    const QString logger = Mid(line, 1, 2);
    if (!IsNumeric(logger))
        return false;
    const QString key = logger + QStringLiteral(" L");
    clsInterval* rec = Item(key);
    if (!rec) {
        rec = Add(key, 0);
        rec->SetError(false);
        rec->m_h.awaitingHeader = true;
    }
    const QString type = Mid(line, 3, 2);
    const qsizetype len = line.size();
    if (type == QLatin1String("AA")) {
        if (len != 24)
            return false;
        if (!checkOnly) {
            rec->SetGasBaseInfo(2, NzStar(Mid(line, 5, 10)));
            rec->SetGasBaseInfo(3, NzStar(Mid(line, 15, 10)));
        }
        return true;
    }
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
            m_messageString = NewDataMessage(4001, rec->GasBaseInfo(0).toString());
        return ok;
    }
    if (type == QLatin1String("AE") || type == QLatin1String("AF") || type == QLatin1String("AG")
        || type == QLatin1String("AH") || type == QLatin1String("AI"))
        return len == 26 && rec->SetDataAE(line, checkOnly);
    if (type == QLatin1String("A0") || type == QLatin1String("A1") || type == QLatin1String("A2")
        || type == QLatin1String("A5"))
        return len >= 20 && rec->SetDataA0(line, checkOnly);
    return true;
}

// ---- alarm trends --------------------------------------------------------

void clsAlarms::Clear()
{
    resetStage();
    removeAll();
}

bool clsAlarms::SetDatas(const QString& line, bool checkOnly)
{
    if (!enterPass(checkOnly))
        return false;
    if (line.size() < 20)
        return true;
    bool result;
    try {
        result = dispatch(line, checkOnly);
    } catch (...) {
        if (!checkOnly)
            failStore();
        return false;
    }
    if (!result) {
        appendFailLine(CleanLine(line));
        if (!checkOnly)
            failStore();
    }
    return result;
}

bool clsAlarms::dispatch(const QString& received, bool checkOnly)
{
    const QString line = CleanLine(received);
    const QString logger = Mid(line, 1, 2);
    if (!IsNumeric(logger))
        return false;
    const QString key = logger + QStringLiteral(" L");
    clsAlarm* rec = Item(key);
    if (!rec) {
        rec = Add(key, 0);
        rec->m_s.awaitingHeader = true;
    }
    const QString type = Mid(line, 3, 2);
    const qsizetype len = line.size();
    if (type == QLatin1String("BA")) {
        if (len != 24)
            return false;
        if (!checkOnly) {
            rec->SetGasBaseInfo(2, NzStar(Mid(line, 5, 10)));
            rec->SetGasBaseInfo(3, NzStar(Mid(line, 15, 10)));
        }
        return true;
    }
    if (type == QLatin1String("BB"))
        return len == 21 && rec->SetDataBB(line, checkOnly);
    if (type == QLatin1String("BC"))
        return len == 30 && rec->SetDataBC(line, checkOnly);
    if (type == QLatin1String("BD")) {
        if (len != 24)
            return false;
        const bool ok = rec->SetDataBD(line, checkOnly);
        if (!checkOnly && App().DebugMode)
            m_messageString = NewDataMessage(2001, rec->GasBaseInfo(0).toString());
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

void clsHistorys::Clear()
{
    resetStage();
    removeAll();
}

bool clsHistorys::SetDatas(int gas, const QString& received, bool checkOnly)
{
    if (!enterPass(checkOnly))
        return false;
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
    resetStage();
    removeAll();
}

bool clsPowerEvents::SetDatas(const QString& line, bool checkOnly)
{
    if (!enterPass(checkOnly))
        return false;
    const bool result = line.size() == 24 && dispatch(line, checkOnly);
    if (!result) {
        appendFailLine(CleanLine(line));
        if (!checkOnly)
            failStore();
    }
    return result;
}

bool clsPowerEvents::dispatch(const QString& received, bool checkOnly)
{
    const QString line = CleanLine(received);
    const QString logger = Mid(line, 1, 2);
    if (!IsNumeric(logger))
        return false;
    const QString key = logger + QStringLiteral(" L");
    clsPowerEvent* rec = Item(key);
    if (!rec)
        rec = Add(key, 0);
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
            m_messageString = NewDataMessage(2001, QStringLiteral("Power Events"));
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
