#pragma once

#include <QString>

#include <map>
#include <vector>

namespace UiLib {

class CControlUI;

/// The window's option groups by the "group" attribute: which options exclude each other. It holds
/// no ownership; a control leaving the window is forgotten from every group. UI thread only.
class COptionGroups
{
public:
    void Add(const QString& group, CControlUI* control);
    /// The members in the order they joined; empty for an unknown group.
    std::vector<CControlUI*> Get(const QString& group) const;
    void Remove(const QString& group, CControlUI* control);
    /// Removes the control from every group.
    void Forget(CControlUI* control);

private:
    std::map<QString, std::vector<CControlUI*>> m_groups;
};

} // namespace UiLib
