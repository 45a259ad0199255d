#pragma once

#include "app/Engines.h"
#include "download/DownloadManager.h"
#include "platform/IniFile.h"
#include "settings/AppPaths.h"
#include "support/DemoCatalogueServer.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace ravelo::test {

/// A program's world for a window test: ravelo-server with the demo catalogue on loopback (one per
/// test suite), a program folder and a temporary folder of the test's own, a games folder, the
/// settings file pointing at the server, the program-wide paths set to them, and the engines the
/// program would give its windows.
class GuiFixture : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_server = std::make_unique<DemoCatalogueServer>(RAVELO_SERVER_EXE); }
    /// For a suite that needs downloads slow enough to watch: games at this many bytes a second.
    static void StartSlowServer(int bytesPerSecond)
    {
        s_server = std::make_unique<DemoCatalogueServer>(
            RAVELO_SERVER_EXE, std::vector<std::string>{"--game-rate", std::to_string(bytesPerSecond)});
    }
    static void TearDownTestSuite() { s_server.reset(); }

    void SetUp() override
    {
        ASSERT_FALSE(s_server->BaseUrl().empty()) << "ravelo-server did not start";
        ::setenv("RAVELO_HOME", m_home.Path().c_str(), 1);
        ::setenv("TMPDIR", m_tmp.Path().c_str(), 1);
        WriteProfileString(m_home / "ravelo.cfg", "Service", "BaseUrl", s_server->BaseUrl());
        if (WithGamesFolder())
            WriteProfileString(m_home / "ravelo.cfg", "Set", "RomPath", m_home / "games/");
        ComputeProgramPaths();
        ASSERT_TRUE(CreateProgramFolders());
        ApplyGamesFolder(WithGamesFolder() ? m_home / "games/" : std::string());
        CreateSystemFolders(SystemCodes);
        m_engines = std::make_unique<Engines>(Engines::ProgramSetup());
    }

    void TearDown() override
    {
        m_engines->Shutdown();
        m_engines.reset();
        ApplyGamesFolder("");
        ::unsetenv("RAVELO_HOME");
        ::unsetenv("TMPDIR");
    }

    /// Whether the settings name a games folder; a test of the first start says no.
    virtual bool WithGamesFolder() const { return true; }

    Engines& engines() { return *m_engines; }
    static DemoCatalogueServer& Server() { return *s_server; }
    std::string SettingsFile() const { return m_home / "ravelo.cfg"; }
    std::string GamesRoot() const { return m_home / "games/"; }

    /// The lines of the server's request log that contain text.
    static std::vector<std::string> LoggedRequests(const std::string& text)
    {
        std::vector<std::string> lines;
        std::istringstream log(ReadText(s_server->AccessLog()));
        for (std::string line; std::getline(log, line);)
            if (line.find(text) != std::string::npos)
                lines.push_back(line);
        return lines;
    }

    TempFolder m_home, m_tmp;
    std::unique_ptr<Engines> m_engines;
    static inline std::unique_ptr<DemoCatalogueServer> s_server;
};

} // namespace ravelo::test
