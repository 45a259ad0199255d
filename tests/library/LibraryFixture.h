#pragma once

#include "library/ArcadeResources.h"
#include "settings/AppPaths.h"
#include "store/LibraryDatabase.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace ravelo::test {

/// A program folder, a games folder with its system folders, image caches and a library database,
/// all in temporary folders; the program-wide paths point at them for the test's duration.
class LibraryFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = {InstanceFolder, GamesFolder(), ArcadeImageFolder, MameImageFolder};
        InstanceFolder = m_root / "program/";
        ApplyGamesFolder(m_root / "games/");
        ArcadeImageFolder = m_root / "cache/arcade/";
        MameImageFolder = m_root / "cache/mame/";
        for (const char* code : {"FC", "MAME", "ARCADE", "ONS", "GBA"})
            std::filesystem::create_directories(LocalGameFolder() + code);
        std::filesystem::create_directories(ArcadeImageFolder);
        std::filesystem::create_directories(MameImageFolder);
        ResetArcadeIconCache();
        m_database = std::make_unique<LibraryDatabase>(m_root / "program/database/ravelo.db");
        ASSERT_TRUE(m_database->IsReady()) << m_database->OpenError();
    }

    void TearDown() override
    {
        m_database.reset();
        InstanceFolder = m_saved[0];
        ApplyGamesFolder(m_saved[1]);
        ArcadeImageFolder = m_saved[2];
        MameImageFolder = m_saved[3];
        ResetArcadeIconCache();
    }

    /// Writes a file of the given size (creating its folders) and returns its path.
    static std::string MakeFile(const std::string& path, std::size_t bytes = 16)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteText(path, std::string(bytes, 'x'));
        return path;
    }

    std::vector<LocalGame> DatabaseRows()
    {
        std::vector<LocalGame> rows;
        EXPECT_TRUE(m_database->PostWait(DbOperation::LoadLocalGames, &rows));
        return rows;
    }

    TempFolder m_root;
    std::unique_ptr<LibraryDatabase> m_database;
    std::array<std::string, 4> m_saved;
};

} // namespace ravelo::test
