#include "platform/AutoStart.h"

#include "platform/DesktopOpen.h"
#include "platform/FileSystem.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace ravelo {
namespace {

using test::TempFolder;

/// Reads an Exec value back the way a desktop does: string escapes first, then one quoted argument.
std::string ReadExecArgument(const std::string& value)
{
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            unescaped += next == 's' ? ' ' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            unescaped += value[i];
        }
    }
    if (unescaped.size() < 2 || unescaped.front() != '"' || unescaped.back() != '"')
        return "<not quoted>";
    std::string argument;
    for (std::size_t i = 1; i + 1 < unescaped.size(); ++i) {
        if (unescaped[i] == '\\' && i + 2 < unescaped.size())
            argument += unescaped[++i];
        else if (unescaped[i] == '%' && i + 2 < unescaped.size() && unescaped[i + 1] == '%')
            argument += unescaped[++i];
        else if (unescaped[i] == '"' || unescaped[i] == '`' || unescaped[i] == '$')
            return "<unescaped reserved character>";
        else
            argument += unescaped[i];
    }
    return argument;
}

std::string ExecLine(const std::string& entry)
{
    const std::size_t start = entry.find("\nExec=");
    if (start == std::string::npos)
        return {};
    const std::size_t end = entry.find('\n', start + 1);
    return entry.substr(start + 6, end - start - 6);
}

class AutoStart : public testing::Test
{
protected:
    void SetUp() override
    {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        m_oldConfig = old ? old : "";
        m_hadConfig = old != nullptr;
        ::setenv("XDG_CONFIG_HOME", (m_config / "cfg").c_str(), 1);
    }
    void TearDown() override
    {
        if (m_hadConfig)
            ::setenv("XDG_CONFIG_HOME", m_oldConfig.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

    TempFolder m_config;
    std::string m_oldConfig;
    bool m_hadConfig = false;
};

TEST_F(AutoStart, OddProgramPathsSurviveTheExecLineAndTheEntryValidates)
{
    std::string longFolder = "/opt/";
    while (longFolder.size() < 140)
        longFolder += "very long folder name/";
    const std::string paths[] = {
        "/opt/Ravelo Games/bin/ravelo",        "/home/u/it's \"quoted\"/ravelo", "/home/u/back\\slash/ravelo",
        "/home/u/$HOME and `cmd` 100%/ravelo", "/home/玩家/游戏/ravelo",         longFolder + "ravelo",
    };
    const bool validator = !FindOnPath("desktop-file-validate").empty();
    for (const std::string& program : paths) {
        SCOPED_TRACE(program);
        ASSERT_TRUE(SetAutoRun(true, program));
        const std::string entry = test::ReadText(AutoStartEntryPath());
        EXPECT_EQ(ReadExecArgument(ExecLine(entry)), program);
        if (validator) {
            const std::string command = "desktop-file-validate '" + AutoStartEntryPath() + "' >&2";
            EXPECT_EQ(std::system(command.c_str()), 0) << entry;
        }
    }
    if (!validator)
        GTEST_LOG_(INFO) << "desktop-file-validate is not installed; the entry was not validated";
}

TEST_F(AutoStart, TurningOffRemovesTheEntryAndAMissingEntryIsFine)
{
    ASSERT_TRUE(SetAutoRun(true, "/usr/bin/ravelo"));
    EXPECT_EQ(AutoStartEntryPath(), m_config / "cfg/autostart/io.github.ravelo.Ravelo.desktop");
    EXPECT_TRUE(FileExists(AutoStartEntryPath()));
    EXPECT_TRUE(SetAutoRun(false, "/usr/bin/ravelo"));
    EXPECT_FALSE(FileExists(AutoStartEntryPath()));
    EXPECT_TRUE(SetAutoRun(false, "/usr/bin/ravelo"));
}

TEST_F(AutoStart, PathsNoExecLineCanCarryAreRefusedWithAReason)
{
    std::string error;
    EXPECT_FALSE(SetAutoRun(true, "/opt/a\nb/ravelo", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(SetAutoRun(true, "relative/ravelo", &error));
    EXPECT_FALSE(FileExists(AutoStartEntryPath()));

    // An autostart folder that cannot be made (a file stands in its way) is reported too.
    CreateFolderChain(m_config / "cfg/");
    ASSERT_TRUE(WriteFileAtomically(m_config / "cfg/autostart", "in the way"));
    error.clear();
    EXPECT_FALSE(SetAutoRun(true, "/usr/bin/ravelo", &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace ravelo
