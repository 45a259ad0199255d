#include "emulator/CEmulatorList.h"

#include "systems/SystemTable.h"

#include <algorithm>

namespace ravelo {

void CEmulatorList::DeclareFields()
{
    const std::vector<std::string>& keys = EmulatorListKeys();
    for (std::size_t i = 0; i < lists.size() && i < keys.size(); ++i)
        AddField(keys[i], &lists[i]);
}

const RecordVector<CEmulatorBase>* CEmulatorList::ListOf(const std::string& key) const
{
    const std::vector<std::string>& keys = EmulatorListKeys();
    const auto found = std::find(keys.begin(), keys.end(), key);
    if (found == keys.end() || std::size_t(found - keys.begin()) >= lists.size())
        return nullptr;
    return &lists[std::size_t(found - keys.begin())];
}

std::unique_ptr<CJsonObjectBase> CEmulatorList::CreateListElement(const std::string& key)
{
    if (!ListOf(key))
        return nullptr;
    return std::make_unique<CEmulatorBase>();
}

} // namespace ravelo
