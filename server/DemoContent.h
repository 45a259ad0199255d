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

/// How the demo catalogue's emulator for one system is started and configured: the record's
/// "execute", "executeparam", key and settings entries, and what its manifest tells the program.
struct DemoEmulator
{
    int system = 0;
    std::vector<std::string> execute; ///< programs in order of use; the last is ravelo-demo-emu
    std::string executeParam;         ///< the command-line template
    std::string keySource;            ///< the key file's name in the user folder (may hold "~")
    std::string keyDefault;           ///< fallback name in the user folder, may be empty
    std::string keyTarget;            ///< the key file the program reads, in its folder
    std::string keyFormat;            ///< "text" (name value lines) or "ini"
    bool gamePadBlock = false;        ///< the key file carries the four pads' GamePadConfig block
    std::string settingsTarget = "settings.ini";
    std::string title; ///< the program's window title
};

/// The program every demo emulator package carries, and the helper that fails with exit code 1.
inline constexpr const char* DemoEmulatorProgram = "ravelo-demo-emu";
inline constexpr const char* DemoRendererScript = "hd-renderer.sh";

/// The emulator of a system of the demo catalogue (every system has one; the arcade systems, PS, FC,
/// MD and GBA each exercise one of the launcher's special cases).
DemoEmulator DemoEmulatorFor(int system, std::string_view systemCode, const std::string& name);

/// An emulator package: the demo emulator program (its bytes as given, stored executable), its
/// manifest, default key and settings files for gamepad and keyboard play, and a readme.
std::vector<ArchiveEntry> EmulatorPackage(const DemoEmulator& emulator, std::string_view systemCode,
                                          const std::string& name, const std::string& program);

} // namespace ravelo::server
