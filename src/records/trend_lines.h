#pragma once
// Parsers of the head lines that the interval and the alarm trends share:
// the gas list ("AC", "BC") and the header ("AD", "BD"). H is the record's
// head state, G its per-gas information.
#include "records/record_text.h"

#include "common/gasvalue.h"

#include <QLatin1String>
#include <QString>
#include <array>
#include <cstdint>

namespace records_lines {

// Per gas 0..1 from position 5 + 13 x gas: a name (3), the full scale (5)
// and the point field (5). A name "***" or blanks turns the gas off. False
// when a named gas has a field that is no number (that gas is left as it
// is). The store pass fills each named gas and hands it to onFilled(gas,
// info).
template <class G, class OnFilled>
bool ParseGasList(const QString& line, bool checkOnly, std::array<G, 3>& gases, OnFilled&& onFilled)
{
    using namespace records_text;
    bool result = true;
    for (int g = 0; g < 2; ++g) {
        const int base = 5 + 13 * g;
        const QString name = Mid(line, base, 3);
        const QString full = Mid(line, base + 3, 5);
        const QString point = Mid(line, base + 8, 5);
        G& info = gases[static_cast<size_t>(g)];
        if (name == QLatin1String("***") || name == QLatin1String("   ")) {
            if (!checkOnly)
                info.Enabled = false;
            continue;
        }
        if (!IsNumeric(full) || !IsNumeric(point)) {
            result = false;
            continue;
        }
        if (!checkOnly) {
            info.Enabled = true;
            info.Name = name;
            info.Full = StatusTextToCode(full);
            info.Desit = StatusTextToCode(point);
            info.Point = DecimalPlaces(point);
            info.Unit = g == 0 ? QStringLiteral("ppm") : QStringLiteral("VOL%");
            onFilled(g, info);
        }
    }
    return result;
}

// The header: date "YYMMDD" at 5, time "hhnnss" at 11, interval at 17 (4).
// A field that is not valid sets Error (in either pass); the time goes onto
// a valid date only, so a bad date leaves Dates as it was. The store pass
// also names the trend (namePrefix + "ddHHmmss"), sets FolderID "MM/yy",
// ends AwaitingHeader and notes Duplicate from isStored(). Always true.
template <class H, class IsStored>
bool ParseHeader(H& h, const QString& line, bool checkOnly, QLatin1String namePrefix,
                 IsStored&& isStored)
{
    using namespace records_text;
    const auto date = DateField(Mid(line, 5, 6));
    if (!date)
        h.error = true;
    else if (!checkOnly)
        h.dates = *date;

    const auto time = TimeField(Mid(line, 11, 6));
    if (!time)
        h.error = true;
    else if (!checkOnly && date)
        h.dates = h.dates.addSecs(*time);

    const auto interval = ToWhole(Mid(line, 17, 4), INT32_MIN, INT32_MAX);
    if (!interval)
        h.error = true;
    else if (!checkOnly)
        h.interval = static_cast<qint32>(*interval);

    if (!checkOnly) {
        h.names = namePrefix + h.dates.toString(QStringLiteral("ddHHmmss"));
        h.folderID = h.dates.toString(QStringLiteral("MM/yy"));
        h.awaitingHeader = false;
        h.duplicate = isStored();
    }
    return true;
}

} // namespace records_lines
