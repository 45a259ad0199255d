#include "VirtualPads.h"

#include "input/ControllerGuidText.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace ravelo::test {
namespace {

using ControllerListTest = VirtualPadsTest;

const std::regex kGuidTextPattern("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$");

TEST_F(ControllerListTest, NoPadsGiveAnEmptyListAndTheZeroIdentity)
{
    const ControllerList pads = m_input->EnumerateControllers(true);
    EXPECT_TRUE(pads.empty());
    EXPECT_EQ(ControllerGuidText(pads, 0), "00000000-0000-0000-0000-000000000000");
    EXPECT_EQ(m_input->ConnectedPadCount(), 0);
}

TEST_F(ControllerListTest, OneTwoThreePadsAreListedInAttachOrderWithTheirIdentities)
{
    const std::uint16_t vendors[] = {0x045E, 0x054C, 0x057E};
    const char* names[] = {"Pad One", "Pad Two", "Pad Three"};
    for (int attached = 1; attached <= 3; ++attached) {
        ASSERT_GE(Attach(names[attached - 1], vendors[attached - 1], 0x028E), 0) << SDL_GetError();

        const ControllerList pads = m_input->EnumerateControllers(true);
        ASSERT_EQ(pads.size(), static_cast<std::size_t>(attached));
        EXPECT_EQ(m_input->ConnectedPadCount(), attached);
        std::set<std::string> texts;
        for (int i = 0; i < attached; ++i) {
            EXPECT_EQ(pads[i].name, names[i]);
            EXPECT_EQ(pads[i].vendor, vendors[i]);
            EXPECT_TRUE(pads[i].isGameController);
            const std::string text = ControllerGuidText(pads, i);
            EXPECT_TRUE(std::regex_match(text, kGuidTextPattern)) << text;
            // SDL's identity carries the vendor as a little-endian 16-bit field at byte 4 and the product
            // at byte 8, so read as a GUID the vendor is the second group and the product's bytes lead
            // the fourth.
            char vendorGroup[8];
            std::snprintf(vendorGroup, sizeof vendorGroup, "-%04X-", vendors[i]);
            EXPECT_EQ(text.substr(8, 6), vendorGroup) << text;
            EXPECT_EQ(text.substr(19, 4), "8E02") << text;
            texts.insert(text);
        }
        EXPECT_EQ(texts.size(), static_cast<std::size_t>(attached)) << "identities must differ";
        EXPECT_EQ(ControllerGuidText(pads, attached), "00000000-0000-0000-0000-000000000000");
    }
}

TEST_F(ControllerListTest, TwoIdenticalPadsGetDifferentIdentitiesThatStayWhileTheyAreAttached)
{
    ASSERT_GE(Attach("Same Pad", 0x045E, 0x028E), 0) << SDL_GetError();
    ASSERT_GE(Attach("Same Pad", 0x045E, 0x028E), 0) << SDL_GetError();
    const ControllerList pads = m_input->EnumerateControllers(true);
    ASSERT_EQ(pads.size(), 2u);
    const std::string first = ControllerGuidText(pads, 0);
    const std::string second = ControllerGuidText(pads, 1);
    ASSERT_NE(first, second);
    // Only the last byte tells them apart: the pad's ordinal among pads of its kind.
    EXPECT_EQ(first.substr(0, 34), second.substr(0, 34));
    EXPECT_EQ(first.substr(34), "00");
    EXPECT_EQ(second.substr(34), "01");

    // Another kind of pad coming and going, and asking again, changes neither identity.
    const int other = Attach("Other Pad", 0x054C, 0x05C4);
    ASSERT_GE(other, 0) << SDL_GetError();
    ControllerList again = m_input->EnumerateControllers(true);
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(ControllerGuidText(again, 0), first);
    EXPECT_EQ(ControllerGuidText(again, 1), second);
    EXPECT_EQ(ControllerGuidText(again, 2).substr(34), "00");
    ASSERT_TRUE(Detach(other));
    again = m_input->EnumerateControllers(false);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(ControllerGuidText(again, 0), first);
    EXPECT_EQ(ControllerGuidText(again, 1), second);

    // With the first one pulled, the one left is the first of its kind.
    ASSERT_TRUE(Detach(0));
    again = m_input->EnumerateControllers(true);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(ControllerGuidText(again, 0), first);
}

TEST_F(ControllerListTest, JoysticksWithoutAPadMappingAreNotPads)
{
    ASSERT_GE(Attach("Wheel", 0x046D, 0xC29B, SDL_JOYSTICK_TYPE_WHEEL), 0) << SDL_GetError();
    ASSERT_GE(Attach("Pad", 0x045E, 0x028E), 0) << SDL_GetError();

    const ControllerList pads = m_input->EnumerateControllers(true);
    ASSERT_EQ(pads.size(), 1u);
    EXPECT_EQ(pads[0].name, "Pad");

    const ControllerList all = m_input->EnumerateControllers(false);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].name, "Wheel");
    EXPECT_FALSE(all[0].isGameController);
    EXPECT_EQ(all[1].name, "Pad");
    EXPECT_EQ(m_input->ConnectedPadCount(), 1);
}

TEST_F(ControllerListTest, OnlyFourUserSlotsAreCountedAndUnpluggedPadsLeave)
{
    int devices[5];
    for (int i = 0; i < 5; ++i) {
        devices[i] = Attach("Pad " + std::to_string(i), 0x045E, static_cast<std::uint16_t>(0x0200 + i));
        ASSERT_GE(devices[i], 0) << SDL_GetError();
    }
    EXPECT_EQ(m_input->EnumerateControllers(true).size(), 5u);
    EXPECT_EQ(m_input->ConnectedPadCount(), 4);

    // Pull the first pad: the second moves to the front of the list.
    ASSERT_TRUE(Detach(0));
    const ControllerList pads = m_input->EnumerateControllers(true);
    ASSERT_EQ(pads.size(), 4u);
    EXPECT_EQ(pads[0].name, "Pad 1");
    EXPECT_EQ(m_input->ConnectedPadCount(), 4);

    while (m_input->Invoke([] { return SDL_NumJoysticks(); }) > 0)
        ASSERT_TRUE(Detach(0));
    EXPECT_TRUE(m_input->EnumerateControllers(true).empty());
    EXPECT_EQ(m_input->ConnectedPadCount(), 0);
}

} // namespace
} // namespace ravelo::test
