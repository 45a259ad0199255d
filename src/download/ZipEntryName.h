#pragma once

#include <string>
#include <vector>

namespace ravelo {

/// An archive entry's name turned into safe path parts below the destination folder.
struct ZipEntryName
{
    std::vector<std::string> folders; // folders to create, outermost first
    std::string fileName;             // empty for a folder entry
};

/// Decodes a raw entry name (UTF-8 when flagged, else UTF-8 if it is valid, else GB18030, the code
/// page Chinese archives are made in) and splits it at '/' and '\'. Returns false for names that
/// would leave the destination: absolute names, drive letters, ".." parts, or undecodable bytes.
bool ParseZipEntryName(const std::string& raw, bool utf8Flag, ZipEntryName& out);

} // namespace ravelo
