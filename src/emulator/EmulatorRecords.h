#pragma once

#include "emulator/CEmulatorList.h"
#include "store/EmulatorInfo.h"

#include <cstddef>
#include <memory>
#include <string>

namespace ravelo {

/// Any thread. Decodes an emulator list answer; null when the text is not JSON, is not an object or
/// holds a value of the wrong kind (nothing is thrown).
std::unique_ptr<CEmulatorList> ParseEmulatorList(const std::string& text);

/// Any thread. The in-memory record of a listed emulator, field by field; the key-binding and
/// settings entries keep their order. A system number that is not decimal gives 0.
EmulatorInfo MakeEmulatorInfo(const CEmulatorBase& emulator);

/// The number a dotted version compares as: the dots removed, then the leading decimal digits
/// ("1.2.10" gives 1210, "1.3.0" gives 130, no digits give 0). Saturates instead of overflowing.
long long VersionNumber(std::string version);

/// Whether the record's id, system code and name may become folder names (IsPlainName); records that
/// fail are never listed, installed or deleted.
bool HasSafeFolderNames(const EmulatorInfo& record);

/// The emulator's folder: instanceFolder + "Emulator/" + the code of its system number + "/" + its
/// name, without a trailing '/'. Empty when HasSafeFolderNames fails.
std::string EmulatorFolderOf(const EmulatorInfo& record, const std::string& instanceFolder);

/// The path of the record's program number index (0 first) inside folder, its name stripped of trailing
/// blanks; empty when there is no such entry or the name (it comes from the server) would leave folder.
std::string EmulatorProgramPath(const EmulatorInfo& record, const std::string& folder, std::size_t index);

} // namespace ravelo
