#include "library/LocalGameImporter.h"

#include "library/ArcadeResources.h"
#include "library/CMyGameStore.h"
#include "library/LocalGameFiles.h"
#include "library/LocalGameMessages.h"
#include "store/LibraryDatabase.h"
#include "systems/SystemTable.h"

#include <filesystem>
#include <sys/stat.h>

namespace ravelo {
namespace {

namespace fs = std::filesystem;

// The size of a regular file (links followed); nothing when it is gone or is something else.
std::optional<std::uint64_t> RegularFileSize(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

} // namespace

LocalGameImporter::LocalGameImporter(CMyGameStore& store, WindowHandle window)
    : m_store(store), m_window(window)
{
}

std::optional<LocalGame> LocalGameImporter::ImportFoundFile(const std::string& filePath,
                                                            const std::string& code)
{
    if (m_store.HasLocalGame(filePath))
        return std::nullopt;
    const std::string number = SystemCodeToNumber(code);
    if (number.empty())
        return std::nullopt;
    // A file that vanished since the walk is skipped.
    const std::optional<std::uint64_t> bytes = RegularFileSize(filePath);
    if (!bytes)
        return std::nullopt;
    return Import(filePath, code, std::stoi(number), *bytes);
}

std::optional<LocalGame> LocalGameImporter::ImportFileFor(const std::string& filePath, int systemNumber)
{
    const std::string code = SystemNumberToCode(systemNumber);
    if (m_store.HasLocalGame(filePath) || !ExtensionMatches(ExtensionListOf(code), FileNameOf(filePath)))
        return std::nullopt;
    const std::optional<std::uint64_t> bytes = RegularFileSize(filePath);
    if (!bytes)
        return std::nullopt;
    return Import(filePath, code, systemNumber, *bytes);
}

std::vector<LocalGame> LocalGameImporter::ImportPaths(const std::vector<std::string>& paths, int systemNumber,
                                                      const std::atomic<bool>& stop)
{
    std::vector<LocalGame> imported;
    if (ExtensionListOf(SystemNumberToCode(systemNumber)).empty())
        return imported;
    const auto importOne = [&](const std::string& path) {
        if (std::optional<LocalGame> game = ImportFileFor(path, systemNumber))
            imported.push_back(std::move(*game));
    };
    for (const std::string& path : paths) {
        if (stop.load())
            break;
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (error)
            continue;
        if (fs::is_regular_file(status)) {
            importOne(path);
        } else if (fs::is_directory(status)) {
            fs::recursive_directory_iterator walk(path, fs::directory_options::skip_permission_denied, error);
            for (const fs::recursive_directory_iterator end; !error && walk != end && !stop.load();
                 walk.increment(error)) {
                std::error_code typeError;
                if (walk->is_regular_file(typeError))
                    importOne(walk->path().string());
            }
        }
    }
    return imported;
}

std::optional<LocalGame> LocalGameImporter::Import(const std::string& filePath, const std::string& code,
                                                   int systemNumber, std::uint64_t bytes)
{
    const std::string baseName = BaseNameOf(filePath);
    LocalGame game = MakeLocalGame(filePath, FindGameName(systemNumber, baseName),
                                   FindGameIcon(systemNumber, baseName), bytes, code, systemNumber);
    if (!m_store.InsertLocalGame(game))
        return std::nullopt;
    // The row is written once, without waiting; a failed write does not undo the record in memory.
    m_store.Database().Post(DbOperation::AddLocalGame, game);
    if (m_window != 0)
        PostMessage(m_window, UM_LOCAL_GAME_IMPORTED, 0, std::make_unique<LocalGame>(game));
    return game;
}

} // namespace ravelo
