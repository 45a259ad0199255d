#pragma once

#include <string>

namespace ravelo {

/// Creates every folder along the path from the top down, skipping those that exist. The part
/// after the last separator is a file name and is not created ("a/b/c" makes a/ and a/b/;
/// "a/b/c/" makes all three). Failures are ignored; always returns true.
bool CreateFolderChain(const std::string& path);

/// Folder holding the running executable, with a trailing '/'.
std::string ExecutableFolder();

/// The user's temporary folder ($TMPDIR, else /tmp) with a trailing '/'.
std::string TemporaryFolder();

/// Appends '/' unless the path already ends in a separator or is empty.
std::string WithTrailingSeparator(std::string path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
/// A file or a folder (or anything else) is there; links are followed.
bool PathExists(const std::string& path);

/// Writes every byte to an open descriptor, retrying short and interrupted writes; false when the
/// system refuses them (full disk, I/O error), with errno telling why.
bool WriteAll(int fd, const char* data, std::size_t size);

/// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents);

/// Writes a whole file through a temporary sibling, synced and renamed over the target, so a crash
/// or full disk leaves either the old file or the new one, never a truncated one.
bool WriteFileAtomically(const std::string& path, const std::string& contents);

} // namespace ravelo
