#include "library/LocalGameFiles.h"

#include "platform/TextConvert.h"
#include "settings/AppPaths.h"
#include "systems/SystemTable.h"

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string_view>

namespace ravelo {
namespace {

namespace fs = std::filesystem;

struct ExtensionRow
{
    std::string_view code;
    std::string_view extensions;
};

constexpr ExtensionRow kExtensions[] = {
    {"FC", ".nes,.nsf,.fds,.unf,.zip,.rar,.7z,.gz"},
    {"SFC", ".smc,.sfc,.zip,.7z,.rar,.gz,.snes"},
    {"N64", ".zip,.n64,.rom,.usa,.jap,.pal,.bin,.v64"},
    {"WII", ".elf,.dol,.gcm,.iso,.wbfs,.ciso,.gcz,.wad"},
    {"GBC", ".gbc,.cgb,.zip,.7z,.z,.gz,.gb,.dmg,.sgb"},
    {"GBA", ".gba,.agb,.bin,.elf,.mb,.zip,.7z,.z,.gz,.gb,.dmg,.sgb"},
    {"NDS", ".nds,.ds.gba,.srl,.zip,.7z,.rar,.gz"},
    {"MD", ".sms,.sg,.sc,.mv,.zip,.gg,.bin,.gen,.smd,.md"},
    {"DC", ".cdi,.mds,.nrg,.gdi,.chd"},
    {"PS", ".BIN,.ISO,.IMG,.CUE,.CCD,.MDS,.PBP,.ECM"},
    {"PS2", ".ISO,.mdf,.nrg,.Bin,.img,.dump,.gz,.cso"},
    {"PSP", ".iso,.cso,.pbp,.elf,.prx"},
    {"WSC", ".ws,.wsc,.zip"},
    {"ARCADE", ".zip"},
    {"MAME", ".zip"},
    {"PCE", ".zip,.pce,.hes"},
    {"MAMEPLUS", ".zip"},
    {"PC", ".exe"},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::u16string LenientUtf16(const std::string& text)
{
    try {
        return AnsiToUtf16(text);
    } catch (const TextConversionError&) {
    }
    // Keep each valid sequence; every byte that starts no valid sequence becomes U+FFFD.
    std::u16string result;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        const std::string piece = text.substr(i, length);
        if (lead < 0x80 || (piece.size() == length && IsValidUtf8(piece))) {
            result += Utf8ToUtf16(piece);
            i += length;
        } else {
            result += char16_t(0xFFFD);
            ++i;
        }
    }
    return result;
}

} // namespace

std::string ExtensionListOf(const std::string& code)
{
    for (const ExtensionRow& row : kExtensions)
        if (row.code == code)
            return std::string(row.extensions);
    return std::string();
}

bool ExtensionMatches(const std::string& extensionList, const std::string& fileName)
{
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || extensionList.empty())
        return false;
    const std::string_view extension = std::string_view(fileName).substr(dot);
    std::string_view list = extensionList;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        if (EqualsIgnoringCase(list.substr(0, comma), extension))
            return true;
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string BaseNameOf(const std::string& path)
{
    std::string name = FileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

std::string SizeText(std::uint64_t bytes)
{
    const float mebibytes = static_cast<float>(static_cast<double>(bytes) * (1.0 / 1048576.0));
    char text[64];
    std::snprintf(text, sizeof(text), "%.2f", static_cast<double>(mebibytes));
    return text;
}

void ScanFolderTree(const std::string& folder, const std::string& code, FoundGameFiles& found)
{
    const std::string extensions = ExtensionListOf(code);
    if (extensions.empty())
        return;
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied, error);
    for (const fs::recursive_directory_iterator end; !error && walk != end; walk.increment(error)) {
        const fs::directory_entry& entry = *walk;
        std::error_code typeError;
        // is_regular_file follows links: a link to a game file counts, a link to a folder is not
        // entered because the iterator never follows folder links.
        if (!entry.is_regular_file(typeError))
            continue;
        const std::string path = entry.path().string();
        if (ExtensionMatches(extensions, FileNameOf(path)))
            found.emplace(path, code);
    }
}

FoundGameFiles ScanSystemFolders(int systemNumber)
{
    FoundGameFiles found;
    if (LocalGameFolder().empty())
        return found;
    std::string codes =
        systemNumber == kAllSystems ? std::string(SystemCodes) : SystemNumberToCode(systemNumber);
    std::stringstream list(codes);
    for (std::string code; std::getline(list, code, ',');)
        if (!code.empty())
            ScanFolderTree(LocalGameFolder() + code, code, found);
    return found;
}

LocalGame MakeLocalGame(const std::string& filePath, const std::string& displayName, const std::string& icon,
                        std::uint64_t bytes, const std::string& code, int systemNumber)
{
    LocalGame game;
    game.GameName = LenientUtf16(displayName);
    game.Icon = icon;
    game.Size = SizeText(bytes);
    game.EmulatorShortName = code;
    game.FilePath = filePath;
    game.FileName = FileNameOf(filePath);
    game.EmulatorId = std::to_string(systemNumber);
    return game;
}

} // namespace ravelo
