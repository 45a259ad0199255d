#pragma once

#include "store/Gameinfo.h"

namespace ravelo {

/// Where the download engine puts each game it installs, besides the library database: the
/// my-games store implements it. Kept here so that the engine needs nothing above itself.
class InstalledGameSink
{
public:
    virtual ~InstalledGameSink() = default;
    /// Called on the engine's scheduler thread with its task lock held, once per finished game;
    /// must not call back into the engine and must not wait for the UI.
    virtual void GameInstalled(const Gameinfo& game) = 0;
};

} // namespace ravelo
