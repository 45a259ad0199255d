#include "service/SuggestionRequest.h"

#include "platform/Translate.h"
#include "service/CatalogueRequests.h"
#include "service/HttpTransport.h"
#include "service/ServiceEndpoints.h"
#include "settings/UserIdentity.h"

#include <json/json.h>

#include <memory>

namespace ravelo {

namespace {

constexpr long kSuggestionTimeoutSeconds = 10;

/// The "msg" of a JSON answer, or "".
std::string AnswerMessage(const std::string& answer)
{
    Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    if (!reader->parse(answer.data(), answer.data() + answer.size(), &root, &errors) || !root.isObject())
        return {};
    const Json::Value& msg = root["msg"];
    return msg.isString() ? msg.asString() : std::string();
}

} // namespace

std::string SuggestionBody(const std::string& uid, const std::string& content, const std::string& contact)
{
    return std::string("model=user&action=suggestion&clientparams=") + kClientParams +
           "&uid=" + PercentEncode(uid) + "&content=" + PercentEncode(content) +
           "&contact=" + PercentEncode(contact);
}

bool SendSuggestion(const std::string& content, const std::string& contact, std::string& failure)
{
    const ServiceEndpoints endpoints = ServiceEndpoints::Load();
    const std::string body = SuggestionBody(UserIdentity().Uid, content, contact);
    std::string answer;
    TransferError error;
    if (HttpPost(answer, endpoints.ApiUrl, "", body, kSuggestionTimeoutSeconds, &error)) {
        Json::CharReaderBuilder builder;
        const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        Json::Value root;
        std::string errors;
        if (reader->parse(answer.data(), answer.data() + answer.size(), &root, &errors) && root.isObject() &&
            root["status"].isInt() && root["status"].asInt() > 0)
            return true;
        failure = AnswerMessage(answer);
        if (failure.empty())
            failure = Tr("服务器应答内容有误");
        return false;
    }
    failure = AnswerMessage(answer); // a refusal says why
    if (failure.empty())
        failure = error.Describe();
    if (failure.empty())
        failure = Tr("请求失败");
    return false;
}

} // namespace ravelo
