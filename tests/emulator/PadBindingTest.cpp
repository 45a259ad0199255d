#include "emulator/PadBinding.h"

#include "emulator/ConfigTextFile.h"
#include "emulator/ConfigTextFileTable.h"
#include "input/ControllerGuidText.h"
#include "input/VirtualPads.h"
#include "platform/IniFile.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace ravelo {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kVendors[] = {0x045E, 0x054C, 0x057E};

Bytes Pattern()
{
    Bytes block(PadBinding::kGamePadConfigBytes);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(i * 31 + 7);
    return block;
}

Bytes GuidAt(const Bytes& block, std::size_t pad, std::size_t button)
{
    const std::size_t at = (pad * PadBinding::kButtonsPerPad + button) * PadBinding::kButtonRecordBytes +
                           PadBinding::kGuidOffset;
    return Bytes(block.begin() + static_cast<std::ptrdiff_t>(at),
                 block.begin() + static_cast<std::ptrdiff_t>(at + 16));
}

EmulatorInfo Record(const std::string& id, const std::string& target)
{
    EmulatorInfo record;
    record.EmulatorId = id;
    record.Configtype = "0";
    record.KeyConfig = {{"pad.cfg", target, ""}, {"other.cfg", "other.cfg", ""}};
    return record;
}

class PadBindingTest : public test::VirtualPadsTest
{
protected:
    // Attaches pads until count are attached and returns the list the binding will see.
    ControllerList PadsUpTo(int count)
    {
        for (; m_attached < count; ++m_attached) {
            const std::string name = "Pad " + std::to_string(m_attached);
            EXPECT_GE(Attach(name, kVendors[m_attached], 0x028E), 0) << SDL_GetError();
        }
        ControllerList pads = m_input->EnumerateControllers(true);
        EXPECT_EQ(pads.size(), static_cast<std::size_t>(count));
        return pads;
    }

    test::TempFolder m_emu;
    int m_attached = 0;
};

TEST_F(PadBindingTest, TableSettingsFileGetsEachPadsIdentityInItsButtonRecords)
{
    std::filesystem::create_directories(m_emu / "cfg");
    const EmulatorInfo record = Record("1250001", "cfg\\emu.cfg");
    const Bytes pattern = Pattern();
    for (int count = 0; count <= 3; ++count) {
        const ControllerList pads = PadsUpTo(count);
        test::WriteText(m_emu / "cfg/emu.cfg", "# settings\r\nVideoMode  2 x\r\nGamePadConfig " +
                                                   ConfigTextFileTable::EncodeValue(pattern) + "\r\n");
        ASSERT_TRUE(PadBinding::BindControllers(record, m_emu.Path(), *m_input)) << count;

        ConfigTextMap map;
        ASSERT_TRUE(ConfigTextFile::Read(m_emu / "cfg/emu.cfg", map));
        EXPECT_EQ(map.at("VideoMode"), "2 x");
        EXPECT_EQ(map.at("!version"), "1");
        Bytes block(PadBinding::kGamePadConfigBytes);
        ASSERT_TRUE(ConfigTextFileTable::DecodeValue(map.at("GamePadConfig"), block));
        Bytes expected = pattern;
        for (int pad = 0; pad < count; ++pad)
            for (std::size_t button = 0; button < PadBinding::kButtonsPerPad; ++button) {
                const std::size_t at =
                    (pad * PadBinding::kButtonsPerPad + button) * PadBinding::kButtonRecordBytes +
                    PadBinding::kGuidOffset;
                std::copy(pads[pad].instanceGuid.begin(), pads[pad].instanceGuid.end(),
                          expected.begin() + at);
            }
        EXPECT_EQ(block, expected) << count << " pad(s): only the identities of attached pads change";
        if (count > 0) {
            EXPECT_EQ(GuidAt(block, count - 1, 9),
                      Bytes(pads[count - 1].instanceGuid.begin(), pads[count - 1].instanceGuid.end()));
            EXPECT_NE(GuidAt(block, count - 1, 9), GuidAt(pattern, count - 1, 9));
        }
    }
}

TEST_F(PadBindingTest, DirectInputIniGetsOneOrTwoPadsAndNothingOtherwise)
{
    const EmulatorInfo record = Record("1300001", "emu.ini");
    const std::string file = m_emu / "emu.ini";
    const std::string original = "[Video]\nWidth=640\n";
    for (int count = 0; count <= 3; ++count) {
        const ControllerList pads = PadsUpTo(count);
        test::WriteText(file, original);
        const bool bound = PadBinding::BindControllers(record, m_emu.Path(), *m_input);
        EXPECT_EQ(bound, count == 1 || count == 2) << count;
        if (!bound) {
            EXPECT_EQ(test::ReadText(file), original) << count;
            continue;
        }
        EXPECT_EQ(ReadProfileString(file, "Video", "Width", ""), "640");
        EXPECT_EQ(ReadProfileString(file, "DirectInput-Controller 0", "GUID", ""),
                  ControllerGuidText(pads, 0));
        EXPECT_EQ(ReadProfileString(file, "DirectInput-Controller 1", "GUID", ""),
                  count == 2 ? ControllerGuidText(pads, 1) : "");
        EXPECT_NE(ControllerGuidText(pads, 0), kNoControllerGuidText);
    }
}

TEST_F(PadBindingTest, TwoIdenticalPadsAreBoundWithDifferentIdentities)
{
    ASSERT_GE(Attach("Twin", 0x045E, 0x028E), 0) << SDL_GetError();
    ASSERT_GE(Attach("Twin", 0x045E, 0x028E), 0) << SDL_GetError();

    const std::string ini = m_emu / "emu.ini";
    ASSERT_TRUE(PadBinding::BindControllers(Record("1300001", "emu.ini"), m_emu.Path(), *m_input));
    const std::string first = ReadProfileString(ini, "DirectInput-Controller 0", "GUID", "");
    const std::string second = ReadProfileString(ini, "DirectInput-Controller 1", "GUID", "");
    EXPECT_EQ(first.size(), 36u);
    EXPECT_NE(first, second);

    ASSERT_TRUE(PadBinding::BindControllers(Record("1250001", "emu.cfg"), m_emu.Path(), *m_input));
    ConfigTextMap map;
    ASSERT_TRUE(ConfigTextFile::Read(m_emu / "emu.cfg", map));
    Bytes block(PadBinding::kGamePadConfigBytes);
    ASSERT_TRUE(ConfigTextFileTable::DecodeValue(map.at("GamePadConfig"), block));
    EXPECT_NE(GuidAt(block, 0, 0), GuidAt(block, 1, 0));
    EXPECT_EQ(GuidAt(block, 0, 0), GuidAt(block, 0, 9));
    EXPECT_EQ(GuidAt(block, 1, 0), GuidAt(block, 1, 9));

    // Binding again while both stay attached writes the same identities.
    ASSERT_TRUE(PadBinding::BindControllers(Record("1300001", "emu.ini"), m_emu.Path(), *m_input));
    EXPECT_EQ(ReadProfileString(ini, "DirectInput-Controller 0", "GUID", ""), first);
    EXPECT_EQ(ReadProfileString(ini, "DirectInput-Controller 1", "GUID", ""), second);
}

TEST_F(PadBindingTest, JoystickUsingKeysGoBeforeTheFirstSection)
{
    const EmulatorInfo record = Record("1220001", "emu.ini");
    const std::string file = m_emu / "emu.ini";
    const std::string original = "; emulator settings\nSound=1\n\n[Keys]\nJoystick1Using=0\n";
    const std::string expected[] = {
        original,
        "; emulator settings\nSound=1\nJoystick1Using=2\n\n[Keys]\nJoystick1Using=0\n",
        "; emulator settings\nSound=1\nJoystick1Using=2\nJoystick2Using=3\n\n[Keys]\nJoystick1Using=0\n",
        original,
    };
    for (int count = 0; count <= 3; ++count) {
        PadsUpTo(count);
        test::WriteText(file, original);
        EXPECT_EQ(PadBinding::BindControllers(record, m_emu.Path(), *m_input), count == 1 || count == 2);
        EXPECT_EQ(test::ReadText(file), expected[count]) << count;
    }
    // A second binding replaces the keys rather than adding them again; a missing file is created.
    const ControllerList two(2);
    EXPECT_TRUE(PadBinding::BindControllerList(record, m_emu.Path(), two));
    EXPECT_TRUE(PadBinding::BindControllerList(record, m_emu.Path(), two));
    EXPECT_EQ(test::ReadText(file), expected[2]);
    std::filesystem::remove(file);
    EXPECT_TRUE(PadBinding::BindControllerList(record, m_emu.Path(), two));
    EXPECT_EQ(test::ReadText(file), "Joystick1Using=2\nJoystick2Using=3\n");
}

TEST(PadBindingList, FourPadsAtMostAndNothingOutsideTheEmulatorFolder)
{
    test::TempFolder emu;
    ControllerList five(5);
    for (std::size_t i = 0; i < five.size(); ++i)
        five[i].instanceGuid.fill(static_cast<std::uint8_t>(0xA0 + i));

    // A missing file is created with the version line and the table's block.
    const EmulatorInfo record = Record("1250001", "emu.cfg");
    ASSERT_TRUE(PadBinding::BindControllerList(record, emu.Path(), five));
    ConfigTextMap map;
    ASSERT_TRUE(ConfigTextFile::Read(emu / "emu.cfg", map));
    EXPECT_EQ(map.size(), 2u); // "!version" and "GamePadConfig": nothing was read, so no empty name
    Bytes block(PadBinding::kGamePadConfigBytes);
    ASSERT_TRUE(ConfigTextFileTable::DecodeValue(map.at("GamePadConfig"), block));
    for (std::size_t pad = 0; pad < PadBinding::kGamepads; ++pad)
        EXPECT_EQ(GuidAt(block, pad, 0), Bytes(16, static_cast<std::uint8_t>(0xA0 + pad)));
    EXPECT_EQ(block, PadBinding::GamePadConfigSnapshot());

    // The table is process-wide: a file without the block receives the one held.
    test::WriteText(emu / "second.cfg", "Name value\n");
    ASSERT_TRUE(PadBinding::BindControllerList(Record("1250001", "second.cfg"), emu.Path(), {}));
    ConfigTextMap second;
    ASSERT_TRUE(ConfigTextFile::Read(emu / "second.cfg", second));
    EXPECT_EQ(second.at("GamePadConfig"), map.at("GamePadConfig"));
    EXPECT_EQ(second.at("Name"), "value");

    // Nothing happens without a key file, for other emulators, or for a file outside the folder.
    EmulatorInfo none = record;
    none.KeyConfig.clear();
    EXPECT_FALSE(PadBinding::BindControllerList(none, emu.Path(), five));
    EXPECT_FALSE(PadBinding::BindControllerList(Record("1000001", "x.cfg"), emu.Path(), five));
    EXPECT_FALSE(std::filesystem::exists(emu / "x.cfg"));
    for (const char* id : {"1250001", "1300001", "1220001"}) {
        EXPECT_FALSE(PadBinding::BindControllerList(Record(id, "..\\escape.cfg"), emu.Path(), five)) << id;
        EXPECT_FALSE(PadBinding::BindControllerList(Record(id, "missing\\emu.cfg"), emu.Path(), five)) << id;
    }
    EXPECT_FALSE(std::filesystem::exists(emu / "../escape.cfg"));
}

} // namespace
} // namespace ravelo
