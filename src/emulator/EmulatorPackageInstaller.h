#pragma once

#include "store/EmulatorInfo.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace ravelo {

/// Fetches one emulator package (a zip archive at the record's download address) into a fixed local
/// archive and unpacks it into the emulator folder. One installer serves one installation.
class EmulatorPackageInstaller
{
public:
    /// (bytes done, bytes expected) of the current stage; 0 expected while unknown.
    using Progress = std::function<void(std::int64_t done, std::int64_t expected)>;

    /// archivePath is replaced by each installation and stays after success (the next one deletes it).
    EmulatorPackageInstaller(EmulatorInfo record, std::string emulatorFolder, std::string archivePath);

    /// Blocks the calling worker thread. Deletes an old archive, downloads afresh, unpacks over the
    /// folder. True when every entry was unpacked; false with Error() set when the address is not
    /// http(s), the transfer or the extraction fails or stop was raised (the archive is then deleted,
    /// files already unpacked stay).
    bool Run(const std::atomic<bool>* stop = nullptr, const Progress& progress = {});

    /// A Chinese text saying why Run failed; empty after a success.
    const std::string& Error() const { return m_error; }
    const EmulatorInfo& Record() const { return m_record; }

private:
    bool Fail(std::string reason);

    EmulatorInfo m_record;
    std::string m_folder;
    std::string m_archive;
    std::string m_error;
};

} // namespace ravelo
