#include "common/services.h"

#include "common/errors.h"
#include "common/gasvalue.h"

#include <QLocale>
#include <QSysInfo>

QString GetLocaleString(std::int32_t lcType)
{
    switch (lcType) {
    case 4105: // calendar type
        return QStringLiteral("1");
    case 31: // long date format
        return QLocale::system().dateFormat(QLocale::LongFormat);
    default:
        return QString();
    }
}

void CopyFont(QFont& dst, const QFont& src)
{
    dst.setBold(src.bold());
    dst.setItalic(src.italic());
    dst.setFamily(src.family());
    if (src.pointSizeF() > 0)
        dst.setPointSizeF(src.pointSizeF());
    else if (src.pixelSize() > 0)
        dst.setPixelSize(src.pixelSize());
    dst.setStrikeOut(src.strikeOut());
    dst.setUnderline(src.underline());
    dst.setWeight(src.weight());
}

QFont FontFromSetting(const FontSetting& setting)
{
    QFont font(setting.Name);
    if (setting.Size > 0)
        font.setPointSizeF(setting.Size);
    font.setBold(setting.Bold);
    font.setItalic(setting.Italic);
    font.setUnderline(setting.Underline);
    return font;
}

FontSetting SettingFromFont(const QFont& font)
{
    FontSetting s;
    s.Name = font.family();
    s.Size = static_cast<float>(font.pointSizeF() > 0 ? font.pointSizeF() : 9.0);
    s.Bold = font.bold();
    s.Italic = font.italic();
    s.Underline = font.underline();
    return s;
}

bool IsIdChar(int keyCode)
{
    if (keyCode == 8 || keyCode == ' ' || keyCode == '*' || keyCode == '-')
        return true;
    return (keyCode >= '0' && keyCode <= '9') || (keyCode >= 'A' && keyCode <= 'Z')
        || (keyCode >= 'a' && keyCode <= 'z');
}

QString NzStar(const QString& text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? QStringLiteral("*") : t;
}

std::int32_t LeadingNumber(const QString& text)
{
    if (text.isEmpty())
        return 0;
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0)
        throw ConversionError(QStringLiteral("No number before a blank in \"%1\"").arg(text));
    double v = 0;
    if (!ParseWholeText(text.left(blank), &v) || v < -2147483648.0 || v > 2147483647.0)
        throw ConversionError(QStringLiteral("\"%1\" does not start with a number").arg(text));
    return static_cast<std::int32_t>(v);
}

QString DropLast2(const QString& text)
{
    if (text.size() >= 3)
        return text.left(text.size() - 2);
    return QString();
}

QString LastWord(const QString& text)
{
    QString t = text;
    qsizetype blank;
    while ((blank = t.indexOf(QLatin1Char(' '))) >= 0)
        t = t.mid(blank + 1).trimmed();
    return t;
}

void GetOsVersion()
{
    App().OsPlatform = QSysInfo::productType();
    App().OsVersion = QSysInfo::productVersion();
}
