#include "server/CatalogueJson.h"

#include <json/reader.h>
#include <json/writer.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>

namespace ravelo::server {

std::string MegabyteText(std::int64_t bytes)
{
    // Rounded up to the hundredth, so that a small game never reads as "0.00" megabytes.
    const double hundredths = std::ceil(static_cast<double>(bytes) * 100.0 / 1048576.0);
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f", hundredths / 100.0);
    return text;
}

Json::Value GameJson(const GameRecord& game, const AnswerAddresses& addresses)
{
    Json::Value json(Json::objectValue);
    json["gameid"] = std::to_string(game.id);
    json["orgname"] = game.orgName;
    json["icon"] = addresses.Picture(game.icon);
    json["tv_icon"] = "";
    json["storeurl"] = "";
    json["fee"] = "0";
    json["size"] = MegabyteText(game.archiveSize);
    json["package_name"] = "";
    json["updatedtime"] = game.updatedTime;
    json["version"] = game.version;
    json["categoryid"] = std::to_string(game.category);
    json["emulatorid"] = std::to_string(game.system);
    json["start_sell_time"] = "";
    json["playurl"] = "";
    json["uid"] = "";
    json["is_pk"] = "0";
    json["is_handle"] = "1";
    json["is_control"] = "0";
    json["min"] = std::to_string(game.minPlayers);
    json["max"] = std::to_string(game.maxPlayers);
    json["video_thumbnail"] = "";
    json["video_url"] = "";
    json["gamename"] = game.name;
    json["language"] = game.languageName;
    json["downloads"] = std::to_string(game.downloads);
    json["emulatorshortname"] = game.systemCode;
    json["categoryshortname"] = game.categoryName;
    json["good"] = std::to_string(game.good);
    json["bad"] = std::to_string(game.bad);
    json["rating"] = game.rating;
    json["username"] = "";
    json["needsize"] = Json::Value(static_cast<Json::Int64>(game.needSize));
    json["isrootdir"] = "1";
    json["pcver"] = "";
    json["directx"] = "";
    json["dotnet"] = "";
    json["vcver"] = "";
    return json;
}

Json::Value GameInfoJson(const GameDetail& detail, const AnswerAddresses& addresses)
{
    Json::Value json = GameJson(detail.game, addresses);
    json["description"] = detail.description;
    Json::Value screens(Json::arrayValue);
    for (const auto& screen : detail.screens)
        screens.append(addresses.Picture(screen));
    json["screens"] = screens;
    json["commentcount"] = "0";
    return json;
}

namespace {

Json::Value GroupsJson(const std::vector<GroupCount>& groups)
{
    Json::Value list(Json::arrayValue);
    for (const auto& group : groups) {
        Json::Value json(Json::objectValue);
        json["count"] = std::to_string(group.count);
        json["id"] = std::to_string(group.id);
        json["name"] = group.name;
        list.append(json);
    }
    return list;
}

Json::Value StringList(const std::vector<std::string>& items)
{
    Json::Value list(Json::arrayValue);
    for (const auto& item : items)
        list.append(item);
    return list;
}

} // namespace

Json::Value GameListJson(const GamePage& page, const AnswerAddresses& addresses, double runTime)
{
    Json::Value json(Json::objectValue);
    json["status"] = 1;
    Json::Value games(Json::arrayValue);
    for (const auto& game : page.games)
        games.append(GameJson(game, addresses));
    json["gamelist"] = games;
    json["count"] = std::to_string(page.total);
    json["categorygroup"] = GroupsJson(page.categories);
    json["emulatorgroup"] = GroupsJson(page.systems);
    json["languagegroup"] = GroupsJson(page.languages);
    json["msg"] = "";
    json["_run_time"] = runTime;
    return json;
}

Json::Value TopicJson(const TopicRecord& topic, const AnswerAddresses& addresses)
{
    Json::Value json(Json::objectValue);
    json["id"] = std::to_string(topic.id);
    json["name"] = topic.name;
    json["desc"] = topic.desc;
    json["count"] = std::to_string(topic.count);
    json["icon"] = addresses.Picture(topic.icon);
    json["banner"] = addresses.Picture(topic.banner);
    return json;
}

Json::Value AdJson(const AdRecord& ad, const AnswerAddresses& addresses)
{
    Json::Value json(Json::objectValue);
    json["title"] = ad.title;
    json["target"] = ad.target;
    json["action"] = ad.action;
    json["needlogin"] = "0";
    json["order_num"] = std::to_string(ad.order);
    json["icon"] = addresses.Picture(ad.icon);
    json["version"] = "";
    json["device"] = "pc";
    json["id"] = std::to_string(ad.id);
    json["desc"] = ad.desc;
    json["attach_id"] = "";
    json["group_id"] = "";
    json["ad_id"] = std::to_string(ad.id);
    return json;
}

Json::Value DownloadJson(const DownloadRecord& record, const AnswerAddresses& addresses, double runTime)
{
    Json::Value json(Json::objectValue);
    // One mirror per list: the same file behind one redirect, as a mirror host would hand it on.
    Json::Value fileList(Json::arrayValue);
    fileList.append(addresses.Redirected(record.archive, 1));
    json["filelist"] = fileList;
    Json::Value fileList2(Json::arrayValue);
    if (!record.unpacked.empty())
        fileList2.append(addresses.Redirected(record.unpacked, 1));
    json["filelist2"] = fileList2;
    Json::Value cloud(Json::objectValue);
    cloud["baidu"] = StringList(record.cloudLinks);
    json["cloudurl"] = cloud;
    json["status"] = 1;
    json["msg"] = "";
    json["fileurl"] = addresses.Download(record.archive);
    json["fileurl2"] = record.unpacked.empty() ? std::string() : addresses.Download(record.unpacked);
    json["filename"] = record.fileName;
    json["needsize"] = Json::Value(static_cast<Json::Int64>(record.needSize));
    json["filemd5"] = record.archiveMd5;
    Json::Value verify(Json::arrayValue);
    for (const auto& file : record.files) {
        Json::Value entry(Json::objectValue);
        entry["path"] = file.path;
        entry["size"] = std::to_string(file.size);
        entry["verify"] = file.md5;
        verify.append(entry);
    }
    json["verify"] = verify;
    json["_run_time"] = runTime;
    json["volume"] = record.volumes.empty() ? "0" : "1";
    std::string volumeUrl;
    for (const auto& volume : record.volumes) {
        if (!volumeUrl.empty())
            volumeUrl += ',';
        volumeUrl += addresses.Download(volume.path) + "|" + std::to_string(volume.number);
    }
    json["volumeurl"] = volumeUrl;
    return json;
}

Json::Value EmulatorJson(const EmulatorRecord& emulator, const AnswerAddresses& addresses)
{
    Json::Value json(Json::objectValue);
    json["emulatorid"] = emulator.emulatorId;
    json["name"] = emulator.name;
    json["version"] = emulator.version;
    json["downloadurl"] = addresses.Download(emulator.package);
    json["update"] = emulator.updateDate;
    json["description"] = emulator.description;
    json["emulatortype"] = std::to_string(emulator.system);
    json["system"] = emulator.systemCode;
    json["execute"] = ParseStoredJson(emulator.executeJson, Json::Value(Json::arrayValue));
    json["executeparam"] = emulator.executeParam;
    json["configtype"] = emulator.configType;
    json["keyconfig"] = ParseStoredJson(emulator.keyConfigJson, Json::Value(Json::arrayValue));
    json["setconfig"] = ParseStoredJson(emulator.setConfigJson, Json::Value(Json::arrayValue));
    return json;
}

Json::Value ErrorJson(const std::string& message)
{
    Json::Value json(Json::objectValue);
    json["status"] = -1;
    json["msg"] = message;
    return json;
}

std::string WriteJson(const Json::Value& value)
{
    // A writer keeps state while it writes, so each request thread has its own.
    thread_local const std::unique_ptr<Json::StreamWriter> writer = [] {
        Json::StreamWriterBuilder builder;
        builder["indentation"] = "";
        builder["commentStyle"] = "None";
        builder["emitUTF8"] = true;
        builder["precision"] = 6;
        return std::unique_ptr<Json::StreamWriter>(builder.newStreamWriter());
    }();
    std::ostringstream out;
    writer->write(value, &out);
    return out.str();
}

Json::Value ParseStoredJson(const std::string& text, const Json::Value& fallback)
{
    Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string errors;
    if (!reader->parse(text.data(), text.data() + text.size(), &value, &errors))
        return fallback;
    return value;
}

} // namespace ravelo::server
