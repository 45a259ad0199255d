#include "emulator/EmulatorRecords.h"

#include "emulator/EmulatorConfig.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/PlainName.h"
#include "platform/TextConvert.h"
#include "systems/SystemTable.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace ravelo {
namespace {

// Decimal parsing as the records use it: the leading digits, 0 when there are none.
long long LeadingNumber(const std::string& text)
{
    constexpr long long kLimit = std::numeric_limits<long long>::max() / 10 - 9;
    long long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        number = number >= kLimit ? kLimit : number * 10 + (c - '0');
    }
    return number;
}

} // namespace

std::unique_ptr<CEmulatorList> ParseEmulatorList(const std::string& text)
{
    auto list = std::make_unique<CEmulatorList>();
    try {
        if (!list->Decode(text))
            return nullptr;
    } catch (const std::exception& error) {
        // A value of the wrong kind (an array for the whole answer, an object for a name, ...):
        // the partly filled list is thrown away.
        DebugOutput(std::string("emulator list: ") + error.what());
        return nullptr;
    }
    return list;
}

EmulatorInfo MakeEmulatorInfo(const CEmulatorBase& emulator)
{
    EmulatorInfo record;
    record.EmulatorId = emulator.emulatorid;
    record.Name = emulator.name;
    record.Version = emulator.version;
    record.Downloadurl = emulator.downloadurl;
    record.UpdateDate = emulator.update;
    record.Description = emulator.description;
    record.Emulatortype =
        int(std::min<long long>(LeadingNumber(emulator.emulatortype), std::numeric_limits<int>::max()));
    record.System = emulator.system;
    record.Executet = emulator.execute;
    record.Executeparam = emulator.executeparam;
    record.Configtype = emulator.configtype;
    for (const auto& key : emulator.keyconfig)
        record.KeyConfig.push_back({key->source, key->target, key->defaultsource});
    for (const auto& set : emulator.setconfig)
        record.SetConfig.push_back({set->source, set->target});
    return record;
}

long long VersionNumber(std::string version)
{
    version.erase(std::remove(version.begin(), version.end(), '.'), version.end());
    return LeadingNumber(version);
}

bool HasSafeFolderNames(const EmulatorInfo& record)
{
    try {
        return IsPlainName(record.EmulatorId) && IsPlainName(SystemNumberToCode(record.Emulatortype)) &&
               IsPlainName(Utf16ToUtf8(record.Name));
    } catch (const TextConversionError&) {
        return false;
    }
}

std::string EmulatorFolderOf(const EmulatorInfo& record, const std::string& instanceFolder)
{
    if (!HasSafeFolderNames(record))
        return {};
    return WithTrailingSeparator(instanceFolder) + "Emulator/" + SystemNumberToCode(record.Emulatortype) +
           "/" + Utf16ToUtf8(record.Name);
}

std::string EmulatorProgramPath(const EmulatorInfo& record, const std::string& folder, std::size_t index)
{
    if (folder.empty() || index >= record.Executet.size())
        return {};
    std::string name = record.Executet[index];
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return EmulatorConfig::ContainedPath(folder, name);
}

} // namespace ravelo
