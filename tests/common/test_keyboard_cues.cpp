// What a keyboard user reaches: Tab into a group of options lands on the
// checked one, and a context menu asked for from the keyboard opens with its
// first enabled item active.
#include "common/widgets/keyboard_cues.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A button, three options and a button, in this Tab order.
struct OptionsWindow {
    QWidget window;
    QPushButton* before = new QPushButton(QStringLiteral("before"), &window);
    QRadioButton* options[3] = {new QRadioButton(QStringLiteral("a"), &window),
                                new QRadioButton(QStringLiteral("b"), &window),
                                new QRadioButton(QStringLiteral("c"), &window)};
    QPushButton* after = new QPushButton(QStringLiteral("after"), &window);

    OptionsWindow()
    {
        for (int i = 0; i < 3; ++i)
            options[i]->move(0, 30 + 30 * i);
        after->move(0, 130);
        options[1]->setChecked(true);
        TabToCheckedOption({options[0], options[1], options[2]});
        window.resize(200, 200);
        window.show();
        window.activateWindow();
    }
};

} // namespace

TEST(TabToCheckedOption, TabLandsOnTheCheckedOption)
{
    struct Case {
        const char* name;
        std::function<void(OptionsWindow&)> before; // then Tab from "before", or Backtab from "after"
        int checked;
    };
    const Case cases[] = {
        {"as created", [](OptionsWindow&) {}, 1},
        {"another option had the focus",
         [](OptionsWindow& o) {
             o.options[0]->setFocus(Qt::TabFocusReason);
             o.before->setFocus(Qt::TabFocusReason);
         },
         1},
        {"checked by code", [](OptionsWindow& o) { o.options[2]->setChecked(true); }, 2},
        {"the focus on one, another checked by code",
         [](OptionsWindow& o) {
             o.options[0]->setFocus(Qt::TabFocusReason);
             o.options[2]->setChecked(true);
             o.before->setFocus(Qt::TabFocusReason);
         },
         2},
        {"moved by the arrow keys",
         [](OptionsWindow& o) {
             o.options[1]->setFocus(Qt::TabFocusReason);
             QTest::keyClick(o.options[1], Qt::Key_Down);
             o.before->setFocus(Qt::TabFocusReason);
         },
         2},
    };
    for (const Case& c : cases) {
        for (const bool backwards : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (backwards ? ", Backtab" : ", Tab"));
            OptionsWindow o;
            ASSERT_TRUE(QTest::qWaitForWindowActive(&o.window));
            c.before(o);
            ASSERT_TRUE(o.options[c.checked]->isChecked());
            QWidget* from = backwards ? o.after : o.before;
            from->setFocus(Qt::TabFocusReason);
            if (backwards)
                QTest::keyClick(from, Qt::Key_Backtab, Qt::ShiftModifier);
            else
                QTest::keyClick(from, Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), o.options[c.checked]);
            // Space there keeps the choice.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            EXPECT_TRUE(o.options[c.checked]->isChecked());
        }
    }
}

TEST(KeyboardMenu, FromTheKeyboardTheFirstEnabledItemIsActive)
{
    QTreeWidget view;
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    for (const char* text : {"one", "two"})
        new QTreeWidgetItem(&view, {QString::fromLatin1(text)});
    view.setCurrentItem(view.topLevelItem(1));
    QMenu menu(&view);
    QAction* off = menu.addAction(QStringLiteral("Off"));
    off->setEnabled(false);
    menu.addSeparator();
    QAction* first = menu.addAction(QStringLiteral("First"));
    menu.addAction(QStringLiteral("Second"));
    auto* watch = new KeyboardMenuWatch(&view);
    std::vector<std::pair<bool, QPoint>> asked;
    QObject::connect(&view, &QWidget::customContextMenuRequested, [&](const QPoint& pos) {
        const bool keyboard = watch->TakeFromKeyboard();
        asked.emplace_back(keyboard, pos);
        PopUpMenu(&menu, view.viewport()->mapToGlobal(pos), keyboard);
    });
    view.resize(200, 200);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    view.setFocus(Qt::TabFocusReason);

    // Shift+F10 asks as the Menu key does, at the current item; Enter then
    // acts on the first enabled item.
    int chosen = 0;
    QObject::connect(first, &QAction::triggered, [&chosen] { ++chosen; });
    QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].first);
    EXPECT_EQ(view.itemAt(asked[0].second), view.topLevelItem(1));
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.activeAction(), first);
    QTest::keyClick(&menu, Qt::Key_Return);
    EXPECT_EQ(chosen, 1);
    EXPECT_FALSE(menu.isVisible());

    // A right click opens the menu with nothing active.
    const QPoint at = view.visualItemRect(view.topLevelItem(0)).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &click);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_FALSE(asked[1].first);
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.activeAction(), nullptr);
    menu.hide();
}
