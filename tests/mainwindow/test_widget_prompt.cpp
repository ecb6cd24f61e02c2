#include "mainwindow/widget_prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

TEST(WidgetPrompt, FileFiltersInQtForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Text (*.txt)|*.txt|All (*.*)|*.*", "Text (*.txt);;All (*.*)"},
        {"CSV|*.csv", "CSV (*.csv)"},
        {"Pictures|*.bmp;*.png", "Pictures (*.bmp *.png)"},
        {"Text (*.txt);;All (*)", "Text (*.txt);;All (*)"},
        {"", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(QtFileFilter(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}

TEST(WidgetPrompt, MessageBoxShowsTheRequestAndReturnsTheButtonPressed)
{
    struct Case {
        MsgButtons buttons;
        int defaultButton;
        QMessageBox::StandardButton press; // NoButton: press the default one
        MsgResult expected;
    };
    const Case cases[] = {
        {MsgButtons::YesNo, 1, QMessageBox::No, MsgResult::No},
        {MsgButtons::YesNo, 2, QMessageBox::NoButton, MsgResult::No},
        {MsgButtons::YesNo, 1, QMessageBox::NoButton, MsgResult::Yes},
        {MsgButtons::OkCancel, 1, QMessageBox::Cancel, MsgResult::Cancel},
        {MsgButtons::Ok, 1, QMessageBox::NoButton, MsgResult::Ok},
        {MsgButtons::AbortRetryIgnore, 2, QMessageBox::NoButton, MsgResult::Retry},
    };
    WidgetPrompt prompt;
    for (const Case& c : cases) {
        QString seenText, seenTitle;
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seenText = box->text();
            seenTitle = box->windowTitle();
            seenIcon = box->icon();
            if (c.press == QMessageBox::NoButton)
                box->defaultButton()->click();
            else
                box->button(c.press)->click();
        });
        MsgRequest r;
        r.text = QStringLiteral("End ?\r\nsecond line");
        r.title = QStringLiteral("Pelkar");
        r.buttons = c.buttons;
        r.icon = MsgIcon::Question;
        r.defaultButton = c.defaultButton;
        EXPECT_EQ(prompt.MessageBox(r), c.expected);
        EXPECT_EQ(seenText, QStringLiteral("End ?\nsecond line"));
        EXPECT_EQ(seenTitle, QStringLiteral("Pelkar"));
        EXPECT_EQ(seenIcon, QMessageBox::Question);
    }
}
