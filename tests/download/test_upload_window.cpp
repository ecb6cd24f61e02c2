// The progress window: texts and Cancel button by operation, size, Cancel,
// Esc and the frame's close button.
#include "common/appstate.h"
#include "common/resstrings.h"
#include "download/frmUpload.h"
#include "download/transfer_animation.h"

#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class UploadWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        SetResLanguage(ResLanguage::English);
    }
    void TearDown() override { ResetAppState(); }
};

struct StateRow {
    int state;
    const char* text;
    bool cancelShown;
};

TEST_F(UploadWindowTest, TextsAndCancelButtonFollowProcessState)
{
    const StateRow rows[] = {
        {0, "Now Downloading", false}, {1, "Now Uploading", true},
        {2, "Now Uploading", false},   {3, "Adjusting Zero", false},
        {4, "Adjusting Span Settings.", false}, {5, "Now Downloading", true},
        {6, "Now Downloading", true},  {7, "Now Downloading", true},
        {9, "Now Uploading.", true}, // unknown: the design texts stay
    };
    frmUpload w;
    for (const StateRow& row : rows) {
        SCOPED_TRACE(row.state);
        App().ProcessState = row.state;
        w.ShowWindow();
        EXPECT_EQ(w.lblUpload->text(), QString::fromUtf8(row.text));
        if (row.state != 9) {
            EXPECT_EQ(w.Caption(), QString::fromUtf8(row.text));
        }
        EXPECT_EQ(w.cmdUpload->isVisibleTo(&w), row.cancelShown);
        if (row.cancelShown && row.state != 9) {
            EXPECT_EQ(w.cmdUpload->text(), QStringLiteral("Cancel"));
        }
        EXPECT_FALSE(w.Canceled());
        w.Unload();
        EXPECT_FALSE(w.isVisible());
    }
}

TEST_F(UploadWindowTest, ProcessStateIsReadOnlyWhenLoading)
{
    frmUpload w;
    App().ProcessState = 1;
    w.SetCaption(QStringLiteral("Download"));
    App().ProcessState = 0;
    w.ShowWindow(); // already loaded: nothing is read again
    EXPECT_EQ(w.Caption(), QStringLiteral("Download"));
    EXPECT_EQ(w.lblUpload->text(), QStringLiteral("Now Uploading"));
    EXPECT_TRUE(w.cmdUpload->isVisibleTo(&w));
    w.Unload();
}

TEST_F(UploadWindowTest, WindowIsLowerWithoutCancelButton)
{
    frmUpload w;
    App().ProcessState = 1;
    w.ShowWindow();
    const int withButton = w.height();
    const int width = w.width();
    w.Unload();
    App().ProcessState = 0;
    w.ShowWindow();
    EXPECT_LT(w.height(), withButton);
    EXPECT_EQ(w.width(), width);
    // Every control lies inside the window.
    EXPECT_LE(w.lblUpload->geometry().bottom(), w.height());
    w.Unload();
}

TEST_F(UploadWindowTest, CancelActsOnceAndClearsAtNextLoad)
{
    frmUpload w;
    App().ProcessState = 5;
    w.ShowWindow();
    QTest::mouseClick(w.cmdUpload, Qt::LeftButton);
    EXPECT_TRUE(w.Canceled());
    EXPECT_EQ(w.lblUpload->text(), QStringLiteral("Now Cancel Processing"));
    EXPECT_FALSE(w.cmdUpload->isEnabled());
    // The window stays open until its operation unloads it.
    EXPECT_TRUE(w.isVisible());
    w.Unload();
    EXPECT_TRUE(w.Canceled()); // until the next load
    w.ShowWindow();
    EXPECT_FALSE(w.Canceled());
    EXPECT_TRUE(w.cmdUpload->isEnabled());
    w.Unload();
}

TEST_F(UploadWindowTest, EscapePressesCancelOnlyWhileItIsShown)
{
    frmUpload w;
    App().ProcessState = 0;
    w.ShowWindow();
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.Canceled());
    EXPECT_TRUE(w.isVisible());
    w.Unload();

    App().ProcessState = 1;
    w.ShowWindow();
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.Canceled());
    EXPECT_TRUE(w.isVisible());
    w.Unload();
}

TEST_F(UploadWindowTest, FrameCannotCloseTheWindow)
{
    frmUpload w;
    App().ProcessState = 1;
    w.ShowWindow();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.IsLoaded());
    w.Unload();
}

TEST_F(UploadWindowTest, LabelCanBeSetWithoutShowing)
{
    // A dump-list message before the window opens loads it hidden.
    frmUpload w;
    w.SetLabel(QStringLiteral("Block 3"));
    EXPECT_TRUE(w.IsLoaded());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.lblUpload->text(), QStringLiteral("Block 3"));
    w.Unload();
}

TEST_F(UploadWindowTest, AnimationPlaysOnlyWhileTheWindowShows)
{
    frmUpload w;
    TransferAnimation& animation = *w.amnUpload;
    EXPECT_FALSE(animation.IsRunning());
    for (int state : {0, 1}) {
        SCOPED_TRACE(state);
        App().ProcessState = state;
        w.ShowWindow();
        ASSERT_TRUE(animation.isVisible());
        EXPECT_TRUE(animation.IsRunning());
        const QImage first = animation.grab().toImage();
        // Something is drawn, and each tick shows another picture until a
        // whole turn brings the first one back.
        bool blank = true;
        for (int y = 0; y < first.height() && blank; ++y)
            for (int x = 0; x < first.width() && blank; ++x)
                blank = first.pixel(x, y) == first.pixel(0, 0);
        EXPECT_FALSE(blank);
        animation.Advance();
        EXPECT_NE(animation.grab().toImage(), first);
        for (int i = 1; i < TransferAnimation::kFrames; ++i)
            animation.Advance();
        EXPECT_EQ(animation.grab().toImage(), first);
        w.Unload();
        EXPECT_FALSE(animation.IsRunning());
    }
}

} // namespace
