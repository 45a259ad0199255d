#include "updater/ProgramSwap.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace ravelo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kJournalHeader = "ravelo-update journal 1";

// Names of the install that hold what the user made: never replaced, whatever a package says.
constexpr const char* kUserOwned[] = {"ravelo.cfg", "database",     "Emulator",
                                      "Crash.dmp",  "portable.txt", ProgramSwap::kWorkFolder};

bool Exists(const std::string& path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string SystemReason()
{
    return std::strerror(errno);
}

bool SyncFolder(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

/// Creates the folders of relative's parent below root; false when a part exists as something else.
bool MakeParents(const std::string& root, const std::string& relative)
{
    std::string path = root;
    for (std::size_t at = relative.find('/'); at != std::string::npos; at = relative.find('/', at + 1)) {
        path = root + relative.substr(0, at);
        if (::mkdir(path.c_str(), 0755) != 0 && !(errno == EEXIST && IsFolder(path)))
            return false;
    }
    return true;
}

/// Copies a file's bytes into a new file (runnable when the source is), synced to the disk.
bool CopySynced(const std::string& from, const std::string& to, std::string& why)
{
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        why = from + ": " + SystemReason();
        return false;
    }
    struct stat info
    {
    };
    ::fstat(in, &info);
    const mode_t mode = (info.st_mode & S_IXUSR) ? 0755 : 0644;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (out < 0) {
        why = to + ": " + SystemReason();
        ::close(in);
        return false;
    }
    bool ok = ::fchmod(out, mode) == 0;
    char block[1 << 16];
    while (ok) {
        const ssize_t got = ::read(in, block, sizeof(block));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        ok = WriteAll(out, block, static_cast<std::size_t>(got));
    }
    ok = ok && ::fsync(out) == 0;
    if (!ok)
        why = to + ": " + SystemReason();
    ok = ::close(out) == 0 && ok;
    ::close(in);
    return ok;
}

bool RemoveEntry(const std::string& path)
{
    std::error_code error;
    fs::remove_all(path, error);
    return !error && !Exists(path);
}

/// A journal line names a path inside the install, nothing else.
bool IsInsidePath(const std::string& relative)
{
    if (relative.empty() || relative.front() == '/' || relative.back() == '/')
        return false;
    std::size_t start = 0;
    while (start <= relative.size()) {
        const std::size_t end = std::min(relative.find('/', start), relative.size());
        const std::string part = relative.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

bool HasControlCharacter(const std::string& name)
{
    return std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

} // namespace

ProgramSwap::ProgramSwap(std::string installFolder, std::string sourceFolder)
    : m_install(WithTrailingSeparator(std::move(installFolder))),
      m_source(WithTrailingSeparator(std::move(sourceFolder)))
{
}

bool ProgramSwap::IsUserOwned(const std::string& relative)
{
    const std::string first = relative.substr(0, relative.find('/'));
    return std::any_of(std::begin(kUserOwned), std::end(kUserOwned),
                       [&](const char* name) { return first == name; });
}

bool ProgramSwap::Fail(std::string why)
{
    m_error = std::move(why);
    return false;
}

bool ProgramSwap::Run()
{
    m_error.clear();
    m_files.clear();
    m_replaced.clear();
    m_skipped.clear();
    if (!IsFolder(m_install))
        return Fail("the install folder does not exist: " + m_install);
    if (!Recover())
        return false;
    RemoveEntry(Work()); // what a copy that failed earlier left
    if (!IsFolder(m_source))
        return Fail("the package holds no program folder: " + m_source);
    if (!ListSource(m_source, std::string()))
        return false;
    if (m_files.empty())
        return Fail("the package's program folder is empty");
    std::sort(m_files.begin(), m_files.end());

    if (!Stage() || !WriteJournal()) {
        RemoveEntry(Work()); // nothing of the install was touched
        return false;
    }
    if (!Swap())
        return false;
    // Committed: the journal goes first, so a crash from here on leaves the new version.
    if (::unlink((Work() + "journal").c_str()) != 0)
        return Fail("cannot remove the journal: " + SystemReason());
    SyncFolder(Work());
    RemoveEntry(Work());
    SyncFolder(m_install);
    return true;
}

bool ProgramSwap::ListSource(const std::string& folder, const std::string& prefix)
{
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const std::string relative = prefix + name;
        if (HasControlCharacter(name))
            return Fail("the package holds a file name the install cannot take: " + relative);
        std::error_code kindError;
        const fs::file_status status = it->symlink_status(kindError);
        if (prefix.empty() && IsUserOwned(relative)) {
            m_skipped.push_back(relative);
            continue;
        }
        if (fs::is_directory(status)) {
            if (!ListSource(it->path().string(), relative + "/"))
                return false;
        } else if (fs::is_regular_file(status)) {
            m_files.push_back(relative);
        } else {
            m_skipped.push_back(relative); // links and devices are nothing a program needs
        }
    }
    if (error)
        return Fail("cannot read the package: " + folder + ": " + error.message());
    return true;
}

bool ProgramSwap::Stage()
{
    const std::string staged = Work() + "new/";
    if (!CreateFolderChain(staged) || !IsFolder(staged))
        return Fail("cannot make the work folder " + staged);
    for (const std::string& relative : m_files) {
        std::string why;
        if (!MakeParents(staged, relative) || !CopySynced(m_source + relative, staged + relative, why))
            return Fail("cannot copy the new version: " + (why.empty() ? relative : why));
    }
    return true;
}

bool ProgramSwap::WriteJournal()
{
    std::string text = std::string(kJournalHeader) + "\n";
    for (const std::string& relative : m_files)
        text += relative + "\n";
    if (!WriteFileAtomically(Work() + "journal", text) || !SyncFolder(Work()))
        return Fail("cannot write the journal: " + SystemReason());
    return true;
}

bool ProgramSwap::Swap()
{
    if (!CreateFolderChain(Work() + "old/") || !IsFolder(Work() + "old/"))
        return Fail("cannot make the work folder " + Work() + "old/");
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        const std::string& relative = m_files[i];
        if (!SwapOne(relative)) {
            const std::string why = m_error;
            // Back to the old version: this file and every one before it.
            RollBack(std::vector<std::string>(m_files.begin(), m_files.begin() + static_cast<long>(i) + 1));
            m_replaced.clear();
            if (m_error.empty())
                RemoveEntry(Work());
            return Fail(why + (m_error.empty() ? "" : "; rolling back: " + m_error));
        }
        m_replaced.push_back(relative);
    }
    return true;
}

bool ProgramSwap::SwapOne(const std::string& relative)
{
    const std::string current = m_install + relative;
    const std::string aside = Work() + "old/" + relative;
    if (!MakeParents(m_install, relative))
        return Fail("cannot make the folders of " + relative);
    if (m_beforeReplace && !m_beforeReplace(relative))
        return Fail("stopped before " + relative);
    if (Exists(current)) {
        if (!MakeParents(Work() + "old/", relative) || ::rename(current.c_str(), aside.c_str()) != 0)
            return Fail("cannot move " + relative + " aside: " + SystemReason());
    }
    if (::rename((Work() + "new/" + relative).c_str(), current.c_str()) != 0)
        return Fail("cannot put " + relative + " in place: " + SystemReason());
    return true;
}

void ProgramSwap::RollBack(const std::vector<std::string>& relatives)
{
    m_error.clear();
    for (auto it = relatives.rbegin(); it != relatives.rend(); ++it)
        if (!RestoreOne(*it) && m_error.empty())
            m_error = "cannot restore " + *it + ": " + SystemReason();
    SyncFolder(m_install);
}

bool ProgramSwap::RestoreOne(const std::string& relative)
{
    const std::string current = m_install + relative;
    const std::string aside = Work() + "old/" + relative;
    const std::string staged = Work() + "new/" + relative;
    if (Exists(aside)) {
        // Moved aside: whatever stands in its place now is the new version's.
        if (Exists(current) && !RemoveEntry(current))
            return false;
        return ::rename(aside.c_str(), current.c_str()) == 0;
    }
    if (!Exists(staged) && Exists(current))
        return RemoveEntry(current); // new to this install, and already in place
    return true;                     // never reached by the swap
}

bool ProgramSwap::Recover()
{
    const std::string journal = Work() + "journal";
    if (!Exists(journal))
        return true;
    std::ifstream in(journal);
    std::string line;
    if (!std::getline(in, line) || line != kJournalHeader)
        return Fail("the journal of an unfinished update cannot be read: " + journal);
    std::vector<std::string> relatives;
    while (std::getline(in, line)) {
        if (!IsInsidePath(line))
            return Fail("the journal of an unfinished update names " + line);
        relatives.push_back(line);
    }
    RollBack(relatives);
    if (!m_error.empty())
        return Fail("an unfinished update cannot be rolled back: " + m_error);
    ::unlink(journal.c_str());
    RemoveEntry(Work());
    return true;
}

} // namespace ravelo
