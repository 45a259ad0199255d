#pragma once

#include "service/CGame.h"

#include <optional>
#include <string>

namespace ravelo {

/// How a tile's action button looks for a download state.
enum class TileButtonStyle
{
    Install, // accent: "安装"
    Busy,    // tinted accent: "下载中", "等待", "解压中"
    Paused,  // outlined: "暂停"
    Play,    // green: "启动"
};

struct TileButtonLook
{
    const char* text; // through Tr when shown
    TileButtonStyle style;
};

/// The button of a tile for a state code of UM_ITEM_STATE (0 not downloaded, 2 to 6 the download
/// statuses, 8 installed); none for the codes that leave it as it is (1, 7, above 8, below 0).
std::optional<TileButtonLook> TileButtonFor(int state);

/// What a click on a tile's button does in a state.
enum class TileAction
{
    None,
    Install, // not downloaded: make sure of the emulator, then add the download
    Stop,    // downloading, waiting, unpacking
    Resume,  // stopped, unpacking paused
    Play,    // installed
};

TileAction TileActionFor(int state);

/// Whether a state code is one a tile shows (0 to 8); others change nothing.
bool IsTileState(int state);

/// The line under a tile's name: system, genre and language that the game has, joined by " · ".
std::u16string TileSubtitle(const CGame& game);

/// The rating as stars out of five (0 to 5, halves kept); text that is not a number gives 0.
double TileStars(const std::string& rating);

/// "已下载 45%" style progress text for a tile while its game downloads or unpacks, from bytes done
/// and in all; empty when the total is not known.
std::string TileProgressText(bool unpacking, double done, double total);

} // namespace ravelo
