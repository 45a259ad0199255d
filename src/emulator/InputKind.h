#pragma once

namespace ravelo {

/// How the user plays: the kinds of the user's configuration folders and of the stored choice.
inline constexpr int kInputKindGamepad = 1;
inline constexpr int kInputKindKeyboard = 2;

} // namespace ravelo
