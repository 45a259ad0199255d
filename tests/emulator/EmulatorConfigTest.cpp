#include "emulator/EmulatorConfig.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ravelo {
namespace {

namespace fs = std::filesystem;

class EmulatorConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(m_root / "Emu/GamePadCfg/sub");
        fs::create_directories(m_root / "Emu/KeyBoardCfg");
        fs::create_directories(m_root / "Documents/Saves");
        test::WriteText(m_root / "Emu/GamePadCfg/keys.cfg", "pad keys");
        test::WriteText(m_root / "Emu/GamePadCfg/default.cfg", "pad default");
        test::WriteText(m_root / "Emu/GamePadCfg/sub/extra.ini", "pad extra");
        test::WriteText(m_root / "Emu/KeyBoardCfg/keys.cfg", "keyboard keys");
        test::WriteText(m_root / "Emu/KeyBoardCfg/default.cfg", "keyboard default");

        m_record.EmulatorId = "1000001";
        m_record.Configtype = "0";
        m_record.KeyConfig = {{"keys.cfg", "emu.cfg", ""}, {"~.cfg", "game.cfg", "default.cfg"}};
        m_record.SetConfig = {{"sub\\extra.ini", "extra.ini"}};
    }

    std::string Emu() const { return m_root / "Emu/"; }
    EmulatorConfig Config() const { return EmulatorConfig(m_root / "Emu", m_root / "Documents"); }

    test::TempFolder m_root;
    EmulatorInfo m_record;
};

TEST_F(EmulatorConfigTest, TemplateRules)
{
    const EmulatorConfig config = Config();
    const std::string user = config.UserFolder(kInputKindGamepad);
    EXPECT_EQ(user, Emu() + "UserGamePadCfg/");
    EXPECT_EQ(config.UserFolder(3), "");
    EXPECT_EQ(config.TemplatePath(user, "~.cfg", "D:\\roms\\Contra.nes"), user + "Contra.cfg");
    EXPECT_EQ(config.TemplatePath(user, "~.cfg", "/roms/Super.Contra.nes"), user + "Super.Contra.cfg");
    EXPECT_EQ(config.TemplatePath(user, "~.cfg", ""), user + ".cfg");
    EXPECT_EQ(config.TemplatePath(Emu(), "$\\Saves\\~.sav", "/roms/Contra.nes"),
              m_root / "Documents/Saves/~.sav");
    EXPECT_EQ(config.TemplatePath(Emu(), "cfg\\pad.ini", ""), Emu() + "cfg/pad.ini");
    // Names from the server never leave the emulator's folder.
    EXPECT_EQ(config.TemplatePath(Emu(), "..\\..\\etc\\passwd", ""), "");
    EXPECT_EQ(config.TemplatePath(Emu(), "/etc/passwd", ""), "");
    EXPECT_EQ(config.TemplatePath(Emu(), "C:\\x.cfg", ""), "");
    EXPECT_EQ(config.TemplatePath(Emu(), "$/../x", ""), "");
    EXPECT_EQ(config.TemplatePath(Emu(), "~/x", "/roms/...nes"), "") << "a game named \"...\" gives \"..\"";
    EXPECT_EQ(config.TemplatePath(Emu(), "", ""), "");
}

TEST_F(EmulatorConfigTest, GamepadRoundTripWithDefaultSourceFallback)
{
    const EmulatorConfig config = Config();
    const std::string user = config.UserFolder(kInputKindGamepad);
    config.PrepareUserFolder(m_record, kInputKindGamepad);
    EXPECT_EQ(test::ReadText(user + "keys.cfg"), "pad keys");
    EXPECT_EQ(test::ReadText(user + "sub/extra.ini"), "pad extra");

    // No Contra.cfg yet: the default source stands in for it.
    config.ApplyConfig(m_record, "/roms/Contra.nes", kInputKindGamepad);
    EXPECT_EQ(test::ReadText(Emu() + "emu.cfg"), "pad keys");
    EXPECT_EQ(test::ReadText(Emu() + "game.cfg"), "pad default");
    EXPECT_EQ(test::ReadText(Emu() + "extra.ini"), "pad extra");

    // The emulator changes its files; save takes them back, the game's file under the game's name.
    test::WriteText(Emu() + "emu.cfg", "user keys");
    test::WriteText(Emu() + "game.cfg", "contra keys");
    config.SaveConfig(m_record, "/roms/Contra.nes", kInputKindGamepad);
    EXPECT_EQ(test::ReadText(user + "keys.cfg"), "user keys");
    EXPECT_EQ(test::ReadText(user + "Contra.cfg"), "contra keys");
    EXPECT_EQ(test::ReadText(user + "default.cfg"), "pad default");

    // Another game falls back to the default again; Contra gets its own file back.
    config.ApplyConfig(m_record, "/roms/Mario.nes", kInputKindGamepad);
    EXPECT_EQ(test::ReadText(Emu() + "game.cfg"), "pad default");
    config.ApplyConfig(m_record, "/roms/Contra.nes", kInputKindGamepad);
    EXPECT_EQ(test::ReadText(Emu() + "game.cfg"), "contra keys");

    // A later prepare keeps the user's files.
    config.PrepareUserFolder(m_record, kInputKindGamepad);
    EXPECT_EQ(test::ReadText(user + "keys.cfg"), "user keys");

    config.ResetUserFolder(m_record, kInputKindGamepad);
    EXPECT_FALSE(fs::exists(user));
    config.PrepareUserFolder(m_record, kInputKindGamepad);
    EXPECT_EQ(test::ReadText(user + "keys.cfg"), "pad keys");
}

TEST_F(EmulatorConfigTest, KeyboardKindIsSeparateAndEmptyFilesCountAsEmpty)
{
    const EmulatorConfig config = Config();
    const std::string user = config.UserFolder(kInputKindKeyboard);
    fs::create_directories(user + "nested");
    test::WriteText(user + "nested/empty.cfg", "");
    config.PrepareUserFolder(m_record, kInputKindKeyboard);
    EXPECT_EQ(test::ReadText(user + "keys.cfg"), "keyboard keys");

    config.ApplyConfig(m_record, "", kInputKindKeyboard);
    EXPECT_EQ(test::ReadText(Emu() + "emu.cfg"), "keyboard keys");
    EXPECT_EQ(test::ReadText(Emu() + "game.cfg"), "keyboard default");
    EXPECT_FALSE(fs::exists(Emu() + "extra.ini")) << "the keyboard defaults have no extra.ini";
    EXPECT_FALSE(fs::exists(config.UserFolder(kInputKindGamepad)));

    config.ResetUserFolder(m_record, kInputKindKeyboard);
    EXPECT_FALSE(fs::exists(user));
    EXPECT_TRUE(fs::exists(Emu() + "KeyBoardCfg/keys.cfg"));
}

TEST_F(EmulatorConfigTest, MissingSourcesFoldersAndOtherConfigTypesCopyNothing)
{
    fs::remove_all(m_root / "Emu/GamePadCfg");
    const EmulatorConfig config = Config();
    const std::string user = config.UserFolder(kInputKindGamepad);
    config.PrepareUserFolder(m_record, kInputKindGamepad);
    config.ApplyConfig(m_record, "/roms/Contra.nes", kInputKindGamepad);
    EXPECT_FALSE(fs::exists(Emu() + "emu.cfg"));

    // A target in a folder the emulator lacks is skipped; the others still go through.
    test::WriteText(Emu() + "emu.cfg", "ok");
    m_record.SetConfig = {{"x.ini", "nofolder\\x.ini"}};
    config.SaveConfig(m_record, "", kInputKindGamepad);
    EXPECT_EQ(test::ReadText(user + "keys.cfg"), "ok");
    test::WriteText(user + "x.ini", "x");
    config.ApplyConfig(m_record, "", kInputKindGamepad);
    EXPECT_FALSE(fs::exists(Emu() + "nofolder"));

    // A hostile target is neither read nor written.
    test::WriteText(m_root / "outside.cfg", "secret");
    m_record.KeyConfig = {{"stolen.cfg", "..\\outside.cfg", ""}};
    config.SaveConfig(m_record, "", kInputKindGamepad);
    EXPECT_FALSE(fs::exists(user + "stolen.cfg"));
    test::WriteText(user + "stolen.cfg", "overwrite");
    config.ApplyConfig(m_record, "", kInputKindGamepad);
    EXPECT_EQ(test::ReadText(m_root / "outside.cfg"), "secret");

    for (const char* type : {"1", "2"}) {
        m_record.Configtype = type;
        m_record.KeyConfig = {{"keys.cfg", "emu.cfg", ""}};
        test::WriteText(user + "keys.cfg", "user");
        config.ApplyConfig(m_record, "", kInputKindGamepad);
        EXPECT_EQ(test::ReadText(Emu() + "emu.cfg"), "ok") << type;
    }
}

} // namespace
} // namespace ravelo
