#pragma once

#include <string>

namespace ravelo {

/// Told by the game launcher when a game's program starts and when the game has ended, for work that
/// lasts exactly as long as a game runs (the pad's exit combo). Called on the launch thread, with no
/// launcher lock held; may call the launcher back (StopGame), must not wait for the UI.
class GameRunObserver
{
public:
    virtual ~GameRunObserver() = default;
    /// The game's program is about to start (its files are in place). inputKind: 1 pad, 2 keyboard.
    virtual void GameStarted(const std::string& system, int inputKind) = 0;
    /// The game's program has ended (or could not start); its files are about to be saved back.
    virtual void GameEnded() = 0;
};

} // namespace ravelo
