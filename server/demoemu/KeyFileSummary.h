#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ravelo::demoemu {

/// One player's pad as the key file binds it: by identity (the pad's GUID written by the launcher) or
/// by position among the attached pads.
struct BoundPad
{
    int player = 0;                      ///< 1-based
    std::string identity;                ///< GUID text, or "Joystick1Using=2" style for position bindings
    std::array<std::uint8_t, 16> guid{}; ///< valid when hasGuid
    bool hasGuid = false;
    int padIndex = -1; ///< 0-based position among the attached pads, or -1 when bound by identity
};

/// What the demo emulator learns from its key file: how the user plays, the keys and the pads bound.
struct KeyFileSummary
{
    bool found = false;
    bool gamepad = false; ///< judged from the file's InputKind; keyboard otherwise
    bool kindKnown = false;
    std::vector<std::pair<std::string, std::string>> keys; ///< button, what it is bound to, file order
    std::vector<BoundPad> pads;

    /// "手柄", "键盘", or "未知" when the file does not say.
    std::string InputKindText() const;

    /// Any thread. Reads a key file of the given format: "text" (name value lines, with the 3360-byte
    /// GamePadConfig block of four pads of ten 84-byte button records, GUID at byte 20 of a pad's first
    /// record) or "ini" (Joystick<N>Using top keys, [Keys], [DirectInput-Controller N] GUID). A missing
    /// file gives found = false; values that cannot be decoded are skipped.
    static KeyFileSummary Read(const std::string& path, const std::string& format);

    /// Any thread. The GUID text of 16 bytes: little-endian 32-bit and two 16-bit fields, then 8 bytes,
    /// upper-case hex with hyphens.
    static std::string GuidText(const std::array<std::uint8_t, 16>& bytes);
};

} // namespace ravelo::demoemu
