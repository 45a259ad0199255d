#include "store/ListCodec.h"

#include "platform/Decimal.h"

#include <climits>

namespace ravelo {

std::vector<std::string> ListCodec::SplitAll(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string ListCodec::JoinList(const std::vector<std::string>& entries)
{
    std::string text;
    for (const auto& entry : entries) {
        text += entry;
        text += ';';
    }
    return text;
}

std::vector<std::string> ListCodec::SplitList(const std::string& text)
{
    std::vector<std::string> entries = SplitAll(text, ';');
    // Every entry ends in ";", so the text after the last one is empty unless it was cut short.
    if (entries.back().empty())
        entries.pop_back();
    return entries;
}

std::string ListCodec::EncodeVolumeSets(const DownloadInfo::VolumeSets& sets)
{
    std::string text;
    for (const auto& [set, volumes] : sets) {
        text += std::to_string(set);
        text += '@';
        for (const auto& [volume, address] : volumes) {
            text += address;
            text += '|';
            text += std::to_string(volume);
            text += '\\';
        }
        text += ';';
    }
    return text;
}

DownloadInfo::VolumeSets ListCodec::DecodeVolumeSets(const std::string& text)
{
    DownloadInfo::VolumeSets sets;
    for (const auto& setText : SplitAll(text, ';')) {
        // The set number holds no "@" and the volume number no "|", so an address that contains
        // either still reads back whole.
        const std::size_t at = setText.find('@');
        if (at == std::string::npos)
            continue;
        auto& volumes = sets[ParseDecimal(setText.substr(0, at))];
        for (const auto& volumeText : SplitAll(setText.substr(at + 1), '\\')) {
            const std::size_t bar = volumeText.rfind('|');
            if (bar == std::string::npos)
                continue;
            volumes[ParseDecimal(volumeText.substr(bar + 1))] = volumeText.substr(0, bar);
        }
    }
    return sets;
}

std::string ListCodec::EncodeVolumeLengths(const std::map<int, std::string>& lengths)
{
    std::string text;
    for (const auto& [volume, length] : lengths) {
        text += length;
        text += ';';
    }
    return text;
}

std::map<int, std::string> ListCodec::DecodeVolumeLengths(const std::string& text)
{
    std::map<int, std::string> lengths;
    int volume = 1;
    for (auto& length : SplitList(text))
        lengths[volume++] = std::move(length);
    return lengths;
}

std::string ListCodec::EncodeFileList(const std::map<std::string, std::string>& files)
{
    std::string text;
    for (const auto& [path, value] : files) {
        text += path;
        text += '|';
        text += value;
        text += ';';
    }
    return text;
}

std::map<std::string, std::string> ListCodec::DecodeFileList(const std::string& text)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : SplitList(text)) {
        auto parts = SplitAll(entry, '|');
        if (parts.size() == 2)
            files[parts[0]] = parts[1];
    }
    return files;
}

std::string ListCodec::EncodeKeyConfig(const std::vector<EmulatorInfo::KeyConfigEntry>& entries)
{
    std::string text;
    for (const auto& entry : entries)
        text += entry.Source + ',' + entry.Target + ',' + entry.DefaultSource + ';';
    return text;
}

std::vector<EmulatorInfo::KeyConfigEntry> ListCodec::DecodeKeyConfig(const std::string& text)
{
    std::vector<EmulatorInfo::KeyConfigEntry> entries;
    for (const auto& entryText : SplitList(text)) {
        auto parts = SplitAll(entryText, ',');
        if (parts.size() < 2)
            continue;
        entries.push_back({parts[0], parts[1], parts.size() > 2 ? parts[2] : std::string()});
    }
    return entries;
}

std::string ListCodec::EncodeSetConfig(const std::vector<EmulatorInfo::SetConfigEntry>& entries)
{
    std::string text;
    for (const auto& entry : entries)
        text += entry.Source + ',' + entry.Target + ';';
    return text;
}

std::vector<EmulatorInfo::SetConfigEntry> ListCodec::DecodeSetConfig(const std::string& text)
{
    std::vector<EmulatorInfo::SetConfigEntry> entries;
    for (const auto& entryText : SplitList(text)) {
        auto parts = SplitAll(entryText, ',');
        if (parts.size() < 2)
            continue;
        entries.push_back({parts[0], parts[1]});
    }
    return entries;
}

} // namespace ravelo
