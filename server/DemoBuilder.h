#pragma once

#include "server/DemoContent.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ravelo::server {

class SqliteDatabase;

struct DemoOptions
{
    std::string folder;                   ///< where the catalogue goes
    std::string updateVersion = "0.0.18"; ///< the version the update answer offers
    std::string cloudShareBase;           ///< when set, games get share links below this address
    bool force = false;                   ///< replace an existing catalogue in the folder
    /// The demo emulator program packaged for every system; empty: ravelo-demo-emu beside the running
    /// program, else in ../libexec/ravelo/ from it (an installed server). The build fails when it is
    /// missing.
    std::string emulatorProgram;
    /// The folder of the programs the update package is made of (ravelo-update, ravelo, ravelo-cli,
    /// their shipped files); empty: the running program's folder. The build fails without an updater.
    std::string updateProgramFolder;
};

/// Makes the demo catalogue: catalogue.db (games, topics, banners, emulators, settings), the game
/// archives (whole, in volumes, unpacked), the emulator packages and the update package (the current
/// programs, with its SHA-256 in the update answer) under download/, and the pictures under pic/.
/// Deterministic apart from the update package, which follows the programs. Runs on the calling thread
/// in about a second (the first build after the programs changed packs them, a second or two more).
class DemoBuilder
{
public:
    explicit DemoBuilder(DemoOptions options);

    /// False with a message for the user when the folder cannot be used or a file cannot be
    /// written; a failed build may leave a partial catalogue behind.
    bool Build(std::string& error);

    /// Games served in volumes, and the one with an unpacked variant.
    static const std::vector<int>& VolumeGames();
    static int UnpackedGame();
    /// Size of every volume but the last.
    static constexpr std::int64_t VolumeBytes = 128 * 1024;
    /// Written to "builder-version" in the catalogue, so scripts rebuild catalogues an older builder made.
    static constexpr const char* FormatVersion = "demo-emu-1";

private:
    bool PrepareFolder(std::string& error);
    bool WriteFile(const std::string& relative, const std::string& data, std::string& error);
    bool WriteZip(const std::string& relative, const std::vector<ArchiveEntry>& entries, std::string& error);
    bool AddGames(SqliteDatabase& db, std::string& error);
    bool AddGame(SqliteDatabase& db, const DemoGame& game, std::string& error);
    bool AddTopicsAndAds(SqliteDatabase& db, std::string& error);
    bool AddEmulators(SqliteDatabase& db, std::string& error);
    void AddReferenceTables(SqliteDatabase& db);

    DemoOptions m_options;
    std::string m_root;            ///< the folder with a trailing '/'
    std::string m_emulatorProgram; ///< the bytes of the demo emulator program
};

} // namespace ravelo::server
