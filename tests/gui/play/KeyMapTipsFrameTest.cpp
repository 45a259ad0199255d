// The key-map tips window with the shipped tip files: which file a game shows, and that it never takes
// the keyboard from the emulator that has just started.
#include "PlayFixture.h"

#include "emulator/InputKind.h"
#include "gui/play/CKeyMapTipsFrame.h"
#include "gui/play/KeyMapTips.h"
#include "support/FileText.h"

#include <QScreen>
#include <QTest>
#include <QWidget>

namespace ravelo::test {
namespace {

using KeyMapTipsFrameTest = PlayFixture;

QString Shipped(const std::string& relative)
{
    return QString::fromStdString(ReadText(std::string(RAVELO_SOURCE_DIR) + "/" + relative)).trimmed();
}

TEST_F(KeyMapTipsFrameTest, EachSystemAndInputKindShowsItsTipsAndUnknownSystemsShowNothing)
{
    CKeyMapTipsFrame tips;
    ASSERT_TRUE(tips.Create());
    EXPECT_FALSE(tips.IsWindowVisible()); // made hidden at start

    // MAME+ with a pad reads the MAME pad tips; ARCADE reads FBA's; a keyboard reads the keyboard ones.
    ASSERT_TRUE(tips.ShowForGame("146", kInputKindGamepad));
    EXPECT_TRUE(tips.IsWindowVisible());
    EXPECT_EQ(tips.TipsText(), Shipped("LocalGameRes/keymap/gamepad/手柄MAME.txt"));
    EXPECT_TRUE(tips.TipsText().contains(QStringLiteral("Start + Back"))); // the way out from the couch
    EXPECT_EQ(GuiDriver::Find(tips, QStringLiteral("Rd_KeyMapTis"))->GetText(), tips.TipsText());
    EXPECT_EQ(GuiDriver::Find(tips, QStringLiteral("Lb_System"))->GetText(), QStringLiteral("MAME+"));
    ASSERT_TRUE(tips.ShowForGame("126", kInputKindGamepad));
    EXPECT_EQ(tips.TipsText(), Shipped("LocalGameRes/keymap/gamepad/手柄FBA.txt"));
    ASSERT_TRUE(tips.ShowForGame("125", kInputKindKeyboard));
    EXPECT_EQ(tips.TipsText(), Shipped("LocalGameRes/keymap/keyboard/键盘FC.txt"));
    EXPECT_EQ(GuiDriver::Find(tips, QStringLiteral("Lb_InputKind"))->GetText(), QStringLiteral("键盘"));

    // A native program or a number outside the table: nothing to show, and the window goes.
    EXPECT_FALSE(tips.ShowForGame("138", kInputKindGamepad));
    EXPECT_FALSE(tips.IsWindowVisible());
    EXPECT_TRUE(tips.TipsText().isEmpty());
    EXPECT_FALSE(tips.ShowForGame("125", 0));

    // A file of the program folder that is not UTF-8 still shows, its odd bytes replaced.
    WriteText(m_home / "LocalGameRes/keymap/gamepad/手柄GBA.txt", "A: caf\xe9\n");
    ASSERT_TRUE(tips.ShowForGame("120", kInputKindGamepad));
    EXPECT_EQ(tips.TipsText(), QStringLiteral("A: caf\uFFFD"));
}

TEST_F(KeyMapTipsFrameTest, ShownBesideTheGameWithoutTakingTheFocusClosedOnlyHidden)
{
    QWidget game;
    game.resize(400, 300);
    game.show();
    game.activateWindow();
    if (!QTest::qWaitForWindowActive(&game))
        GTEST_SKIP() << "this platform does not activate windows";

    CKeyMapTipsFrame tips;
    ASSERT_TRUE(tips.Create());
    ASSERT_TRUE(tips.ShowForGame("125", kInputKindGamepad));
    QWidget* widget = tips.GetWidget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
    // The emulator keeps the keyboard: the focus stays with it (or comes straight back).
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return QApplication::activeWindow() == &game; }, 3000));
    EXPECT_TRUE(widget->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(widget->windowFlags() & Qt::WindowStaysOnTopHint);
    const QRect available = widget->screen()->availableGeometry();
    EXPECT_EQ(widget->frameGeometry().right(), available.right() - 16);

    // The close button hides it; the next game shows it again.
    ASSERT_TRUE(GuiDriver::Click(tips, QStringLiteral("Btn_Close")));
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return !tips.IsWindowVisible(); }));
    EXPECT_NE(tips.GetHWND(), 0u);
    ASSERT_TRUE(tips.ShowForGame("121", kInputKindGamepad));
    EXPECT_TRUE(tips.IsWindowVisible());
    tips.Hide();
    EXPECT_FALSE(tips.IsWindowVisible());
}

} // namespace
} // namespace ravelo::test
