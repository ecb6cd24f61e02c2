#pragma once
// A loaded main window on the scripted interface control, with helpers to
// read back the log pane line by line with each line's colour.
#include "common/colors.h"
#include "main_window_fixture.h"

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>
#include <ostream>
#include <vector>

// Readable texts in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

struct PaneLine {
    QString text;
    std::int32_t color = -1; // -1 for an empty line
};

inline std::vector<PaneLine> PaneLines(const frmMain& w)
{
    std::vector<PaneLine> lines;
    const QTextDocument* doc = w.Download().rtbLog->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        PaneLine line;
        line.text = b.text();
        line.text.remove(QLatin1Char('\r'));
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.isValid() && !f.text().trimmed().isEmpty()) {
                line.color = WinFromColor(f.charFormat().foreground().color());
                break;
            }
        }
        lines.push_back(line);
    }
    // The document's last block is the empty one after the final line break.
    if (!lines.empty() && lines.back().text.isEmpty())
        lines.pop_back();
    return lines;
}

// The closing line of a download step whose records did not all reach the
// database.
inline const QString kStopped =
    QStringLiteral("Pelkar  Download stopped: not every record could be stored in the database.");

// The non-empty pane lines' texts.
inline QStringList PaneTexts(const frmMain& w)
{
    QStringList out;
    for (const PaneLine& l : PaneLines(w))
        if (!l.text.isEmpty())
            out << l.text;
    return out;
}

// The colour of the first non-empty pane line with that text (-1: none).
inline std::int32_t PaneColor(const frmMain& w, const QString& text)
{
    for (const PaneLine& l : PaneLines(w))
        if (l.text == text)
            return l.color;
    return -1;
}

inline void Pump()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class DownloadWindowTest : public MainWindowTest {
protected:
    // Creates and loads the window; the pane starts empty and nothing of
    // the start-up stays in the recorded calls or serial log.
    frmMain& Loaded()
    {
        frmMain& w = MakeWindow();
        w.Form_Load();
        w.Download().rtbLog->clear();
        fake.calls.clear();
        fake.serialLog.clear();
        return w;
    }
};
