#include "emulator/EmulatorConfig.h"

#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ravelo {

namespace fs = std::filesystem;

namespace {

constexpr char kFilesConfig[] = "0";
constexpr char kRegistryConfig[] = "1";

// Names come from the server's emulator list: accept only relative paths that stay below their folder.
bool IsContainedRelativePath(const std::string& name)
{
    if (name.empty() || name.front() == '/' || (name.size() >= 2 && name[1] == ':'))
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos)
            end = name.size();
        if (name.compare(start, end - start, "..") == 0 && end - start == 2)
            return false;
        start = end + 1;
    }
    return true;
}

// Copies a file (or a folder with its contents) over what is there; never creates the destination's
// folder, so a target in a folder the emulator does not have is skipped like a missing source.
void CopyReplacing(const std::string& source, const std::string& destination)
{
    if (source.empty() || destination.empty())
        return;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(source, error);
    if (error || !fs::exists(status))
        return;
    if (fs::is_directory(status))
        fs::copy(source, destination,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing |
                     fs::copy_options::skip_symlinks,
                 error);
    else if (fs::is_regular_file(status))
        fs::copy_file(source, destination, fs::copy_options::overwrite_existing, error);
    if (error)
        DebugOutput("EmulatorConfig: copy " + source + " -> " + destination + " failed: " + error.message());
}

std::uintmax_t TotalFileBytes(const std::string& folder)
{
    std::uintmax_t total = 0;
    std::error_code error;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (const fs::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
        std::error_code sizeError;
        if (it->is_regular_file(sizeError) && !it->is_symlink(sizeError)) {
            const std::uintmax_t size = it->file_size(sizeError);
            if (!sizeError)
                total += size;
        }
    }
    return total;
}

std::string DefaultFolderName(int kind)
{
    return kind == kInputKindGamepad ? "GamePadCfg" : kind == kInputKindKeyboard ? "KeyBoardCfg" : "";
}

} // namespace

EmulatorConfig::EmulatorConfig(std::string emulatorFolder, std::string documentsFolder)
    : m_folder(WithTrailingSeparator(std::move(emulatorFolder))),
      m_documents(WithTrailingSeparator(std::move(documentsFolder)))
{
}

std::string EmulatorConfig::DocumentsFolder()
{
    if (const char* documents = std::getenv("XDG_DOCUMENTS_DIR"); documents && *documents)
        return WithTrailingSeparator(documents);
    const char* home = std::getenv("HOME");
    return WithTrailingSeparator(std::string(home ? home : "") + "/Documents");
}

std::string EmulatorConfig::GameBaseName(const std::string& gamePath)
{
    const std::size_t slash = gamePath.find_last_of("/\\");
    std::string name = slash == std::string::npos ? gamePath : gamePath.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name;
}

std::string EmulatorConfig::ContainedPath(const std::string& folder, const std::string& name)
{
    std::string relative = name;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    if (folder.empty() || !IsContainedRelativePath(relative))
        return {};
    return WithTrailingSeparator(folder) + relative;
}

std::string EmulatorConfig::UserFolder(int kind) const
{
    if (kind == kInputKindGamepad)
        return m_folder + "UserGamePadCfg/";
    if (kind == kInputKindKeyboard)
        return m_folder + "UserKeyBoardCfg/";
    return {};
}

std::string EmulatorConfig::TemplatePath(const std::string& folder, const std::string& name,
                                         const std::string& gamePath) const
{
    std::string relative = name;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    std::string base = folder;
    if (const std::size_t dollar = relative.find('$'); dollar != std::string::npos) {
        relative.erase(0, dollar + 1);
        relative.erase(0, relative.find_first_not_of('/'));
        base = m_documents;
    } else if (const std::size_t tilde = relative.find('~'); tilde != std::string::npos) {
        relative.replace(tilde, 1, GameBaseName(gamePath));
    }
    if (folder.empty() || !IsContainedRelativePath(relative)) {
        if (!name.empty())
            DebugOutput("EmulatorConfig: skipped the file name \"" + name + "\"");
        return {};
    }
    return base + relative;
}

void EmulatorConfig::PrepareUserFolder(const EmulatorInfo&, int kind) const
{
    const std::string user = UserFolder(kind);
    if (user.empty() || TotalFileBytes(user) > 0)
        return;
    const std::string defaults = m_folder + DefaultFolderName(kind);
    if (!FolderExists(defaults))
        return;
    // Copy the defaults' contents into the user folder even when it exists already (left empty by a
    // save, or holding only empty files), so they land where apply looks for them.
    std::error_code error;
    fs::create_directories(user, error);
    fs::copy(defaults, user,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing |
                 fs::copy_options::skip_symlinks,
             error);
    if (error)
        DebugOutput("EmulatorConfig: copying " + defaults + " failed: " + error.message());
}

void EmulatorConfig::ApplyConfig(const EmulatorInfo& record, const std::string& gamePath, int kind) const
{
    const std::string user = UserFolder(kind);
    if (user.empty())
        return;
    if (record.Configtype == kRegistryConfig) {
        DebugOutput("EmulatorConfig: registry settings of emulator " + record.EmulatorId +
                    " are not used here");
        return;
    }
    if (record.Configtype != kFilesConfig)
        return;
    for (const EmulatorInfo::KeyConfigEntry& entry : record.KeyConfig) {
        std::string source = TemplatePath(user, entry.Source, gamePath);
        if (!entry.DefaultSource.empty()) {
            std::error_code error;
            if (source.empty() || !fs::exists(fs::symlink_status(source, error)))
                source = TemplatePath(user, entry.DefaultSource, gamePath);
        }
        CopyReplacing(source, TemplatePath(m_folder, entry.Target, gamePath));
    }
    for (const EmulatorInfo::SetConfigEntry& entry : record.SetConfig)
        CopyReplacing(TemplatePath(user, entry.Source, gamePath),
                      TemplatePath(m_folder, entry.Target, gamePath));
}

void EmulatorConfig::SaveConfig(const EmulatorInfo& record, const std::string& gamePath, int kind) const
{
    const std::string user = UserFolder(kind);
    if (user.empty())
        return;
    CreateFolderChain(user);
    if (record.Configtype == kRegistryConfig) {
        DebugOutput("EmulatorConfig: registry settings of emulator " + record.EmulatorId +
                    " are not saved here");
        return;
    }
    if (record.Configtype != kFilesConfig)
        return;
    for (const EmulatorInfo::KeyConfigEntry& entry : record.KeyConfig)
        CopyReplacing(TemplatePath(m_folder, entry.Target, gamePath),
                      TemplatePath(user, entry.Source, gamePath));
    for (const EmulatorInfo::SetConfigEntry& entry : record.SetConfig)
        CopyReplacing(TemplatePath(m_folder, entry.Target, gamePath),
                      TemplatePath(user, entry.Source, gamePath));
}

void EmulatorConfig::ResetUserFolder(const EmulatorInfo&, int kind) const
{
    std::string user = UserFolder(kind);
    if (user.empty())
        return;
    user.pop_back();
    std::error_code error;
    fs::remove_all(user, error);
    if (error)
        DebugOutput("EmulatorConfig: deleting " + user + " failed: " + error.message());
}

} // namespace ravelo
