#include "gui/catalogue/GameTileView.h"

#include "platform/Translate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ravelo {

std::optional<TileButtonLook> TileButtonFor(int state)
{
    switch (state) {
    case 0:
        return TileButtonLook{TrNoop("安装"), TileButtonStyle::Install};
    case 2:
        return TileButtonLook{TrNoop("下载中"), TileButtonStyle::Busy};
    case 3:
    case 6:
        return TileButtonLook{TrNoop("暂停"), TileButtonStyle::Paused};
    case 4:
        return TileButtonLook{TrNoop("等待"), TileButtonStyle::Busy};
    case 5:
        return TileButtonLook{TrNoop("解压中"), TileButtonStyle::Busy};
    case 8:
        return TileButtonLook{TrNoop("启动"), TileButtonStyle::Play};
    default:
        return std::nullopt;
    }
}

TileAction TileActionFor(int state)
{
    switch (state) {
    case 0:
        return TileAction::Install;
    case 2:
    case 4:
    case 5:
        return TileAction::Stop;
    case 3:
    case 6:
        return TileAction::Resume;
    case 8:
        return TileAction::Play;
    default:
        return TileAction::None;
    }
}

bool IsTileState(int state)
{
    return state >= 0 && state <= 8;
}

std::u16string TileSubtitle(const CGame& game)
{
    std::u16string line;
    for (const std::u16string* part : {&game.emulatorshortname, &game.categoryshortname, &game.language}) {
        if (part->empty())
            continue;
        if (!line.empty())
            line += u" · ";
        line += *part;
    }
    return line;
}

double TileStars(const std::string& rating)
{
    char* end = nullptr;
    const double value = std::strtod(rating.c_str(), &end);
    if (end == rating.c_str() || !std::isfinite(value))
        return 0;
    // Ratings come out of five (some answers use ten): halves are what the stars can show.
    const double outOfFive = value > 5 ? value / 2 : value;
    return std::round(std::clamp(outOfFive, 0.0, 5.0) * 2) / 2;
}

std::string TileProgressText(bool unpacking, double done, double total)
{
    if (!(total > 0) || !(done >= 0))
        return {};
    const int percent = static_cast<int>(std::clamp(done / total, 0.0, 1.0) * 100);
    char text[64];
    std::snprintf(text, sizeof text, "%s %d%%", unpacking ? Tr("解压") : Tr("已下载"), percent);
    return text;
}

} // namespace ravelo
