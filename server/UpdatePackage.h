#pragma once

#include <string>
#include <vector>

namespace ravelo::server {

/// One file of the update package and where it comes from.
struct UpdatePackageFile
{
    std::string name;   // inside the package
    std::string source; // on disk
    bool executable = false;
};

/// The update package of the programs in programFolder (a build's or an install's bin folder):
/// the updater "ravelo-update" at the top, and under "program/" the files a portable install is made
/// of (ravelo, ravelo-cli, ravelo-update, LocalGameRes/ and locale/ where present). Empty when the
/// folder holds no updater.
std::vector<UpdatePackageFile> UpdatePackageFiles(const std::string& programFolder);

/// Writes the update package of programFolder to target and gives its SHA-256 (lower-case hex).
/// Packing the programs takes a while, so the last package made is kept in programFolder's
/// ".demo-update-cache/" (when the folder is writable) and reused while the programs are unchanged.
/// False with a message for the user when the folder has no updater or a file cannot be read or
/// written.
bool MakeUpdatePackage(const std::string& programFolder, const std::string& target, std::string& sha256,
                       std::string& error);

/// SHA-256 of a file's contents in lower-case hex; empty when it cannot be read.
std::string FileSha256(const std::string& path);

} // namespace ravelo::server
