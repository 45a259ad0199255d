#include "uilib/CControlTimers.h"

#include <algorithm>

namespace UiLib {

CControlTimers::~CControlTimers()
{
    KillAll();
}

void CControlTimers::SetHost(QObject* host)
{
    if (host == m_host)
        return;
    KillAll();
    m_host = host;
}

bool CControlTimers::Set(CControlUI* control, unsigned id, unsigned elapseMs)
{
    if (!control || !m_host)
        return false;
    Kill(control, id);
    const int qtTimer = m_host->startTimer(static_cast<int>(qMax(1u, elapseMs)));
    if (qtTimer == 0)
        return false;
    m_entries.push_back({{control, id}, qtTimer});
    return true;
}

bool CControlTimers::Kill(CControlUI* control, unsigned id)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
        return e.timer.control == control && e.timer.id == id;
    });
    if (it == m_entries.end())
        return false;
    if (m_host)
        m_host->killTimer(it->qtTimer);
    m_entries.erase(it);
    return true;
}

void CControlTimers::Kill(CControlUI* control)
{
    std::erase_if(m_entries, [&](const Entry& e) {
        if (e.timer.control != control)
            return false;
        if (m_host)
            m_host->killTimer(e.qtTimer);
        return true;
    });
}

void CControlTimers::KillAll()
{
    if (m_host) {
        for (const Entry& e : m_entries)
            m_host->killTimer(e.qtTimer);
    }
    m_entries.clear();
}

bool CControlTimers::Has(CControlUI* control, unsigned id) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const Entry& e) { return e.timer.control == control && e.timer.id == id; });
}

std::optional<CControlTimers::Timer> CControlTimers::Find(int qtTimerId) const
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [qtTimerId](const Entry& e) { return e.qtTimer == qtTimerId; });
    if (it == m_entries.end())
        return std::nullopt;
    return it->timer;
}

} // namespace UiLib
