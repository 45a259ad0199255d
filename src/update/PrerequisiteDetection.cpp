#include "update/PrerequisiteDetection.h"

#include <filesystem>
#include <set>

namespace ravelo {
namespace {

bool AnyNameHolds(const std::vector<InstalledProgram>& programs, const char* first, const char* second)
{
    for (const InstalledProgram& program : programs) {
        const std::string& name = program.DisplayName;
        if (name.find(first) != std::string::npos && (!second || name.find(second) != std::string::npos))
            return true;
    }
    return false;
}

std::vector<InstalledProgram> SystemPrograms()
{
    return ListInstalledPrograms(RegistryViewFor(GetOsBitness()));
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

bool IsVc2005InstalledIn(const std::vector<InstalledProgram>& programs)
{
    return AnyNameHolds(programs, "Microsoft Visual C++ 2005", "Redistributable");
}

bool IsVc2008InstalledIn(const std::vector<InstalledProgram>& programs)
{
    return AnyNameHolds(programs, "Microsoft Visual C++ 2008", "Redistributable");
}

bool IsVc2010InstalledIn(const std::vector<InstalledProgram>& programs)
{
    return AnyNameHolds(programs, "Microsoft Visual C++ 2010", "Redistributable");
}

bool IsVc2012InstalledIn(const std::vector<InstalledProgram>& programs)
{
    return AnyNameHolds(programs, "Microsoft Visual C++ 2012", "Additional Runtime");
}

bool IsXInputDriverInstalledIn(const std::vector<InstalledProgram>& programs)
{
    return AnyNameHolds(programs, "Microsoft Xbox 360 Accessories", nullptr);
}

bool IsDirectX9cInstalledIn(const std::string& folder)
{
    if (folder.empty())
        return false;
    std::set<std::string> libraries; // lower-case names of the folder's ".dll" files
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code kindError;
        if (!it->is_regular_file(kindError))
            continue;
        const std::string name = Lower(it->path().filename().string());
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0)
            libraries.insert(name);
    }
    if (error)
        return false;
    for (int number = 24; number <= 43; ++number)
        if (!libraries.count("d3dx9_" + std::to_string(number) + ".dll"))
            return false;
    return true;
}

bool IsVc2005Installed()
{
    return IsVc2005InstalledIn(SystemPrograms());
}

bool IsVc2008Installed()
{
    return IsVc2008InstalledIn(SystemPrograms());
}

bool IsVc2010Installed()
{
    return IsVc2010InstalledIn(SystemPrograms());
}

bool IsVc2012Installed()
{
    return IsVc2012InstalledIn(SystemPrograms());
}

bool IsXInputDriverInstalled()
{
    return IsXInputDriverInstalledIn(SystemPrograms());
}

bool IsDirectX9cInstalled()
{
    // There is no system folder of Windows libraries here; an empty folder name counts as absent.
    return IsDirectX9cInstalledIn(std::string());
}

bool IsPackageInstalled(SetupTask task)
{
    switch (task) {
    case SetupTask::XInputDriver:
        return IsXInputDriverInstalled();
    case SetupTask::DirectX9c:
        return IsDirectX9cInstalled();
    case SetupTask::Vc2005:
        return IsVc2005Installed();
    case SetupTask::Vc2008:
        return IsVc2008Installed();
    case SetupTask::Vc2010:
        return IsVc2010Installed();
    case SetupTask::Vc2012:
        return IsVc2012Installed();
    default:
        return false;
    }
}

} // namespace ravelo
