#pragma once
// Reading a printed PDF file back as text with pdftotext, for the tests
// that check what reaches the page.
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

inline bool HavePdfToText() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }
// What a test that reads a PDF back says when the tool is missing.
inline constexpr const char* kPdfToTextNeeded = "pdftotext (poppler-utils, installed by scripts/setup) is needed";

// The text of a PDF file as pdftotext reads it (pages end in a form
// feed); empty when the tool is missing.
inline QString PdfText(const QString& path, bool layout = true)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess p;
    QStringList args;
    if (layout)
        args << QStringLiteral("-layout");
    args << path << QStringLiteral("-");
    p.start(tool, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
