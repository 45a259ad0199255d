// Build step: draws one 64x64 PNG icon for every set named in the arcade name list and packs them
// into the icon archive. Usage: make_arcade_icons NAME_LIST OUTPUT_ZIP
#include <minizip/zip.h>
#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 64;

void PutBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    png += body;
    PutBigEndian(png, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                       static_cast<uInt>(body.size()))));
}

bool EncodePng(const std::vector<std::uint8_t>& rgba, std::string& png)
{
    std::string raw;
    for (int y = 0; y < kSize; ++y) {
        raw += '\0'; // filter: none
        raw.append(reinterpret_cast<const char*>(&rgba[std::size_t(y) * kSize * 4]), kSize * 4);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 9) != Z_OK)
        return false;
    packed.resize(packedSize);
    png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBigEndian(header, kSize);
    PutBigEndian(header, kSize);
    header += std::string("\x08\x06\x00\x00\x00", 5); // 8-bit RGBA, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", std::string());
    return true;
}

// A small arcade cabinet: a screen and two buttons on a panel, tinted by the set name.
std::vector<std::uint8_t> DrawIcon(const std::string& name)
{
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : name)
        hash = (hash ^ c) * 16777619u;
    const int hue[3] = {int(80 + hash % 150), int(60 + (hash >> 8) % 150), int(90 + (hash >> 16) % 140)};
    std::vector<std::uint8_t> rgba(std::size_t(kSize) * kSize * 4, 0);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            std::uint8_t* pixel = &rgba[(std::size_t(y) * kSize + x) * 4];
            const bool cabinet = x >= 10 && x < 54 && y >= 4 && y < 60;
            const bool screen = x >= 16 && x < 48 && y >= 10 && y < 34;
            const double left = std::hypot(x - 24.0, y - 46.0), right = std::hypot(x - 40.0, y - 46.0);
            int colour[3] = {0, 0, 0};
            if (!cabinet)
                continue;
            for (int i = 0; i < 3; ++i)
                colour[i] = hue[i] * (70 + y) / 130;
            if (screen)
                colour[0] = 24, colour[1] = 28 + (y - 10) * 2, colour[2] = 40 + (y - 10) * 3;
            if (left < 4.5)
                colour[0] = 236, colour[1] = 72, colour[2] = 64;
            if (right < 4.5)
                colour[0] = 250, colour[1] = 210, colour[2] = 70;
            for (int i = 0; i < 3; ++i)
                pixel[i] = static_cast<std::uint8_t>(colour[i]);
            pixel[3] = 255;
        }
    return rgba;
}

std::vector<std::string> ListedSets(const std::string& listPath)
{
    std::ifstream list(listPath);
    std::vector<std::string> names;
    bool inGames = false;
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inGames = line == "[games]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inGames && equals != std::string::npos && equals > 0 && line[0] != ';')
            names.push_back(line.substr(0, line.find_last_not_of(" \t", equals - 1) + 1));
    }
    return names;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_arcade_icons NAME_LIST OUTPUT_ZIP\n");
        return 2;
    }
    const std::vector<std::string> names = ListedSets(argv[1]);
    if (names.empty()) {
        std::fprintf(stderr, "make_arcade_icons: no sets in %s\n", argv[1]);
        return 1;
    }
    zipFile zip = zipOpen64(argv[2], APPEND_STATUS_CREATE);
    if (!zip) {
        std::fprintf(stderr, "make_arcade_icons: cannot write %s\n", argv[2]);
        return 1;
    }
    bool ok = true;
    for (const std::string& name : names) {
        std::string png;
        const std::string entry = name + ".png";
        zip_fileinfo info{};
        info.tmz_date.tm_year = 2024; // fixed, so the build is reproducible
        info.tmz_date.tm_mday = 1;
        ok = ok && EncodePng(DrawIcon(name), png) &&
             zipOpenNewFileInZip(zip, entry.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                 Z_BEST_COMPRESSION) == ZIP_OK &&
             zipWriteInFileInZip(zip, png.data(), static_cast<unsigned>(png.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    if (!ok)
        std::fprintf(stderr, "make_arcade_icons: writing %s failed\n", argv[2]);
    return ok ? 0 : 1;
}
