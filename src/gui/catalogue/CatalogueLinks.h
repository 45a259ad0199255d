#pragma once

#include <string>

namespace ravelo {

/// What a click on a banner page or a topic link does.
enum class LinkAction
{
    None,
    OpenAddress, // an http or https address, in the desktop's browser
    OpenGame,    // a game's detail window
};

/// The action of an advertisement: "url" and "new_url" open their target when it is a web address,
/// "game" opens the game whose id is the target when it is a plain game id; anything else (another
/// action, a file or script address, an id with separators) does nothing.
LinkAction BannerActionFor(const std::string& action, const std::string& target);

/// An absolute http:// or https:// address with a host and nothing that could break out of it
/// (no spaces or control characters).
bool IsWebAddress(const std::string& address);

/// A game id as the catalogue issues them: 1 to 32 ASCII letters, digits, '-' or '_'.
bool IsPlainGameId(const std::string& id);

/// A topic's id as the number the topic request sends: decimal digits (an optional sign) only;
/// anything else, or a number out of range, is topic 0.
int TopicNumber(const std::string& id);

} // namespace ravelo
