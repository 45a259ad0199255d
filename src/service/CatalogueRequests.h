#pragma once

#include <string>

namespace ravelo {

// Bodies of the catalogue API requests (URL query text, POSTed to the API address) and the encodings
// of their parameters. Pure functions, callable from any thread.

/// Client parameters every catalogue request carries, sent unencoded.
constexpr const char* kClientParams = " | |zh| | |pc1.0";

/// Category and system filters: three digits with leading zeros ("012"; 1234 stays "1234"); 0 means no
/// filter and is sent as a single space.
std::string FormatFilterId(int value);
/// A special topic id: always three digits, 0 included ("000").
std::string FormatTopicId(int value);
/// A language filter in decimal; 0 is a single space.
std::string FormatLanguage(int value);
/// 0 "recommend", 1 "new", 2 "hot", anything else "".
std::string OrderByCode(int order);

/// Letters, digits and "-_.~" stay, a space becomes "+", every other byte "%XX" (upper-case hex).
std::string PercentEncode(const std::string& bytes);
/// True when text could have come out of PercentEncode: only the characters it leaves, "+" and
/// well-formed "%XX" escapes.
bool IsPercentEncoded(const std::string& text);

std::string GameListBody(int page, int pageSize, int category, int emulator, int order, int language);
/// keyword is narrow text in the ANSI code page; raises TextConversionError when it is not.
std::string SearchBody(int page, int pageSize, int category, int emulator, const std::string& keyword,
                       int order, int language);
std::string SpecialTopicBody(int page, int pageSize, int topic);
std::string HomePageBody();
/// gameid comes from the server and is percent-encoded.
std::string GameDetailBody(const std::string& gameid);
std::string RegisterBody(long password);
/// uid and gameid are percent-encoded; ticket is stored already encoded and goes as it is, unless it
/// holds characters an encoded text cannot (then it is encoded).
std::string DownFileBody(const std::string& uid, const std::string& ticket, const std::string& gameid);

} // namespace ravelo
