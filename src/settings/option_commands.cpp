#include "settings/option_commands.h"

#include "common/dates.h"
#include "common/gasvalue.h"
#include "common/paths.h"
#include "common/resstrings.h"
#include "download/download_support.h"

bool OptionCommandBusy(bool liveReadingsOn, std::int32_t processState)
{
    return liveReadingsOn || processState == 4 || processState == 7;
}

DumpListTexts DumpTexts(DumpKind kind)
{
    if (kind == DumpKind::Fram)
        return {QStringLiteral("FRAM Dump List Download\nReady?"), QStringLiteral("FRAM Dump List (EF)"),
                GetResString(5463), GetResString(5464), GetResString(5881), QStringLiteral("DumpEF.dat")};
    return {QStringLiteral("EEP-ROM Dump List Download\nReady?"), QStringLiteral("EEP-ROM Dump List"),
            GetResString(5445), GetResString(5446), GetResString(5880), QStringLiteral("Dump.dat")};
}

QString DumpBoxTitle() { return QStringLiteral("DumpList"); }

QString DumpFilePath(const QString& folder, DumpKind kind) { return JoinPath(folder, DumpTexts(kind).fileName); }

QString DumpStartedSerialLine(const QDateTime& start) { return GetResString(5569, GeneralDate(start)); }

QString DumpEndedSerialLine(const QDateTime& start, const QDateTime& end, bool ok)
{
    return GetResString(ok ? 5570 : 5571, GeneralDate(end), ElapsedText(start, end));
}

QString FontCaption(const QFont& font)
{
    return font.family() + QLatin1Char('(') + FloatText(static_cast<float>(font.pointSizeF())) + QLatin1Char(')');
}

int ColorButtonSeries(int index) { return (index == 1 || index == 2) ? index - 1 : -1; }
