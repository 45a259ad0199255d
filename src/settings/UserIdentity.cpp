#include "settings/UserIdentity.h"

#include "platform/IniFile.h"

namespace ravelo {
namespace {
constexpr const char* kSection = "User";
}

UserIdentity::UserIdentity(const std::string& file) : m_file(file)
{
    Load();
}

void UserIdentity::Load()
{
    Uid = ReadProfileString(m_file, kSection, "Uid", "");
    Ticket = ReadProfileString(m_file, kSection, "Ticket", "");
}

void UserIdentity::Save() const
{
    WriteProfileString(m_file, kSection, "Uid", Uid);
    WriteProfileString(m_file, kSection, "Ticket", Ticket);
}

} // namespace ravelo
