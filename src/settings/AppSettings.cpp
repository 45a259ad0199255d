#include "settings/AppSettings.h"

#include "platform/IniFile.h"

namespace ravelo {
namespace {
constexpr const char* kSection = "Set";
}

AppSettings::AppSettings(const std::string& file) : m_file(file)
{
    RomPath = ReadProfileString(m_file, kSection, "RomPath", "");
    UpdateType = ReadProfileString(m_file, kSection, "UpdateType", "0");
    HandleType = ReadProfileString(m_file, kSection, "HandleType", "0");
    ShowKeyMapTips = ReadProfileString(m_file, kSection, "ShowKeyMapTips", "1");
    AutoRun = ReadProfileString(m_file, kSection, "AutoRun", "0");
    IsTray = ReadProfileString(m_file, kSection, "IsTray", "1");
    Language = ReadProfileString(m_file, kSection, "Language", "");
}

void AppSettings::Save() const
{
    WriteProfileString(m_file, kSection, "RomPath", RomPath);
    WriteProfileString(m_file, kSection, "UpdateType", UpdateType);
    WriteProfileString(m_file, kSection, "HandleType", HandleType);
    WriteProfileString(m_file, kSection, "ShowKeyMapTips", ShowKeyMapTips);
    WriteProfileString(m_file, kSection, "AutoRun", AutoRun);
    WriteProfileString(m_file, kSection, "IsTray", IsTray);
    WriteProfileString(m_file, kSection, "Language", Language);
}

bool AppSettings::SaveChanges(const AppSettings& before) const
{
    bool written = true;
    const auto write = [&](const char* key, const std::string& now, const std::string& then) {
        if (now != then && !WriteProfileString(m_file, kSection, key, now))
            written = false;
    };
    write("RomPath", RomPath, before.RomPath);
    write("UpdateType", UpdateType, before.UpdateType);
    write("HandleType", HandleType, before.HandleType);
    write("ShowKeyMapTips", ShowKeyMapTips, before.ShowKeyMapTips);
    write("AutoRun", AutoRun, before.AutoRun);
    write("IsTray", IsTray, before.IsTray);
    write("Language", Language, before.Language);
    return written;
}

} // namespace ravelo
