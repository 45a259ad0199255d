#include "gui/settings/SettingsView.h"

#include "platform/FileSystem.h"
#include "platform/TextConvert.h"
#include "platform/Translate.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ravelo {
namespace {

void ApplyPair(bool first, bool second, const char* firstValue, const char* secondValue, std::string& value)
{
    if (first)
        value = firstValue;
    else if (second)
        value = secondValue;
}

/// Whether path is the top folder of a mounted file system: the root, or a folder on another device
/// than its parent.
bool IsMountRoot(const std::string& path)
{
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder == "/")
        return true;
    struct stat self
    {
    }, parent{};
    if (::stat(folder.c_str(), &self) != 0 || ::stat((folder + "/..").c_str(), &parent) != 0)
        return false;
    return self.st_dev != parent.st_dev || self.st_ino == parent.st_ino;
}

std::string Utf8(const std::u16string& text)
{
    try {
        return Utf16ToUtf8(text);
    } catch (...) {
        return {};
    }
}

} // namespace

SettingsOptions OptionsFromSettings(const AppSettings& settings, const std::string& padExitCombo)
{
    SettingsOptions options;
    options.autoRun = settings.AutoRun == "1";
    options.tray = settings.IsTray == "1";
    options.exit = settings.IsTray == "0";
    options.xinput = settings.HandleType == "1";
    options.keyboard = settings.HandleType == "2";
    options.showKeyMap = settings.ShowKeyMapTips == "1";
    options.hideKeyMap = settings.ShowKeyMapTips == "0";
    options.manualUpdate = settings.UpdateType == "0";
    options.autoUpdate = !options.manualUpdate;
    options.padExitCombo = padExitCombo != "0";
    options.languageSystem = settings.Language.empty();
    options.languageChinese = settings.Language.rfind("zh", 0) == 0;
    options.languageEnglish = settings.Language.rfind("en", 0) == 0;
    return options;
}

void ApplyOptions(const SettingsOptions& options, AppSettings& settings)
{
    settings.AutoRun = options.autoRun ? "1" : "0";
    ApplyPair(options.tray, options.exit, "1", "0", settings.IsTray);
    ApplyPair(options.xinput, options.keyboard, "1", "2", settings.HandleType);
    ApplyPair(options.showKeyMap, options.hideKeyMap, "1", "0", settings.ShowKeyMapTips);
    // Any value but "0" already means automatic: it stays as it is unless the user chose manual.
    if (!(options.autoUpdate && settings.UpdateType != "0"))
        ApplyPair(options.autoUpdate, options.manualUpdate, "1", "0", settings.UpdateType);
    // A language written by hand that none of the options names stays until one is chosen.
    if (options.languageSystem)
        settings.Language.clear();
    else if (options.languageChinese && settings.Language.rfind("zh", 0) != 0)
        settings.Language = "zh_CN";
    else if (options.languageEnglish && settings.Language.rfind("en", 0) != 0)
        settings.Language = "en";
}

std::string PadExitComboValue(const SettingsOptions& options)
{
    return options.padExitCombo ? "1" : "0";
}

std::string ProposedGamesFolder(const std::string& home)
{
    std::string folder = home;
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return folder + "/Games/";
}

std::string GamesFolderForChoice(const std::string& chosen)
{
    if (chosen.empty() || chosen.front() != '/')
        return {};
    std::string folder = WithTrailingSeparator(chosen);
    if (IsMountRoot(folder))
        folder += "Games/";
    return folder;
}

bool PrepareGamesFolder(const std::string& folder, std::string* reason)
{
    errno = 0;
    CreateFolderChain(folder);
    if (!FolderExists(folder)) {
        if (reason)
            *reason = std::strerror(errno ? errno : ENOENT);
        return false;
    }
    // Writable by mode is not enough (a read-only mount, a full quota): try a file.
    std::string probe = WithTrailingSeparator(folder) + ".ravelo-write-test-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        if (reason)
            *reason = std::strerror(errno);
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

std::string EmulatorVersionLine(const EmulatorInfo& record)
{
    return std::string(Tr("版本：")) + record.Version;
}

std::string EmulatorDateLine(const EmulatorInfo& record)
{
    return std::string(Tr("更新：")) + record.UpdateDate;
}

std::string EmulatorDescription(const EmulatorInfo& record)
{
    std::string text =
        Utf8(record.Name) + "\n" + EmulatorVersionLine(record) + "\n" + EmulatorDateLine(record);
    const std::string notes = Utf8(record.Description);
    if (!notes.empty())
        text += "\n" + notes;
    return text;
}

} // namespace ravelo
