#pragma once

#include "server/AnswerAddresses.h"
#include "server/CatalogueRecords.h"

#include <json/value.h>

#include <string>
#include <vector>

namespace ravelo::server {

// The answers' JSON shapes. Every key the client's records declare is written, with the JSON type
// its type code reads: text fields as strings, 32- and 64-bit integer fields as integers, floats
// as numbers, lists as arrays and embedded records as objects.

/// A catalogue game (the client's CGame).
Json::Value GameJson(const GameRecord& game, const AnswerAddresses& addresses);
/// A game detail (CGameInfo: CGame plus description, screens, commentcount).
Json::Value GameInfoJson(const GameDetail& detail, const AnswerAddresses& addresses);
/// A list answer (CGameList) with its envelope.
Json::Value GameListJson(const GamePage& page, const AnswerAddresses& addresses, double runTime);
/// A special topic (CSpecialTopic).
Json::Value TopicJson(const TopicRecord& topic, const AnswerAddresses& addresses);
/// An advertisement (CAd).
Json::Value AdJson(const AdRecord& ad, const AnswerAddresses& addresses);
/// The download-address answer (CDownLoadUrl).
Json::Value DownloadJson(const DownloadRecord& record, const AnswerAddresses& addresses, double runTime);
/// One entry of the emulator list (CEmulatorBase).
Json::Value EmulatorJson(const EmulatorRecord& emulator, const AnswerAddresses& addresses);

/// {"status":-1,"msg":message}.
Json::Value ErrorJson(const std::string& message);

/// Compact UTF-8 text of a value (no escapes for non-ASCII characters).
std::string WriteJson(const Json::Value& value);
/// Parses stored JSON text; the fallback when the text is not JSON.
Json::Value ParseStoredJson(const std::string& text, const Json::Value& fallback);

/// A size in megabytes as the catalogue shows it ("%.2f", rounded up).
std::string MegabyteText(std::int64_t bytes);

} // namespace ravelo::server
