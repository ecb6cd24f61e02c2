// The progress window: texts and Cancel button by operation, size, Cancel,
// Esc and the frame's close button.
#include "common/appstate.h"
#include "common/resstrings.h"
#include "download/frmUpload.h"

#include <QCloseEvent>
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

} // namespace
