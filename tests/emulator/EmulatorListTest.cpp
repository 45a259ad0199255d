// The emulator list answer, the records made from it and the registry's rules that need no server.
#include "emulator/CEmulatorManager.h"
#include "emulator/EmulatorRecords.h"
#include "store/LibraryDatabase.h"
#include "support/TempFolder.h"
#include "systems/SystemTable.h"

#include <gtest/gtest.h>

namespace ravelo {
namespace {

using test::TempFolder;

std::string EmulatorJson(const std::string& id, const std::string& name, int system,
                         const std::string& version = "1.0.0")
{
    return R"({"emulatorid":")" + id + R"(","name":")" + name + R"(","version":")" + version +
           R"(","emulatortype":")" + std::to_string(system) + R"(","execute":["run.sh"]})";
}

// Records every question and answers with a set reply.
class ScriptedHost : public EmulatorHost
{
public:
    bool AskYesNo(const std::string& text, const std::string& caption, WindowHandle) override
    {
        asked.push_back(caption + "|" + text);
        return answer;
    }
    void ShowMessage(const std::string& text, const std::string& caption, WindowHandle) override
    {
        shown.push_back(caption + "|" + text);
    }
    bool answer = true;
    std::vector<std::string> asked, shown;
};

TEST(EmulatorList, DecodesEveryFieldIntoTheRecordInOrder)
{
    const std::string text = R"({"fc":[{"emulatorid":"1250001","name":"小霸王","version":"2.1.3",
        "downloadurl":"http://127.0.0.1:1/e.zip","update":"2024-05-01","description":"修复\n声音",
        "emulatortype":"125","system":"FC","execute":["fc.exe","fc64.exe"],"executeparam":"-rom \"%s\"",
        "configtype":"1",
        "keyconfig":[{"source":"a.cfg","target":"cfg/a.cfg","defaultsource":"d.cfg"},
                     {"source":"b.cfg","target":"b.cfg"}],
        "setconfig":[{"source":"s.ini","target":"s.ini"}]}]})";
    const auto list = ParseEmulatorList(text);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->ListOf("fc")->size(), 1u);
    EXPECT_EQ(list->ListOf("nope"), nullptr);

    const EmulatorInfo record = MakeEmulatorInfo((*list->ListOf("fc"))[0]);
    EXPECT_EQ(record.EmulatorId, "1250001");
    EXPECT_EQ(record.Name, u"小霸王");
    EXPECT_EQ(record.Version, "2.1.3");
    EXPECT_EQ(record.Downloadurl, "http://127.0.0.1:1/e.zip");
    EXPECT_EQ(record.UpdateDate, "2024-05-01");
    EXPECT_EQ(record.Description, u"修复\n声音");
    EXPECT_EQ(record.Emulatortype, 125);
    EXPECT_EQ(record.System, "FC");
    EXPECT_EQ(record.Executet, (std::vector<std::string>{"fc.exe", "fc64.exe"}));
    EXPECT_EQ(record.Executeparam, "-rom \"%s\"");
    EXPECT_EQ(record.Configtype, "1");
    EXPECT_EQ(record.KeyConfig, (std::vector<EmulatorInfo::KeyConfigEntry>{{"a.cfg", "cfg/a.cfg", "d.cfg"},
                                                                           {"b.cfg", "b.cfg", ""}}));
    EXPECT_EQ(record.SetConfig, (std::vector<EmulatorInfo::SetConfigEntry>{{"s.ini", "s.ini"}}));
}

TEST(EmulatorList, MissingKeysAreEmptyAndBadAnswersGiveNoList)
{
    const auto list = ParseEmulatorList(R"({"gba":[)" + EmulatorJson("1", "A", 120) + "]}");
    ASSERT_TRUE(list);
    for (const std::string& key : EmulatorListKeys())
        EXPECT_EQ(list->ListOf(key)->size(), key == "gba" ? 1u : 0u) << key;
    ASSERT_TRUE(ParseEmulatorList("{}"));

    EXPECT_FALSE(ParseEmulatorList("<html>502</html>"));
    EXPECT_FALSE(ParseEmulatorList(""));
    EXPECT_FALSE(ParseEmulatorList("[1,2]"));
    EXPECT_FALSE(ParseEmulatorList(R"({"fc":[{"emulatorid":"1","name":{"x":1}}]})"));
}

TEST(EmulatorList, VersionRuleDropsTheDotsAndReadsTheLeadingDigits)
{
    EXPECT_EQ(VersionNumber("1.2.10"), 1210);
    EXPECT_EQ(VersionNumber("1.3.0"), 130);
    EXPECT_EQ(VersionNumber("2.0beta3"), 20);
    EXPECT_EQ(VersionNumber("v1.0"), 0);
    EXPECT_EQ(VersionNumber(""), 0);
    EXPECT_GT(VersionNumber("99999999999999999999999"), 0); // saturates, never wraps negative
}

TEST(EmulatorList, FolderNamesMustStayBelowTheEmulatorFolder)
{
    EmulatorInfo record;
    record.EmulatorId = "1250001";
    record.Name = u"Foo";
    record.Emulatortype = 125;
    EXPECT_EQ(EmulatorFolderOf(record, "/opt/ravelo"), "/opt/ravelo/Emulator/FC/Foo");
    for (const std::u16string bad : {u"..", u"a/b", u"", u"."}) {
        record.Name = bad;
        EXPECT_EQ(EmulatorFolderOf(record, "/opt/ravelo/"), "");
    }
    record.Name = u"Foo";
    record.Emulatortype = 132; // no such system
    EXPECT_EQ(EmulatorFolderOf(record, "/opt/ravelo/"), "");
}

class Registry : public testing::Test
{
protected:
    Registry()
        : m_database(m_folder / "library.db"), m_registry({.listUrl = "http://127.0.0.1:1/unused",
                                                           .instanceFolder = m_folder.Path(),
                                                           .dataFolder = m_folder / "data",
                                                           .database = &m_database})
    {
    }

    TempFolder m_folder;
    LibraryDatabase m_database;
    CEmulatorManager m_registry;
    ScriptedHost m_host;
};

TEST_F(Registry, FirstOfADuplicateIdWinsAndABadAnswerKeepsTheList)
{
    ASSERT_TRUE(m_registry.RebuildFromText(
        R"({"arcade":[)" + EmulatorJson("7", "Arcade", 126) + "," + EmulatorJson("9", "..", 126) +
        R"(],"fc":[)" + EmulatorJson("7", "Nes", 125) + "," + EmulatorJson("3", "Other", 125) + "]}"));
    const std::vector<EmulatorInfo> available = m_registry.Available();
    ASSERT_EQ(available.size(), 2u); // the ".." name is never offered
    EXPECT_EQ(available[0].EmulatorId, "3");
    EXPECT_EQ(available[1].Name, u"Nes"); // "fc" is walked before "arcade"
    EXPECT_EQ(m_registry.FindAvailableByType(125)->EmulatorId, "3");
    EXPECT_FALSE(m_registry.FindAvailableByType(126));

    EXPECT_FALSE(m_registry.RebuildFromText("not json"));
    EXPECT_EQ(m_registry.Available().size(), 2u);
    EXPECT_TRUE(m_registry.RebuildFromText("{}"));
    EXPECT_TRUE(m_registry.Available().empty());
}

TEST_F(Registry, InstalledMapResolvesASystemToTheSmallestIdAndRefusesDuplicates)
{
    EmulatorInfo second;
    second.EmulatorId = "1250002";
    second.Emulatortype = 125;
    EmulatorInfo first = second;
    first.EmulatorId = "1250001";
    EXPECT_TRUE(m_registry.AddInstalled(second));
    EXPECT_TRUE(m_registry.AddInstalled(first));
    EXPECT_FALSE(m_registry.AddInstalled(first));
    EXPECT_EQ(m_registry.FindInstalledByType(125)->EmulatorId, "1250001");
    EXPECT_TRUE(m_registry.HasInstalledType(125));
    EXPECT_FALSE(m_registry.HasInstalledType(126));

    first.Version = "2.0";
    EXPECT_TRUE(m_registry.UpdateInstalled(first));
    EXPECT_EQ(m_registry.FindInstalled("1250001")->Version, "2.0");
    EXPECT_TRUE(m_registry.RemoveInstalled("1250001"));
    EXPECT_FALSE(m_registry.RemoveInstalled("1250001"));
    EXPECT_FALSE(m_registry.UpdateInstalled(first));
    EXPECT_EQ(m_registry.FindInstalledByType(125)->EmulatorId, "1250002");
}

TEST_F(Registry, UpdateCheckComparesVersionsAsWrittenAndUninstallOfAStrangerAsksNothing)
{
    EmulatorInfo installed;
    installed.EmulatorId = "1250001";
    installed.Name = u"Foo";
    installed.Emulatortype = 125;
    installed.Version = "1.2.10";
    ASSERT_TRUE(m_registry.AddInstalled(installed));

    EmulatorInfo offered = installed;
    offered.Version = "1.3.0"; // 130 is not above 1210
    EXPECT_EQ(m_registry.CheckUpdate(&offered, 0, m_host), CEmulatorManager::UpdateResult::UpToDate);
    EXPECT_EQ(m_host.shown, std::vector<std::string>{"提示|Foo已是最新版本"});
    EXPECT_TRUE(m_host.asked.empty());

    offered.Version = "1.2.11";
    offered.Description = u"新功能";
    m_host.answer = false;
    EXPECT_EQ(m_registry.CheckUpdate(&offered, 0, m_host), CEmulatorManager::UpdateResult::Declined);
    EXPECT_EQ(m_host.asked, std::vector<std::string>{"提示:检测到新版本1.2.11是否更新|更新说明:\n\n新功能"});
    EXPECT_EQ(m_registry.FindInstalled("1250001")->Version, "1.2.10");
    EXPECT_EQ(m_registry.CheckUpdate(nullptr, 0, m_host), CEmulatorManager::UpdateResult::NotInstalled);

    m_host.asked.clear();
    offered.EmulatorId = "999";
    EXPECT_EQ(m_registry.CheckUpdate(&offered, 0, m_host), CEmulatorManager::UpdateResult::NotInstalled);
    EXPECT_FALSE(m_registry.Uninstall(offered, 0, m_host));
    EXPECT_TRUE(m_host.asked.empty());

    m_host.answer = false; // "no" keeps it
    EXPECT_FALSE(m_registry.Uninstall(installed, 0, m_host));
    EXPECT_TRUE(m_registry.FindInstalled("1250001"));
}

} // namespace
} // namespace ravelo
