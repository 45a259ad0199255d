#pragma once

#include "server/DemoGames.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ravelo::server {

/// One file to put into an archive.
struct ArchiveEntry
{
    std::string name;
    std::string data;
    bool executable = false;
};

/// A game's files as the launcher expects them in the game's folder. For an arcade set the files
/// are the set's contents, which go into one "<GameId>.zip" that is itself the game file.
struct GameContent
{
    std::vector<ArchiveEntry> files;
    bool arcadeSet = false;
};

/// A small deterministic number generator (SplitMix64), so that every build makes the same bytes.
class DemoRandom
{
public:
    explicit DemoRandom(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next();
    /// A number in [low, high].
    int Between(int low, int high);

private:
    std::uint64_t m_state;
};

/// The extension of a system's main game file, dot included (".nes" for FC).
std::string GameExtension(int system);

/// Generated content for a game: cartridge images with a plausible header for their system, disc
/// images (with a cue sheet for PS), or an arcade set. Large disc images for the games that the
/// catalogue serves in volumes.
GameContent MakeGameContent(const DemoGame& game, bool large);

/// The description text of a game's detail page.
std::string GameDescription(const DemoGame& game, std::string_view systemCode, std::string_view category);

/// An emulator package: a POSIX sh script standing in for the emulator, with default key and
/// settings files for gamepad and keyboard play.
std::vector<ArchiveEntry> EmulatorPackage(std::string_view systemCode, const std::string& name,
                                          const std::string& executable);

/// The self-update package: "RaveloUpdate.exe", a sh script that reports the version and ends.
std::vector<ArchiveEntry> UpdatePackage(const std::string& version);

} // namespace ravelo::server
