#pragma once

#include "emulator/CEmulatorBase.h"

#include <array>

namespace ravelo {

/// The server's emulator list: one array of emulators per system key. A missing key is an empty
/// array. The list owns its emulators.
class CEmulatorList : public CJsonObjectBase
{
public:
    /// The arrays in the order of EmulatorListKeys(), which is the order the registry walks them.
    std::array<RecordVector<CEmulatorBase>, 17> lists;

    /// The array under one of the 17 keys, or null for any other key.
    const RecordVector<CEmulatorBase>* ListOf(const std::string& key) const;

    std::unique_ptr<CJsonObjectBase> CreateListElement(const std::string& key) override;

protected:
    void DeclareFields() override;
};

} // namespace ravelo
