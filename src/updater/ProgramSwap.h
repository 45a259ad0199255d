#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ravelo {

/// Replaces the program files of a portable install with a new version's, as a whole: every new file
/// is first copied beside the install (into its ".ravelo-update/" work folder) and synced; only then
/// are the files swapped in by renames, each old file moved aside first. A failure while copying
/// changes nothing; a failure while swapping moves every file back. The swap is journalled, so one cut
/// short by a crash or a power loss is rolled back by the next run (Recover). Files of the install that
/// the new version does not carry stay as they are, and the user's own (settings, database, emulators,
/// crash dump, the portable marker) are never written even when a package names them.
class ProgramSwap
{
public:
    /// installFolder is the portable install; sourceFolder holds the new version's files in the same
    /// layout. Both may lack the trailing '/'.
    ProgramSwap(std::string installFolder, std::string sourceFolder);

    /// Called before each file is swapped in with its path inside the install; returning false makes
    /// the swap fail there. For tests that need a failure between two renames.
    void SetBeforeReplace(std::function<bool(const std::string& relative)> hook)
    {
        m_beforeReplace = std::move(hook);
    }

    /// Rolls back a swap that an earlier run left unfinished, then does the whole replacement. True
    /// when every new file is in place; false with Error() set when the install holds the old version
    /// again (or, when even rolling back failed, with the journal kept for the next run).
    bool Run();

    /// Rolls back an unfinished swap of an earlier run, if the install has one. True when there was
    /// none or it was rolled back.
    bool Recover();

    /// The files swapped in by the last Run, relative to the install, in the order they were.
    const std::vector<std::string>& Replaced() const { return m_replaced; }
    /// The package's files that were left out because they are the user's.
    const std::vector<std::string>& Skipped() const { return m_skipped; }
    const std::string& Error() const { return m_error; }

    /// Whether a path inside the install belongs to the user (its first part is one of the user's).
    static bool IsUserOwned(const std::string& relative);
    /// The work folder's name inside the install.
    static constexpr const char* kWorkFolder = ".ravelo-update";

private:
    bool ListSource(const std::string& folder, const std::string& prefix);
    bool Stage();
    bool WriteJournal();
    bool Swap();
    bool SwapOne(const std::string& relative);
    void RollBack(const std::vector<std::string>& relatives);
    bool RestoreOne(const std::string& relative);
    bool Fail(std::string why);
    std::string Work() const { return m_install + kWorkFolder + "/"; }

    std::string m_install; // with '/'
    std::string m_source;  // with '/'
    std::function<bool(const std::string&)> m_beforeReplace;
    std::vector<std::string> m_files; // the package's files, relative, sorted
    std::vector<std::string> m_replaced;
    std::vector<std::string> m_skipped;
    std::string m_error;
};

} // namespace ravelo
