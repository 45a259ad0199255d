#include "server/PortalApi.h"

#include "server/CatalogueJson.h"
#include "server/SystemTable.h"

#include "platform/DebugOutput.h"
#include "platform/TextConvert.h"

#include <exception>
#include <map>

namespace ravelo::server {

namespace {

ApiAnswer Failure(const std::exception& error, const char* what)
{
    DebugOutput(std::string(what) + " failed: " + error.what() + "\n");
    return {500, WriteJson(ErrorJson("服务器内部错误"))};
}

/// Text a client sent us, made fit to keep: valid UTF-8 (other bytes become '?') and bounded.
std::string Sanitised(const std::string& text)
{
    std::string clean = text;
    if (!IsValidUtf8(clean)) {
        for (char& c : clean) {
            if (static_cast<unsigned char>(c) >= 0x80)
                c = '?';
        }
    }
    for (char& c : clean) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    if (clean.size() > PortalApi::MaxFieldBytes) {
        std::size_t cut = PortalApi::MaxFieldBytes;
        while (cut > 0 && (static_cast<unsigned char>(clean[cut]) & 0xC0) == 0x80)
            --cut; // never split a character
        clean.resize(cut);
    }
    return clean;
}

} // namespace

ApiAnswer PortalApi::EmulatorList(const AnswerAddresses& addresses)
{
    try {
        std::map<std::string, Json::Value> arrays;
        for (const auto& key : EmulatorListKeys())
            arrays[std::string(key)] = Json::Value(Json::arrayValue);
        for (const auto& emulator : m_catalogue.Emulators()) {
            auto found = arrays.find(emulator.systemKey);
            if (found != arrays.end())
                found->second.append(EmulatorJson(emulator, addresses));
        }
        Json::Value json(Json::objectValue);
        for (auto& [key, list] : arrays)
            json[key] = list;
        return {200, WriteJson(json)};
    } catch (const std::exception& error) {
        return Failure(error, "emulator list");
    }
}

ApiAnswer PortalApi::UpdateInfo(const AnswerAddresses& addresses)
{
    try {
        Json::Value json(Json::objectValue);
        json["version"] = m_catalogue.Setting("update.version", "0.0.18");
        json["downloadurl"] = addresses.Download(m_catalogue.Setting("update.package", "Update.zip"));
        json["description"] = m_catalogue.Setting("update.description");
        // The package's checksum: a client that gets other bytes refuses them.
        const std::string sha256 = m_catalogue.Setting("update.sha256");
        if (!sha256.empty())
            json["sha256"] = sha256;
        return {200, WriteJson(json)};
    } catch (const std::exception& error) {
        return Failure(error, "update answer");
    }
}

ApiAnswer PortalApi::CountPageView(PageView view)
{
    if (view.siteId.empty())
        return {400, WriteJson(ErrorJson("缺少站点编号"))};
    view.time.clear();
    for (std::string* field :
         {&view.siteId, &view.referer, &view.userAgent, &view.r, &view.rnd, &view.remoteAddr})
        *field = Sanitised(*field);
    try {
        m_accounts.AddPageView(view);
        Json::Value json(Json::objectValue);
        json["status"] = 1;
        json["msg"] = "";
        return {200, WriteJson(json)};
    } catch (const std::exception& error) {
        return Failure(error, "page view");
    }
}

} // namespace ravelo::server
