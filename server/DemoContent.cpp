#include "server/DemoContent.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace ravelo::server {

std::uint64_t DemoRandom::Next()
{
    m_state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int DemoRandom::Between(int low, int high)
{
    return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
}

namespace {

/// Cartridge-like bytes: repeating tiles with small variations, which compress the way real
/// program data roughly does.
std::string PatternBytes(std::size_t size, DemoRandom& random)
{
    std::string tile(256, '\0');
    for (auto& byte : tile)
        byte = static_cast<char>(random.Next());
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = tile[i % tile.size()];
        if (i % 97 == 0)
            data[i] = static_cast<char>(random.Next());
    }
    return data;
}

/// Disc-like bytes that do not compress, so that volumes are real byte ranges of real size.
std::string NoiseBytes(std::size_t size, DemoRandom& random)
{
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; i += 8) {
        const std::uint64_t value = random.Next();
        for (std::size_t k = 0; k < 8 && i + k < size; ++k)
            data[i + k] = static_cast<char>(value >> (8 * k));
    }
    return data;
}

void Place(std::string& data, std::size_t at, std::string_view text, std::size_t width)
{
    for (std::size_t i = 0; i < width && at + i < data.size(); ++i)
        data[at + i] = i < text.size() ? text[i] : ' ';
}

std::string Upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::toupper(c); });
    return out;
}

std::string IdText(const DemoGame& game)
{
    return std::to_string(game.id);
}

std::string Cartridge(const DemoGame& game, DemoRandom& random)
{
    const std::string title = Upper(game.orgName);
    std::string rom;
    switch (game.system) {
    case 125: { // iNES: 2 x 16 KiB program, 1 x 8 KiB character data
        rom = "NES\x1A";
        rom += '\x02';
        rom += '\x01';
        rom += std::string(10, '\0');
        rom += PatternBytes(2 * 16384 + 8192, random);
        Place(rom, 16, title, 32);
        break;
    }
    case 121: // LoROM with its internal header at 0x7FC0
        rom = PatternBytes(65536, random);
        Place(rom, 0x7FC0, title, 21);
        break;
    case 120: // title at 0xA0, game code at 0xAC, fixed value 0x96 at 0xB2
        rom = PatternBytes(65536, random);
        Place(rom, 0xA0, title, 12);
        Place(rom, 0xAC, "R" + IdText(game).substr(1), 4);
        rom[0xB2] = static_cast<char>(0x96);
        break;
    case 124: // title at 0x134, colour flag at 0x143
        rom = PatternBytes(32768, random);
        Place(rom, 0x134, title, 11);
        rom[0x143] = static_cast<char>(0x80);
        break;
    case 122: // system name at 0x100, domestic and overseas names at 0x120 and 0x150
        rom = PatternBytes(65536, random);
        Place(rom, 0x100, "SEGA MEGA DRIVE", 16);
        Place(rom, 0x120, title, 48);
        Place(rom, 0x150, title, 48);
        break;
    case 127: // title at 0, game code at 0x0C
        rom = PatternBytes(65536, random);
        Place(rom, 0, title, 12);
        Place(rom, 0x0C, "A" + IdText(game).substr(1), 4);
        break;
    default: // PC Engine and anything else: a plain image with the title in front
        rom = PatternBytes(32768, random);
        Place(rom, 0, title, 32);
        break;
    }
    return rom;
}

/// An ISO 9660 image: 16 empty sectors, then the primary volume descriptor, then data.
std::string IsoImage(const DemoGame& game, std::size_t sectors, DemoRandom& random)
{
    std::string image(16 * 2048, '\0');
    std::string descriptor(2048, '\0');
    descriptor[0] = '\x01';
    Place(descriptor, 1, "CD001", 5);
    descriptor[6] = '\x01';
    Place(descriptor, 40, Upper(game.orgName), 32);
    image += descriptor;
    image += NoiseBytes(sectors * 2048, random);
    return image;
}

/// Raw 2352-byte sectors of a PS disc, each with the CD sync pattern.
std::string RawDisc(const DemoGame& game, std::size_t sectors, DemoRandom& random)
{
    static const char sync[12] = {'\0',   '\xFF', '\xFF', '\xFF', '\xFF', '\xFF',
                                  '\xFF', '\xFF', '\xFF', '\xFF', '\xFF', '\0'};
    std::string disc;
    for (std::size_t sector = 0; sector < sectors; ++sector) {
        std::string raw = NoiseBytes(2352, random);
        std::copy(sync, sync + 12, raw.begin());
        if (sector == 16) {
            Place(raw, 24,
                  "\x01"
                  "CD001\x01",
                  7);
            Place(raw, 24 + 40, Upper(game.orgName), 32);
        }
        disc += raw;
    }
    return disc;
}

} // namespace

std::string GameExtension(int system)
{
    switch (system) {
    case 125:
        return ".nes";
    case 121:
        return ".smc";
    case 120:
        return ".gba";
    case 124:
        return ".gbc";
    case 122:
        return ".md";
    case 127:
        return ".nds";
    case 129:
        return ".iso";
    case 119:
        return ".bin";
    case 148:
        return ".pce";
    default:
        return ".zip"; // arcade sets
    }
}

GameContent MakeGameContent(const DemoGame& game, bool large)
{
    DemoRandom random(static_cast<std::uint64_t>(game.id) * 7919);
    GameContent content;
    const std::string id = IdText(game);
    switch (game.system) {
    case 119: {
        const std::string bin = id + ".bin";
        content.files.push_back({bin, RawDisc(game, large ? 150 : 40, random)});
        content.files.push_back({id + ".cue", "FILE \"" + bin +
                                                  "\" BINARY\r\n  TRACK 01 MODE2/2352\r\n"
                                                  "    INDEX 01 00:00:00\r\n"});
        break;
    }
    case 129:
        content.files.push_back({id + ".iso", IsoImage(game, large ? 160 : 24, random)});
        break;
    case 123:
    case 126:
        content.arcadeSet = true;
        content.files.push_back({id + "_p1.bin", PatternBytes(16384, random)});
        content.files.push_back({id + "_c1.bin", PatternBytes(24576, random)});
        content.files.push_back({id + "_s1.bin", NoiseBytes(4096, random)});
        break;
    default:
        content.files.push_back({id + GameExtension(game.system), Cartridge(game, random)});
        break;
    }
    return content;
}

std::string GameDescription(const DemoGame& game, std::string_view systemCode, std::string_view category)
{
    std::string text = "《" + std::string(game.name) + "》（" + std::string(game.orgName) + "）是一款" +
                       std::string(systemCode) + "平台的" + std::string(category) + "游戏。";
    text += "本游戏属于 Ravelo 演示目录，内容由程序生成，用于体验下载、解压和启动的完整流程。\n";
    text += "操作说明：方向键移动，A 键确认，B 键返回。支持 1 到 2 名玩家。";
    return text;
}

DemoEmulator DemoEmulatorFor(int system, std::string_view systemCode, const std::string& name)
{
    DemoEmulator emulator;
    emulator.system = system;
    emulator.execute = {DemoEmulatorProgram};
    emulator.keySource = "keys.cfg";
    emulator.keyTarget = "keys.cfg";
    emulator.keyFormat = "text";
    emulator.title = name + " - Ravelo 演示模拟器（" + std::string(systemCode) + "）";
    switch (system) {
    case 119: // the launcher watches this emulator's window by its exact title
        emulator.executeParam = "@ --fullscreen";
        emulator.title = "ePSXe - 增强型 PSX 模拟器";
        break;
    case 120: // a first program that gives up with exit code 1, so the second runs
        emulator.execute = {DemoRendererScript, DemoEmulatorProgram};
        emulator.executeParam = "--game ";
        break;
    case 121: // one key file per game, the shared one until the game has its own
        emulator.keySource = "~.cfg";
        emulator.keyDefault = "keys.cfg";
        break;
    case 122: // pads bound by position in an INI file's top keys
        emulator.keySource = "keys.ini";
        emulator.keyTarget = "mddemo.ini";
        emulator.keyFormat = "ini";
        break;
    case 123:
    case 126: // arcade sets: the launcher copies the set into roms/ and passes its bare name
        emulator.executeParam = "-rom ~";
        break;
    case 125: // pads bound by identity in the table-driven settings file
        emulator.keyTarget = "fcdemo.cfg";
        emulator.gamePadBlock = true;
        break;
    case 127:
        emulator.executeParam = "--scale 2 @";
        break;
    case 129:
        emulator.executeParam = "--load ";
        break;
    default: // the quoted game path alone
        break;
    }
    return emulator;
}

namespace {

std::string Base64(const std::vector<std::uint8_t>& bytes)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t chunk = static_cast<std::uint32_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            chunk |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            chunk |= bytes[i + 2];
        text += alphabet[(chunk >> 18) & 63];
        text += alphabet[(chunk >> 12) & 63];
        text += i + 1 < bytes.size() ? alphabet[(chunk >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? alphabet[chunk & 63] : '=';
    }
    return text;
}

/// Four pads of ten 84-byte button records: each record names its button in its first bytes, and
/// the device identity at byte 20 stays zero until a pad is bound.
std::string GamePadConfigBlock()
{
    constexpr std::size_t pads = 4, buttons = 10, recordBytes = 84;
    std::vector<std::uint8_t> block(pads * buttons * recordBytes, 0);
    for (std::size_t pad = 0; pad < pads; ++pad)
        for (std::size_t button = 0; button < buttons; ++button) {
            const std::size_t at = (pad * buttons + button) * recordBytes;
            block[at] = 1; // one binding
            block[at + 4] = static_cast<std::uint8_t>(button);
        }
    return "base64:" + Base64(block);
}

struct KeyBinding
{
    const char* button;
    const char* pad;
    const char* key;
};

constexpr KeyBinding kBindings[] = {
    {"Up", "DPadUp", "Up"},
    {"Down", "DPadDown", "Down"},
    {"Left", "DPadLeft", "Left"},
    {"Right", "DPadRight", "Right"},
    {"A", "A", "X"},
    {"B", "B", "Z"},
    {"Start", "Start", "Return"},
    {"Select", "Back", "Shift"},
};

std::string KeyFile(const DemoEmulator& emulator, bool gamepad)
{
    const char* kind = gamepad ? "gamepad" : "keyboard";
    if (emulator.keyFormat == "ini") {
        std::string text =
            std::string("InputKind=") + kind + "\nJoystick1Using=0\nJoystick2Using=0\n\n[Keys]\n";
        for (const auto& binding : kBindings)
            text += std::string(binding.button) + "=" + (gamepad ? binding.pad : binding.key) + "\n";
        return text;
    }
    // Lines in the byte-wise name order the emulator writes them in.
    std::map<std::string, std::string> lines{{"!version", "1"}, {"InputKind", kind}};
    for (const auto& binding : kBindings)
        lines[std::string("Key.") + binding.button] = gamepad ? binding.pad : binding.key;
    if (emulator.gamePadBlock)
        lines["GamePadConfig"] = GamePadConfigBlock();
    std::string text;
    for (const auto& [name, value] : lines)
        text += name + " " + value + "\n";
    return text;
}

} // namespace

std::vector<ArchiveEntry> EmulatorPackage(const DemoEmulator& emulator, std::string_view systemCode,
                                          const std::string& name, const std::string& program)
{
    const std::string code(systemCode);
    std::vector<ArchiveEntry> entries;
    entries.push_back({DemoEmulatorProgram, program, true});
    if (std::find(emulator.execute.begin(), emulator.execute.end(), DemoRendererScript) !=
        emulator.execute.end())
        entries.push_back({DemoRendererScript,
                           "#!/bin/sh\n"
                           "# Tries the HD renderer first; without one it ends with 1, so the launcher\n"
                           "# starts the plain program with the same parameters.\n"
                           "here=$(dirname \"$0\")\n"
                           "printf '%s\\t%s\\n' \"$(pwd)\" \"$*\" >> \"$here/hd-renderer.log\"\n"
                           "echo \"no HD renderer\" >&2\n"
                           "exit 1\n",
                           true});
    entries.push_back(
        {"demo-emu.ini", "# " + name + ": what ravelo-demo-emu shows and which files it reads\n" +
                             "title=" + emulator.title + "\nsystem=" + code +
                             "\nkeyfile=" + emulator.keyTarget + "\nkeyformat=" + emulator.keyFormat +
                             "\nsettingsfile=" + emulator.settingsTarget + "\n"});
    const std::string keyName = emulator.keyDefault.empty() ? emulator.keySource : emulator.keyDefault;
    for (const bool gamepad : {true, false}) {
        const std::string folder = gamepad ? "GamePadCfg/" : "KeyBoardCfg/";
        entries.push_back({folder + keyName, KeyFile(emulator, gamepad)});
        entries.push_back({folder + emulator.settingsTarget, "# " + name +
                                                                 " settings\nfullscreen=0\nvolume=80\n"
                                                                 "launches=0\nlast_game=\n"});
    }
    if (!emulator.executeParam.empty() && emulator.executeParam.find('~') != std::string::npos)
        entries.push_back(
            {"roms/readme.txt", "Arcade sets to play go here; the launcher copies each game's set.\n"});
    entries.push_back(
        {"readme.txt", name + ": the stand-in " + code +
                           " emulator of the Ravelo demo catalogue.\n"
                           "It shows the game and the pads its key file binds; Esc or Start+Back "
                           "on a pad ends it.\n"
                           "Every start is recorded in launches.log and counted in " +
                           emulator.settingsTarget + ".\n"});
    return entries;
}

} // namespace ravelo::server
