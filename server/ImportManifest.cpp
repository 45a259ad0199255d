#include "server/ImportManifest.h"

#include <set>
#include <sstream>

namespace ravelo::server {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto bar = line.find('|', start);
        fields.push_back(
            Trim(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
        if (bar == std::string::npos)
            return fields;
        start = bar + 1;
    }
}

bool IsValidUtf8WithoutControls(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = byte < 0x80           ? 1
                             : (byte >> 5) == 0x6  ? 2
                             : (byte >> 4) == 0xE  ? 3
                             : (byte >> 3) == 0x1E ? 4
                                                   : 0;
        if (length == 0 || i + length > text.size() || (length == 1 && (byte < 0x20 || byte == 0x7F)))
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

} // namespace

ImportManifest ImportManifest::Parse(const std::string& text)
{
    ImportManifest manifest;
    std::istringstream in(text);
    std::set<int> seen;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        const auto refuse = [&](const std::string& reason) { manifest.problems.push_back({number, reason}); };
        if (!IsValidUtf8WithoutControls(trimmed)) {
            refuse("不是 UTF-8 文本或含有控制字符");
            continue;
        }
        const std::vector<std::string> fields = SplitFields(trimmed);
        if (fields.size() != 8) {
            refuse("应有 8 个以 | 分隔的字段，实际有 " + std::to_string(fields.size()) + " 个");
            continue;
        }
        ManifestGame game;
        game.line = number;
        const std::string& id = fields[0];
        if (id.empty() || id.size() > 9 || id.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(id) == 0) {
            refuse("游戏编号应为正整数: " + id);
            continue;
        }
        game.gameId = std::stoi(id);
        if (!seen.insert(game.gameId).second) {
            refuse("游戏编号重复: " + id);
            continue;
        }
        game.archive = fields[1];
        game.name = fields[2];
        game.system = fields[3];
        game.category = fields[4];
        game.language = fields[5];
        game.icon = fields[6];
        if (game.archive.empty()) {
            refuse("缺少游戏压缩包");
            continue;
        }
        if (game.name.empty() || game.name.size() > MaxNameBytes) {
            refuse(game.name.empty() ? "缺少游戏名称" : "游戏名称过长");
            continue;
        }
        if (game.system.empty() || game.category.empty() || game.language.empty()) {
            refuse("缺少机种、分类或语言");
            continue;
        }
        if (game.icon.empty()) {
            refuse("缺少游戏图标");
            continue;
        }
        std::istringstream screens(fields[7]);
        for (std::string screen; screens >> screen;)
            game.screens.push_back(screen);
        if (game.screens.size() > MaxScreens) {
            refuse("截图最多 " + std::to_string(MaxScreens) + " 张");
            continue;
        }
        manifest.games.push_back(std::move(game));
    }
    return manifest;
}

} // namespace ravelo::server
