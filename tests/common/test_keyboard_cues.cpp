// What a keyboard user reaches: Tab into a group of options lands on the
// checked one, a context menu asked for from the keyboard opens with its
// first enabled item active and only at the current item, and Enter presses
// the focused button.
#include "common/widgets/keyboard_cues.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

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

// The Menu key and Shift+F10 ask for the menu at the current item, scrolled
// into view; a view without a current item opens no menu, whatever lies
// under the point where the platform asks.
TEST(KeyboardMenu, OnlyAtTheCurrentItem)
{
    QTreeWidget view;
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    for (int i = 0; i < 60; ++i)
        new QTreeWidgetItem(&view, {QString::number(i)});
    auto* watch = new KeyboardMenuWatch(&view);
    std::vector<QTreeWidgetItem*> asked;
    QObject::connect(&view, &QWidget::customContextMenuRequested, [&](const QPoint& pos) {
        EXPECT_TRUE(watch->TakeFromKeyboard());
        asked.push_back(view.itemAt(pos));
    });
    view.resize(200, 200);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    view.setFocus(Qt::TabFocusReason);
    view.selectionModel()->clearCurrentIndex();

    // As the platform sends the Menu key: at the view's cursor rectangle,
    // and here at the middle of the view as well.
    const auto menuKeyAt = [&view](const QPoint& pos) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, pos, view.mapToGlobal(pos));
        QApplication::sendEvent(&view, &menu);
    };
    const QPoint cursor = view.inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    for (const QPoint& at : {cursor, view.viewport()->rect().center()})
        menuKeyAt(at);
    QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(asked.empty()) << "a menu without a current item";
    EXPECT_EQ(view.currentItem(), nullptr);

    // A current item scrolled out of view is scrolled back and asked for.
    QTreeWidgetItem* current = view.topLevelItem(50);
    view.setCurrentItem(current);
    view.scrollToTop();
    menuKeyAt(view.viewport()->rect().center());
    QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], current);
    EXPECT_EQ(asked[1], current);
    EXPECT_TRUE(view.viewport()->rect().contains(view.visualItemRect(current)));
}

// Enter and the keypad's Enter press the push or tool button with the
// focus, once, in a window and in a dialog (there instead of the dialog's
// default button); a button that takes Enter itself is pressed once, and
// check boxes and held keys press nothing.
TEST(EnterPressesFocusedButton, PressesTheFocusedButtonOnce)
{
    EnterPressesFocusedButton();
    EnterPressesFocusedButton(); // installed once however often asked

    struct Case {
        const char* name;
        bool dialog;
        std::function<QAbstractButton*(QWidget*)> make;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool autoRepeat;
        int pressed;       // times the focused button is pressed
        int defaultPressed; // times the dialog's default button is pressed
    };
    const auto plain = [](QWidget* parent) {
        auto* b = new QPushButton(QStringLiteral("plain"), parent);
        b->setAutoDefault(false);
        return b;
    };
    const auto tool = [](QWidget* parent) { return new QToolButton(parent); };
    const auto check = [](QWidget* parent) { return new QCheckBox(QStringLiteral("box"), parent); };
    const auto automatic = [](QWidget* parent) { return new QPushButton(QStringLiteral("auto"), parent); };
    const Case cases[] = {
        {"push button, Return", false, plain, Qt::Key_Return, Qt::NoModifier, false, 1, 0},
        {"push button, keypad Enter", false, plain, Qt::Key_Enter, Qt::KeypadModifier, false, 1, 0},
        {"tool button", false, tool, Qt::Key_Return, Qt::NoModifier, false, 1, 0},
        {"held key", false, plain, Qt::Key_Return, Qt::NoModifier, true, 0, 0},
        {"with Ctrl", false, plain, Qt::Key_Return, Qt::ControlModifier, false, 0, 0},
        {"check box", false, check, Qt::Key_Return, Qt::NoModifier, false, 0, 0},
        {"dialog, push button", true, plain, Qt::Key_Return, Qt::NoModifier, false, 1, 0},
        {"dialog, auto default button", true, automatic, Qt::Key_Return, Qt::NoModifier, false, 1, 0},
        {"dialog, check box", true, check, Qt::Key_Return, Qt::NoModifier, false, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QWidget> window(c.dialog ? new QDialog : new QWidget);
        auto* layout = new QVBoxLayout(window.get());
        auto* fallback = new QPushButton(QStringLiteral("default"), window.get());
        fallback->setDefault(c.dialog);
        QAbstractButton* button = c.make(window.get());
        layout->addWidget(fallback);
        layout->addWidget(button);
        QSignalSpy pressed(button, &QAbstractButton::clicked);
        QSignalSpy defaultPressed(fallback, &QAbstractButton::clicked);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        button->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(button->hasFocus());
        const bool checked = button->isChecked();
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString(), c.autoRepeat);
        QApplication::sendEvent(button, &press);
        QKeyEvent release(QEvent::KeyRelease, c.key, c.modifiers, QString(), c.autoRepeat);
        QApplication::sendEvent(button, &release);
        EXPECT_EQ(pressed.count(), c.pressed);
        EXPECT_EQ(defaultPressed.count(), c.defaultPressed);
        EXPECT_EQ(button->isChecked(), checked);
    }
}
