#pragma once

#include "store/DownloadInfo.h"
#include "store/EmulatorInfo.h"

#include <map>
#include <string>
#include <vector>

namespace ravelo {

/// The text forms of the list fields of DownloadInfo and EmulatorInfo rows. Pure functions, any
/// thread. Decoding never fails: malformed pieces are skipped, bad numbers read as 0.
class ListCodec
{
public:
    /// Each entry followed by ";": {a, b} <-> "a;b;". Empty entries survive a round trip; a last
    /// entry without its ";" is still read.
    static std::string JoinList(const std::vector<std::string>& entries);
    static std::vector<std::string> SplitList(const std::string& text);

    /// Per set: number "@" then per volume: address "|" volume "\", then ";".
    static std::string EncodeVolumeSets(const DownloadInfo::VolumeSets& sets);
    static DownloadInfo::VolumeSets DecodeVolumeSets(const std::string& text);

    /// The length texts in volume order, each followed by ";"; read back numbered from 1.
    static std::string EncodeVolumeLengths(const std::map<int, std::string>& lengths);
    static std::map<int, std::string> DecodeVolumeLengths(const std::string& text);

    /// Per file: path "|" value ";"; an entry is read only when it has exactly two parts.
    static std::string EncodeFileList(const std::map<std::string, std::string>& files);
    static std::map<std::string, std::string> DecodeFileList(const std::string& text);

    /// Per entry: source "," target "," default source ";".
    static std::string EncodeKeyConfig(const std::vector<EmulatorInfo::KeyConfigEntry>& entries);
    static std::vector<EmulatorInfo::KeyConfigEntry> DecodeKeyConfig(const std::string& text);

    /// Per entry: source "," target ";".
    static std::string EncodeSetConfig(const std::vector<EmulatorInfo::SetConfigEntry>& entries);
    static std::vector<EmulatorInfo::SetConfigEntry> DecodeSetConfig(const std::string& text);

    /// Splits at every separator, keeping empty parts ("a,,b" gives three parts).
    static std::vector<std::string> SplitAll(const std::string& text, char separator);
};

} // namespace ravelo
