#include "gui/common/PictureSlots.h"

#include "service/PictureMessages.h"
#include "service/PictureQueue.h"
#include "uilib/CControlUI.h"

namespace ravelo {

PictureSlots::PictureSlots(PictureQueue& queue, WindowHandle window) : m_queue(queue), m_window(window) {}

PictureSlots::~PictureSlots()
{
    Clear();
}

void PictureSlots::Request(UiLib::CControlUI* control, const std::string& address)
{
    if (!control)
        return;
    Forget(control);
    control->SetBkImage(QString::fromUtf8(kDefaultGameIcon));
    if (address.empty())
        return;
    const std::uint64_t id = m_nextId++;
    m_byId.emplace(id, control);
    m_byControl.emplace(control, id);
    m_queue.Request(m_window, id, address);
}

void PictureSlots::Forget(UiLib::CControlUI* control)
{
    const auto it = m_byControl.find(control);
    if (it == m_byControl.end())
        return;
    m_queue.Cancel(m_window, it->second);
    m_byId.erase(it->second);
    m_byControl.erase(it);
}

void PictureSlots::Clear()
{
    if (!m_byId.empty())
        m_queue.Cancel(m_window);
    m_byId.clear();
    m_byControl.clear();
}

bool PictureSlots::Deliver(const PictureResult& result)
{
    const auto it = m_byId.find(result.requestId);
    if (it == m_byId.end())
        return false; // stale: the control asked for another picture or went away
    UiLib::CControlUI* control = it->second;
    m_byControl.erase(control);
    m_byId.erase(it);
    control->SetBkImage(QString::fromStdString(result.localPath));
    return true;
}

} // namespace ravelo
