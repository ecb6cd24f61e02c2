// The password window's Continue button and change dialogue.
#include "browser_fixture.h"

#include "browser/password.h"
#include "scripted_prompt.h"

using namespace browser;
using Step = PasswordLogic::Step;
using Result = PasswordLogic::ContinueResult;

TEST(PasswordLogic, ContinueComparesWithoutCase)
{
    ScriptedPrompt prompt;
    QString password = "Morva";
    PasswordLogic p(password);
    EXPECT_EQ(p.Instruction(), "Please input password.");
    EXPECT_EQ(p.Continue(""), Result::Closed);
    EXPECT_EQ(p.Continue("mORVA"), Result::Accepted);
    prompt.ExpectBox(MsgResult::Ok);
    EXPECT_EQ(p.Continue("wrong"), Result::Refused);
    ASSERT_EQ(prompt.boxes.size(), 1);
    EXPECT_EQ(prompt.boxes[0].text, "Incorrect Password Entered");
    EXPECT_EQ(prompt.boxes[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(prompt.AllUsed());
}

TEST(PasswordLogic, ChangeDialogueSequences)
{
    struct Press {
        QString entry;
        Step after;
        bool cleared;
        const char* box; // message shown, or nullptr
    };
    struct Case {
        const char* name;
        std::vector<Press> presses;
        QString password; // afterwards
    };
    const Case cases[] = {
        {"change",
         {{"", Step::Current, true, nullptr},
          {"morva", Step::New, true, nullptr},
          {"NewPw", Step::Confirm, true, nullptr},
          {"NEWPW", Step::Idle, false, "Change new password."}},
         "NEWPW"},
        {"wrong current is ignored",
         {{"", Step::Current, true, nullptr}, {"bad", Step::Current, false, nullptr}, {"", Step::Current, false, nullptr}},
         "Morva"},
        {"confirmation differs",
         {{"", Step::Current, true, nullptr},
          {"MORVA", Step::New, true, nullptr},
          {"one", Step::Confirm, true, nullptr},
          {"two", Step::Idle, true, "Not Changed password."}},
         "Morva"},
        {"empty new password waits", {{"", Step::Current, true, nullptr}, {"Morva", Step::New, true, nullptr}, {"", Step::New, false, nullptr}}, "Morva"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompt prompt;
        QString password = "Morva";
        PasswordLogic p(password);
        for (const Press& press : c.presses) {
            if (press.box)
                prompt.ExpectBox(MsgResult::Ok);
            const qsizetype shown = prompt.boxes.size();
            EXPECT_EQ(p.Change(press.entry), press.cleared) << press.entry.toStdString();
            EXPECT_EQ(p.CurrentStep(), press.after);
            if (press.box) {
                ASSERT_EQ(prompt.boxes.size(), shown + 1);
                EXPECT_EQ(prompt.boxes.back().text, press.box);
            }
        }
        EXPECT_EQ(password, c.password);
        EXPECT_TRUE(prompt.AllUsed());
        // Continue checks the password as it now stands.
        EXPECT_EQ(p.Continue(c.password.toLower()), Result::Accepted);
    }
}

TEST(PasswordLogic, CaptionsFollowTheStep)
{
    QString password = "Morva";
    PasswordLogic p(password);
    const QStringList captions{"Change Password", "Current password", "New Password", "Confirm New Password"};
    const QStringList lines{"Please input password.", "Input current password.", "Input new password.",
                            "Input new password again."};
    const QString entries[] = {"", "morva", "x"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p.ChangeCaption(), captions[i]);
        EXPECT_EQ(p.Instruction(), lines[i]);
        if (i < 3)
            p.Change(entries[i]);
    }
}
