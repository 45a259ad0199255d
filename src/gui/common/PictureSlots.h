#pragma once

#include "platform/Messages.h"

#include <QString>

#include <cstdint>
#include <string>
#include <unordered_map>

namespace UiLib {
class CControlUI;
}

namespace ravelo {

class PictureQueue;
struct PictureResult;

/// A window's side of the picture queue: asks for the pictures of its controls and shows each result
/// on the control that asked for it, as its background image. Every request gets a fresh id, so a
/// result for a control that has since asked for another picture, or has gone, is dropped; a page
/// that refills calls Clear first, which also cancels what is still waiting. UI thread only.
class PictureSlots
{
public:
    PictureSlots(PictureQueue& queue, WindowHandle window);
    ~PictureSlots();
    PictureSlots(const PictureSlots&) = delete;
    PictureSlots& operator=(const PictureSlots&) = delete;

    /// Shows the default icon on the control at once and asks for its picture. An empty address
    /// keeps the default icon.
    void Request(UiLib::CControlUI* control, const std::string& address);
    /// The control goes away (its page refills or closes): its result will be dropped.
    void Forget(UiLib::CControlUI* control);
    /// Forgets every control and cancels every waiting request of the window.
    void Clear();
    /// On UM_PICTURE_READY: shows the result on its control if it still waits for it. Returns whether
    /// a control was changed.
    bool Deliver(const PictureResult& result);

    /// Requests still waiting for their result.
    std::size_t Waiting() const { return m_byId.size(); }

private:
    PictureQueue& m_queue;
    WindowHandle m_window;
    std::uint64_t m_nextId = 1;
    std::unordered_map<std::uint64_t, UiLib::CControlUI*> m_byId;
    std::unordered_map<UiLib::CControlUI*, std::uint64_t> m_byControl;
};

} // namespace ravelo
