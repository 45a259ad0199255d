#pragma once

#include "platform/Messages.h"
#include "store/LocalGame.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ravelo {

class CMyGameStore;

/// Turns game files into my-games records: fills the record, inserts it into the store, writes it
/// to the library database (posted, not waited for) and announces it to the window. Shared by the
/// folder scan and the drop import; holds no state of its own, so any thread may use one.
class LocalGameImporter
{
public:
    /// The store must outlive the importer; window may be 0 (nothing is announced).
    LocalGameImporter(CMyGameStore& store, WindowHandle window);

    /// Imports one file found in a system folder (code as the folder's). Returns the new record, or
    /// nothing when the store already has the file, the file is gone or is not a regular file.
    std::optional<LocalGame> ImportFoundFile(const std::string& filePath, const std::string& code);

    /// Imports one file for a system number when its extension is in the system's list. Returns the
    /// new record, or nothing (already present, wrong extension, system with no list, not a file).
    std::optional<LocalGame> ImportFileFor(const std::string& filePath, int systemNumber);

    /// The drop import: each path in order, folders walked recursively, until stop is set. Paths
    /// that cannot be examined are skipped. Returns the records imported, in order.
    std::vector<LocalGame> ImportPaths(const std::vector<std::string>& paths, int systemNumber,
                                       const std::atomic<bool>& stop);

private:
    std::optional<LocalGame> Import(const std::string& filePath, const std::string& code, int systemNumber,
                                    std::uint64_t bytes);

    CMyGameStore& m_store;
    WindowHandle m_window;
};

} // namespace ravelo
