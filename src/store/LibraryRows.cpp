#include "store/LibraryRows.h"

#include "platform/Decimal.h"
#include "platform/TextConvert.h"
#include "store/ListCodec.h"

namespace ravelo {
namespace {

// Between column definitions: a comma, a run of tabs and a blank (whitespace SQLite ignores).
constexpr const char* DefinitionSeparator = ",\t\t\t ";

// A column of the current row by index; columns that a short table lacks read as empty.
std::string Column(const CppSQLite3Query& row, int index)
{
    return index < row.numFields() ? row.fieldString(index) : std::string();
}

std::string DbVerOf(const CppSQLite3Query& row, const LibraryRows::Table& table)
{
    return Column(row, static_cast<int>(table.Columns.size()) + 1);
}

// Decodes code point by code point, putting U+FFFD for each byte that starts no valid sequence.
std::u16string DecodeWithReplacement(const std::string& bytes, std::u16string (*convert)(const std::string&))
{
    std::u16string text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80             ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                   : (lead & 0xF8) == 0xF0 ? 4
                                                           : 0;
        if (length && i + length <= bytes.size()) {
            const std::string piece = bytes.substr(i, length);
            if (IsValidUtf8(piece)) {
                text += convert(piece);
                i += length;
                continue;
            }
        }
        text += u'\uFFFD';
        ++i;
    }
    return text;
}

} // namespace

const LibraryRows::Table& LibraryRows::GameinfoTable()
{
    static const Table table{"Gameinfo",
                             {"GameId", "Icon", "Size", "GameName", "EmulatorShortName", "CategoryShortName",
                              "IsPlay", "IsPK", "FilePath", "FileName", "EmulatorId", "CategoryId",
                              "PlayUrl"}};
    return table;
}

const LibraryRows::Table& LibraryRows::LocalGameTable()
{
    static const Table table{"LocalGame",
                             {"GameName", "Icon", "Size", "EmulatorShortName", "IsPlay", "FilePath",
                              "FileName", "EmulatorId", "PlayUrl"}};
    return table;
}

const LibraryRows::Table& LibraryRows::DownloadInfoTable()
{
    static const Table table{"DownloadInfo",
                             {"GameId",
                              "Icon",
                              "GameName",
                              "EmulatorShortName",
                              "CategoryShortName",
                              "EmulatorId",
                              "CategoryId",
                              "PlayUrl",
                              "FilePath",
                              "FileName",
                              "NeedUnZip",
                              "Volume",
                              "UrlList",
                              "PanUrlList",
                              "PanRealUrlList",
                              "VolumeUrlList",
                              "VolumePanUrlList",
                              "VolumePanRealUrlList",
                              "FileLenth",
                              "VolumeFileLenth",
                              "FileList",
                              "TotalSize",
                              "CurrentSize",
                              "Reserved1",
                              "Reserved2",
                              "Reserved3",
                              "Reserved4"}};
    return table;
}

const LibraryRows::Table& LibraryRows::EmulatorInfoTable()
{
    static const Table table{"EmulatorInfo",
                             {"EmulatorId",  "Name",         "Version",   "Downloadurl", "UpdateDate",
                              "Description", "Emulatortype", "System",    "Executet",    "Executeparam",
                              "Configtype",  "KeyConfig",    "SetConfig", "IsDefault",   "Reserved1",
                              "Reserved2",   "Reserved3",    "Reserved4", "Reserved5",   "Reserved6",
                              "Reserved7",   "Reserved8"}};
    return table;
}

std::vector<const LibraryRows::Table*> LibraryRows::AllTables()
{
    return {&GameinfoTable(), &DownloadInfoTable(), &LocalGameTable(), &EmulatorInfoTable()};
}

std::string LibraryRows::CreateStatement(const Table& table)
{
    std::string sql = std::string("CREATE TABLE ") + table.Name + " (Id integer PRIMARY KEY AUTOINCREMENT";
    for (const char* column : table.Columns) {
        sql += DefinitionSeparator;
        sql += column;
        sql += " TEXT";
    }
    sql += ")";
    return sql;
}

std::string LibraryRows::InsertStatement(const Table& table)
{
    std::string sql = std::string("insert into ") + table.Name + " values (NULL,";
    const std::size_t values = table.Columns.size() + 1; // and DbVer
    for (std::size_t i = 1; i <= values; ++i) {
        sql += '?' + std::to_string(i);
        sql += i < values ? "," : ");";
    }
    return sql;
}

std::string LibraryRows::UpdateStatement(const Table& table, std::size_t firstColumn, const char* key)
{
    std::string sql = std::string("update ") + table.Name + " set ";
    int parameter = 1;
    for (std::size_t i = firstColumn; i < table.Columns.size(); ++i)
        sql += std::string(table.Columns[i]) + " = ?" + std::to_string(parameter++) + ",";
    sql += "DbVer = ?" + std::to_string(parameter++);
    sql += std::string(" where ") + key + " = ?" + std::to_string(parameter) + ";";
    return sql;
}

std::vector<std::string> LibraryRows::Values(const Gameinfo& game)
{
    return {game.GameId,
            game.Icon,
            game.Size,
            EncodeWide(game.GameName),
            game.EmulatorShortName,
            game.CategoryShortName,
            game.IsPlay,
            game.IsPK,
            game.FilePath,
            game.FileName,
            game.EmulatorId,
            game.CategoryId,
            game.PlayUrl,
            TextVersion};
}

std::vector<std::string> LibraryRows::Values(const LocalGame& game)
{
    return {EncodeWide(game.GameName),
            game.Icon,
            game.Size,
            game.EmulatorShortName,
            game.IsPlay,
            game.FilePath,
            game.FileName,
            game.EmulatorId,
            game.PlayUrl,
            TextVersion};
}

std::vector<std::string> LibraryRows::Values(const DownloadInfo& d)
{
    return {d.GameId,
            d.Icon,
            EncodeWide(d.GameName),
            d.EmulatorShortName,
            d.CategoryShortName,
            d.EmulatorId,
            d.CategoryId,
            d.PlayUrl,
            d.FilePath,
            d.FileName,
            d.NeedUnZip,
            d.Volume,
            ListCodec::JoinList(d.UrlList),
            ListCodec::JoinList(d.PanUrlList),
            ListCodec::JoinList(d.PanRealUrlList),
            ListCodec::EncodeVolumeSets(d.VolumeUrlList),
            ListCodec::EncodeVolumeSets(d.VolumePanUrlList),
            ListCodec::EncodeVolumeSets(d.VolumePanRealUrlList),
            d.FileLenth,
            ListCodec::EncodeVolumeLengths(d.VolumeFileLenth),
            ListCodec::EncodeFileList(d.FileList),
            d.TotalSize,
            d.CurrentSize,
            ListCodec::JoinList(d.Reserved1),
            std::to_string(d.Reserved2),
            d.Reserved3,
            d.Reserved4,
            TextVersion};
}

std::vector<std::string> LibraryRows::Values(const EmulatorInfo& e)
{
    std::vector<std::string> values{e.EmulatorId,
                                    EncodeWide(e.Name),
                                    e.Version,
                                    e.Downloadurl,
                                    e.UpdateDate,
                                    EncodeWide(e.Description),
                                    std::to_string(e.Emulatortype),
                                    e.System,
                                    ListCodec::JoinList(e.Executet),
                                    e.Executeparam,
                                    e.Configtype,
                                    ListCodec::EncodeKeyConfig(e.KeyConfig),
                                    ListCodec::EncodeSetConfig(e.SetConfig),
                                    e.IsDefault};
    values.resize(values.size() + 8); // Reserved1..8, written empty
    values.push_back(TextVersion);
    return values;
}

Gameinfo LibraryRows::ReadGameinfo(const CppSQLite3Query& row)
{
    const std::string dbVer = DbVerOf(row, GameinfoTable());
    Gameinfo game;
    game.GameId = Column(row, 1);
    game.Icon = Column(row, 2);
    game.Size = Column(row, 3);
    game.GameName = DecodeWide(Column(row, 4), dbVer);
    game.EmulatorShortName = Column(row, 5);
    game.CategoryShortName = Column(row, 6);
    game.IsPlay = Column(row, 7);
    game.IsPK = Column(row, 8);
    game.FilePath = Column(row, 9);
    game.FileName = Column(row, 10);
    game.EmulatorId = Column(row, 11);
    game.CategoryId = Column(row, 12);
    game.PlayUrl = Column(row, 13);
    return game;
}

LocalGame LibraryRows::ReadLocalGame(const CppSQLite3Query& row)
{
    const std::string dbVer = DbVerOf(row, LocalGameTable());
    LocalGame game;
    game.GameName = DecodeWide(Column(row, 1), dbVer);
    game.Icon = Column(row, 2);
    game.Size = Column(row, 3);
    game.EmulatorShortName = Column(row, 4);
    game.IsPlay = Column(row, 5);
    game.FilePath = Column(row, 6);
    game.FileName = Column(row, 7);
    game.EmulatorId = Column(row, 8);
    game.PlayUrl = Column(row, 9);
    return game;
}

DownloadInfo LibraryRows::ReadDownloadInfo(const CppSQLite3Query& row)
{
    const std::string dbVer = DbVerOf(row, DownloadInfoTable());
    DownloadInfo d;
    d.GameId = Column(row, 1);
    d.Icon = Column(row, 2);
    d.GameName = DecodeWide(Column(row, 3), dbVer);
    d.EmulatorShortName = Column(row, 4);
    d.CategoryShortName = Column(row, 5);
    d.EmulatorId = Column(row, 6);
    d.CategoryId = Column(row, 7);
    d.PlayUrl = Column(row, 8);
    d.FilePath = Column(row, 9);
    d.FileName = Column(row, 10);
    d.NeedUnZip = Column(row, 11);
    d.Volume = Column(row, 12);
    d.UrlList = ListCodec::SplitList(Column(row, 13));
    d.PanUrlList = ListCodec::SplitList(Column(row, 14));
    d.PanRealUrlList = ListCodec::SplitList(Column(row, 15));
    d.VolumeUrlList = ListCodec::DecodeVolumeSets(Column(row, 16));
    d.VolumePanUrlList = ListCodec::DecodeVolumeSets(Column(row, 17));
    d.VolumePanRealUrlList = ListCodec::DecodeVolumeSets(Column(row, 18));
    d.FileLenth = Column(row, 19);
    d.VolumeFileLenth = ListCodec::DecodeVolumeLengths(Column(row, 20));
    d.FileList = ListCodec::DecodeFileList(Column(row, 21));
    d.TotalSize = Column(row, 22);
    d.CurrentSize = Column(row, 23);
    d.Reserved1 = ListCodec::SplitList(Column(row, 24));
    d.Reserved2 = ParseDecimal(Column(row, 25));
    // Reserved3 carries the archive's MD5 so that a resumed download can still be checked; Reserved4
    // is written for older readers only.
    d.Reserved3 = Column(row, 26);
    return d;
}

EmulatorInfo LibraryRows::ReadEmulatorInfo(const CppSQLite3Query& row)
{
    const std::string dbVer = DbVerOf(row, EmulatorInfoTable());
    EmulatorInfo e;
    e.EmulatorId = Column(row, 1);
    e.Name = DecodeWide(Column(row, 2), dbVer);
    e.Version = Column(row, 3);
    e.Downloadurl = Column(row, 4);
    e.UpdateDate = Column(row, 5);
    e.Description = DecodeWide(Column(row, 6), dbVer);
    e.Emulatortype = ParseDecimal(Column(row, 7));
    e.System = Column(row, 8);
    e.Executet = ListCodec::SplitList(Column(row, 9));
    e.Executeparam = Column(row, 10);
    e.Configtype = Column(row, 11);
    e.KeyConfig = ListCodec::DecodeKeyConfig(Column(row, 12));
    e.SetConfig = ListCodec::DecodeSetConfig(Column(row, 13));
    e.IsDefault = Column(row, 14);
    return e;
}

std::string LibraryRows::EncodeWide(const std::u16string& text)
{
    try {
        return Utf16ToUtf8(text);
    } catch (const TextConversionError&) {
    }
    std::u16string repaired = text;
    for (std::size_t i = 0; i < repaired.size(); ++i) {
        const char16_t unit = repaired[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < repaired.size() && repaired[i + 1] >= 0xDC00 && repaired[i + 1] <= 0xDFFF)
            ++i; // a proper pair
        else if (high || low)
            repaired[i] = u'\uFFFD';
    }
    return Utf16ToUtf8(repaired);
}

std::u16string LibraryRows::DecodeWide(const std::string& bytes, const std::string& dbVer)
{
    // Version 1 rows hold UTF-8; older rows hold the ANSI code page (UTF-8 on this platform too,
    // but the rule stays here so that it is decided in one place).
    auto* convert = ParseDecimal(dbVer) == 1 ? &Utf8ToUtf16 : &AnsiToUtf16;
    try {
        return convert(bytes);
    } catch (const TextConversionError&) {
        return DecodeWithReplacement(bytes, convert);
    }
}

} // namespace ravelo
