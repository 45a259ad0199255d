#include "server/ClientApi.h"

#include "server/CatalogueJson.h"
#include "server/SystemTable.h"

#include "platform/DebugOutput.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <optional>
#include <sstream>

namespace ravelo::server {

namespace {

using Clock = std::chrono::steady_clock;

// Keyword limits: the client's whole body is at most 1023 bytes, so longer text is not a client.
constexpr std::size_t MaxKeywordBytes = 256;
constexpr std::size_t MaxKeywordWords = 8;
constexpr int MaxPage = 1000000;

ApiAnswer Answer(int status, const Json::Value& json)
{
    return {status, WriteJson(json)};
}

ApiAnswer Failure(int status, const std::string& message)
{
    return Answer(status, ErrorJson(message));
}

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

/// A decimal field: blank (empty or spaces, the client's "no filter") gives `absent`; up to nine
/// digits give their value; anything else is malformed.
std::optional<int> ParseNumber(const std::string& text, int absent)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return absent;
    const auto last = text.find_last_not_of(' ');
    const std::string digits = text.substr(first, last - first + 1);
    if (digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoi(digits);
}

std::vector<std::string> SplitWords(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

/// Text without the spaces, tabs and line breaks at either end.
std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

/// Characters in UTF-8 text; none when it is not valid UTF-8 or holds control characters other
/// than line breaks and tabs.
std::optional<std::size_t> Utf8Length(const std::string& text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        std::uint32_t code = lead;
        if (lead < 0x80) {
            if ((lead < 0x20 && lead != '\n' && lead != '\r' && lead != '\t') || lead == 0x7F)
                return std::nullopt;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + static_cast<std::size_t>(extra) >= text.size() && extra > 0)
            return std::nullopt; // cut short
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (code < kLeast[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return count;
}

GameOrder ParseOrder(const std::string& text)
{
    if (text == "new")
        return GameOrder::New;
    if (text == "hot")
        return GameOrder::Hot;
    return GameOrder::Recommend; // "recommend", and the empty value of an unknown ordering code
}

/// Reads the paging fields; false when either is malformed.
bool ReadPaging(const FormBody& form, GameFilter& filter)
{
    const auto page = ParseNumber(form.Get("page"), 1);
    const auto size = ParseNumber(form.Get("pagesize"), 40);
    if (!page || !size)
        return false;
    filter.page = std::clamp(*page, 1, MaxPage);
    filter.pageSize = *size == 0 ? 40 : std::min(*size, ClientApi::MaxPageSize);
    return true;
}

} // namespace

ApiAnswer ClientApi::Handle(const std::string& body, const AnswerAddresses& addresses)
{
    const auto form = FormBody::Parse(body);
    if (!form)
        return Failure(400, "请求格式错误");
    const std::string model = form->Get("model");
    const std::string action = form->Get("action");
    try {
        if (model == "appstore") {
            if (action == "gamelist")
                return GameList(*form, addresses);
            if (action == "specialinfo")
                return SpecialInfo(*form, addresses);
            if (action == "pc_index")
                return HomePage(addresses);
            if (action == "gameinfo")
                return GameInfo(*form, addresses);
        } else if (model == "user") {
            if (action == "register")
                return Register(*form);
            if (action == "downfile")
                return DownFile(*form, addresses);
            if (action == "suggestion")
                return AddSuggestion(*form);
        } else {
            return Failure(400, "未知的请求类型");
        }
        return Failure(400, "未知的操作");
    } catch (const std::exception& error) {
        DebugOutput(std::string("clientapi ") + model + "/" + action + " failed: " + error.what() + "\n");
        return Failure(500, "服务器内部错误");
    }
}

ApiAnswer ClientApi::GameList(const FormBody& form, const AnswerAddresses& addresses)
{
    const auto start = Clock::now();
    GameFilter filter;
    const auto category = ParseNumber(form.Get("categoryid"), 0);
    const auto system = ParseNumber(form.Get("emulatorid"), 0);
    const auto language = ParseNumber(form.Get("language"), 0);
    if (!category || !system || !language || !ReadPaging(form, filter))
        return Failure(400, "请求参数错误");
    filter.category = *category;
    // A system that does not exist matches nothing rather than everything.
    filter.system = *system == 0 ? 0 : ResolveSystemFilter(*system);
    filter.language = *language;
    filter.order = ParseOrder(form.Get("orderby"));
    const std::string keyword = form.Get("keyword");
    if (keyword.size() > MaxKeywordBytes)
        return Failure(400, "搜索关键字过长");
    filter.keywords = SplitWords(keyword);
    if (filter.keywords.size() > MaxKeywordWords)
        filter.keywords.resize(MaxKeywordWords);

    const GamePage page = m_catalogue.FindGames(filter, true);
    return Answer(200, GameListJson(page, addresses, Since(start)));
}

ApiAnswer ClientApi::SpecialInfo(const FormBody& form, const AnswerAddresses& addresses)
{
    const auto start = Clock::now();
    GameFilter filter;
    const auto topic = ParseNumber(form.Get("id"), 0);
    if (!topic || !ReadPaging(form, filter))
        return Failure(400, "请求参数错误");
    if (*topic == 0 || !m_catalogue.FindTopic(*topic))
        return Failure(404, "专题不存在");
    filter.topic = *topic;
    filter.order = ParseOrder(form.Get("orderby"));
    const GamePage page = m_catalogue.FindGames(filter, true);
    return Answer(200, GameListJson(page, addresses, Since(start)));
}

ApiAnswer ClientApi::HomePage(const AnswerAddresses& addresses)
{
    Json::Value json(Json::objectValue);
    Json::Value topics(Json::arrayValue);
    for (const auto& topic : m_catalogue.Topics())
        topics.append(TopicJson(topic, addresses));
    json["special_list"] = topics;

    struct HomeList
    {
        const char* key;
        int category;
        GameOrder order;
        int size;
    };
    // Categories: 1 动作, 2 格斗, 3 射击, 6 赛车 (the client's game-type filter numbers).
    static const HomeList lists[] = {
        {"game_list_recommend", 0, GameOrder::Recommend, 12}, {"game_list_hot", 0, GameOrder::WeekHot, 10},
        {"game_list_fight", 2, GameOrder::Hot, 10},           {"game_list_shoot", 3, GameOrder::Hot, 10},
        {"game_list_racing", 6, GameOrder::Hot, 10},          {"game_list_action", 1, GameOrder::Hot, 10},
        {"game_list_totalhot", 0, GameOrder::Hot, 10},        {"game_list_new", 0, GameOrder::New, 12},
    };
    for (const auto& list : lists) {
        GameFilter filter;
        filter.category = list.category;
        filter.order = list.order;
        filter.pageSize = list.size;
        Json::Value games(Json::arrayValue);
        for (const auto& game : m_catalogue.FindGames(filter, false).games)
            games.append(GameJson(game, addresses));
        json[list.key] = games;
    }

    // The featured game: the one the catalogue names, else the first recommendation.
    const auto top = ParseNumber(m_catalogue.Setting("home.game_top"), 0).value_or(0);
    auto detail = top != 0 ? m_catalogue.FindGameDetail(top) : std::nullopt;
    if (detail) {
        json["game_top"] = GameJson(detail->game, addresses);
    } else if (!json["game_list_recommend"].empty()) {
        json["game_top"] = json["game_list_recommend"][0];
    }

    for (const char* slot : {"ads_index_left", "ads_index_gamedetail"}) {
        Json::Value ads(Json::arrayValue);
        for (const auto& ad : m_catalogue.Ads(slot)) {
            AdRecord shown = ad;
            // A link to the portal itself names this server, whatever address the client used.
            if (shown.action == "url" && !shown.target.empty() && shown.target.front() == '/')
                shown.target = addresses.Base() + shown.target;
            ads.append(AdJson(shown, addresses));
        }
        json[slot] = ads;
    }
    return Answer(200, json);
}

ApiAnswer ClientApi::GameInfo(const FormBody& form, const AnswerAddresses& addresses)
{
    const auto start = Clock::now();
    const auto id = ParseNumber(form.Get("gameid"), 0);
    if (!id || *id == 0)
        return Failure(400, "请求参数错误");
    const auto detail = m_catalogue.FindGameDetail(*id);
    if (!detail)
        return Failure(404, "游戏不存在");
    Json::Value json(Json::objectValue);
    json["status"] = 1;
    json["gameinfo"] = GameInfoJson(*detail, addresses);
    json["count"] = 1;
    json["msg"] = "";
    json["_run_time"] = Since(start);
    return Answer(200, json);
}

ApiAnswer ClientApi::Register(const FormBody& form)
{
    const auto start = Clock::now();
    // The password is only a token of a real client; it is not kept anywhere.
    const std::string password = form.Get("password");
    if (password.empty() || password.size() > 64)
        return Failure(400, "请求参数错误");
    const AccountStore::User user = m_accounts.Register();
    Json::Value json(Json::objectValue);
    json["status"] = 1;
    json["uid"] = user.uid;
    json["username"] = "player" + user.uid;
    json["prohibited"] = false;
    json["msg"] = "";
    json["ticket"] = user.ticket;
    json["_run_time"] = Since(start);
    return Answer(200, json);
}

ApiAnswer ClientApi::AddSuggestion(const FormBody& form)
{
    const auto start = Clock::now();
    const std::string content = Trimmed(form.Get("content"));
    const std::string contact = Trimmed(form.Get("contact"));
    const std::string uid = form.Get("uid");
    const auto contentChars = Utf8Length(content);
    const auto contactChars = Utf8Length(contact);
    if (!contentChars || !contactChars || uid.size() > 32)
        return Failure(400, "请求参数错误");
    if (*contentChars == 0)
        return Failure(400, "建议内容不能为空");
    if (*contentChars > MaxSuggestionChars)
        return Failure(400, "建议内容过长");
    if (*contactChars > MaxContactChars)
        return Failure(400, "联系方式过长");
    m_accounts.AddSuggestion({"", uid, content, contact, ""});
    Json::Value json(Json::objectValue);
    json["status"] = 1;
    json["msg"] = "";
    json["_run_time"] = Since(start);
    return Answer(200, json);
}

ApiAnswer ClientApi::DownFile(const FormBody& form, const AnswerAddresses& addresses)
{
    const auto start = Clock::now();
    const auto id = ParseNumber(form.Get("gameid"), 0);
    if (!id || *id == 0)
        return Failure(400, "请求参数错误");
    // The client stores the ticket percent-encoded and sends it as it is stored, so the body's own
    // decoding gives back the ticket exactly as it was issued.
    if (!m_accounts.CheckTicket(form.Get("uid"), form.Get("ticket")))
        return Failure(403, "用户验证失败");
    const auto record = m_catalogue.FindDownload(*id);
    if (!record)
        return Failure(404, "游戏不存在");
    return Answer(200, DownloadJson(*record, addresses, Since(start)));
}

} // namespace ravelo::server
