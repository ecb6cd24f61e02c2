// The log pane: coloured status lines on the download panel.

#include "download/download_panel.h"

#include "common/colors.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

void DownloadPanel::AddLogText(const QString& text, std::int32_t color)
{
    // Lines always go in at the end, whatever the user has selected or
    // where the caret stands; the view follows the newest line while it
    // stands at the bottom.
    QScrollBar* bar = rtbLog->verticalScrollBar();
    const bool atBottom = bar->value() >= bar->maximum();
    QTextCursor cursor(rtbLog->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(ColorFromWin(color));
    cursor.insertText(text + QStringLiteral("\r\n"), format);
    if (atBottom)
        bar->setValue(bar->maximum());
}
