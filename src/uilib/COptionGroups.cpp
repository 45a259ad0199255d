#include "uilib/COptionGroups.h"

#include <algorithm>

namespace UiLib {

void COptionGroups::Add(const QString& group, CControlUI* control)
{
    std::vector<CControlUI*>& members = m_groups[group];
    if (std::find(members.begin(), members.end(), control) == members.end())
        members.push_back(control);
}

std::vector<CControlUI*> COptionGroups::Get(const QString& group) const
{
    const auto it = m_groups.find(group);
    return it == m_groups.end() ? std::vector<CControlUI*>() : it->second;
}

void COptionGroups::Remove(const QString& group, CControlUI* control)
{
    const auto it = m_groups.find(group);
    if (it == m_groups.end())
        return;
    std::erase(it->second, control);
    if (it->second.empty())
        m_groups.erase(it);
}

void COptionGroups::Forget(CControlUI* control)
{
    for (auto it = m_groups.begin(); it != m_groups.end();) {
        std::erase(it->second, control);
        it = it->second.empty() ? m_groups.erase(it) : std::next(it);
    }
}

} // namespace UiLib
