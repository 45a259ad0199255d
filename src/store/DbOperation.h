#pragma once

#include "store/DownloadInfo.h"
#include "store/EmulatorInfo.h"
#include "store/Gameinfo.h"
#include "store/LocalGame.h"

#include <map>
#include <string>
#include <variant>
#include <vector>

namespace ravelo {

/// The numbered commands of the library database (2 and 14 are not assigned).
enum class DbOperation : int
{
    AddGame = 0,            // Gameinfo
    RemoveGame = 1,         // game id text
    LoadGames = 3,          // output: std::vector<Gameinfo>
    AddLocalGame = 4,       // LocalGame
    RemoveLocalGame = 5,    // file path text
    RenameLocalGame = 6,    // LocalGame (FilePath selects the row, GameName is the new name)
    LoadLocalGames = 7,     // output: std::vector<LocalGame>
    AddDownload = 8,        // DownloadInfo
    RemoveDownload = 9,     // game id text
    UpdateDownload = 10,    // DownloadInfo (GameId selects the row)
    LoadDownloads = 11,     // output: DownloadMap
    RunStatement = 12,      // statement text, run as it is
    CreateTables = 13,      // nothing
    BeginTransaction = 15,  // nothing
    CommitTransaction = 16, // nothing
    LoadEmulators = 17,     // output: std::vector<EmulatorInfo>
    AddEmulator = 18,       // EmulatorInfo
    RemoveEmulator = 19,    // emulator id text
    UpdateEmulator = 20,    // EmulatorInfo (EmulatorId selects the row)
};

/// Unfinished downloads keyed by game id.
using DownloadMap = std::map<std::string, DownloadInfo>;

/// What a command takes in. It is moved into the command, which owns it until it has run; a
/// caller that keeps its record simply passes a copy.
using DbArgument = std::variant<std::monostate, Gameinfo, LocalGame, DownloadInfo, EmulatorInfo, std::string>;

/// Where a load command puts its rows: a container of the waiting caller, appended to (a download
/// already in the map is kept). Only the waiting form of Post takes one.
using DbOutput =
    std::variant<std::vector<Gameinfo>*, std::vector<LocalGame>*, DownloadMap*, std::vector<EmulatorInfo>*>;

/// True when the argument is the kind the operation takes (monostate for the commands without
/// one). Always false for the loads, which take a DbOutput instead.
bool ArgumentFits(DbOperation operation, const DbArgument& argument);

/// True when the output container is the kind the load operation fills and is not null.
bool OutputFits(DbOperation operation, const DbOutput& output);

} // namespace ravelo
