#include "download/ZipEntryName.h"

#include "platform/TextConvert.h"

#include <iconv.h>

namespace ravelo {
namespace {

bool FromGb18030(const std::string& raw, std::string& utf8)
{
    iconv_t cd = ::iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string in = raw;
    std::string out(raw.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const bool ok = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    ::iconv_close(cd);
    if (!ok)
        return false;
    out.resize(out.size() - outLeft);
    utf8 = std::move(out);
    return true;
}

} // namespace

bool ParseZipEntryName(const std::string& raw, bool utf8Flag, ZipEntryName& out)
{
    std::string name;
    if (utf8Flag || IsValidUtf8(raw))
        name = raw;
    else if (!FromGb18030(raw, name))
        return false;
    if (!IsValidUtf8(name) || name.find('\0') != std::string::npos)
        return false;
    if (name.empty() || name.front() == '/' || name.front() == '\\' || (name.size() > 1 && name[1] == ':'))
        return false;

    out = ZipEntryName{};
    std::string part;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        const bool end = i == name.size();
        if (!end && name[i] != '/' && name[i] != '\\') {
            part.push_back(name[i]);
            continue;
        }
        if (part == "..")
            return false;
        if (end)
            out.fileName = part == "." ? std::string() : part;
        else if (!part.empty() && part != ".")
            out.folders.push_back(part);
        part.clear();
    }
    return true;
}

} // namespace ravelo
