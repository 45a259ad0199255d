#include "update/SetupTask.h"

#include "platform/TextConvert.h"
#include "platform/Translate.h"
#include "update/SelfUpdateHandOff.h"

#include <sys/utsname.h>

namespace ravelo {
namespace {

constexpr const char* kDownloadFolder = "/download/";

struct PackageRow
{
    const char* caption;
    const char* path64;
    const char* path32;
    const char* archive;
    const char* installer64;
    const char* installer32;
    const char* parameters;
};

// By task number; the emulator's row has no path and no installer.
constexpr PackageRow kPackages[] = {
    {TrNoop("自动升级"), "/download/Update.zip", "/download/Update.zip", "RaveloUpdate.zip", kUpdaterProgram,
     kUpdaterProgram, ""},
    {TrNoop("安装Xinput驱动"), "/download/Xinput64.zip", "/download/Xinput32.zip", "Xinput.zip", "Xinput.exe",
     "Xinput.exe", "/q"},
    {TrNoop("安装DirectX9c"), "/download/DirectX9c.zip", "/download/DirectX9c.zip", "DirectX9c.zip",
     "DirectX9c.exe", "DirectX9c.exe", "/q"},
    {TrNoop("安装VC2005运行库"), "/download/vc2005_x64.zip", "/download/vc2005_x86.zip", "VC2005.zip",
     "Microsoft Visual C++ 2005 SP1 Redistributable Package (x64).exe",
     "Microsoft Visual C++ 2005 SP1 Redistributable Package (x86).exe", "/q"},
    {TrNoop("安装VC2008运行库"), "/download/vc2008_x64.zip", "/download/vc2008_x86.zip", "VC2008.zip",
     "Microsoft Visual C++ 2008 SP1 Redistributable Package (x64).exe",
     "Microsoft Visual C++ 2008 SP1 Redistributable Package (x86).exe", "/q"},
    {TrNoop("安装VC2010运行库"), "/download/vc2010_x64.zip", "/download/vc2010_x86.zip", "VC2010.zip",
     "Microsoft Visual C++ 2010 SP1 Redistributable Package (x64).exe",
     "Microsoft Visual C++ 2010 SP1 Redistributable Package (x86).exe", "/q"},
    {TrNoop("安装VC2012运行库"), "/download/vc2012_x64.zip", "/download/vc2012_x86.zip", "VC2012.zip",
     "Microsoft Visual C++ 2012 Redistributable (x64).exe",
     "Microsoft Visual C++ 2012 Redistributable (x86).exe", "/q"},
    {TrNoop("安装"), "", "", "Emulator.zip", "", "", ""},
};

const PackageRow& Row(SetupTask task)
{
    const int index = static_cast<int>(task);
    return kPackages[index >= 0 && index <= 7 ? index : 7];
}

} // namespace

bool IsRuntimePackage(SetupTask task)
{
    return task >= SetupTask::XInputDriver && task <= SetupTask::Vc2012;
}

bool IsSetupApplicable(SetupTask task, const SetupOptions& options)
{
    return !IsRuntimePackage(task) || options.runtimePackagesInstallable;
}

std::string SetupCaption(SetupTask task, const EmulatorInfo* emulator)
{
    if (task == SetupTask::Emulator && emulator) {
        // A pattern rather than a prefix, so that a language that needs a space, or another word
        // order, can have it.
        // TRANSLATORS: %s is the emulator's name and version.
        std::string caption = Tr("安装%s");
        const std::size_t at = caption.find("%s");
        const std::string title = Utf16ToUtf8(emulator->Name) + " " + emulator->Version;
        return at == std::string::npos ? caption + title : caption.replace(at, 2, title);
    }
    return Tr(Row(task).caption);
}

std::string PackagePath(SetupTask task, int bitness)
{
    const PackageRow& row = Row(task);
    return bitness == 64 ? row.path64 : row.path32;
}

std::string PackageAddress(const std::string& packageHost, SetupTask task, int bitness)
{
    const std::string path = PackagePath(task, bitness);
    if (path.empty() || packageHost.empty())
        return {};
    const std::string host = packageHost.back() == '/' ? packageHost : packageHost + '/';
    return host + path.substr(std::char_traits<char>::length(kDownloadFolder));
}

std::string LocalArchiveName(SetupTask task)
{
    return Row(task).archive;
}

std::string InstallerName(SetupTask task, int bitness)
{
    const PackageRow& row = Row(task);
    return bitness == 64 ? row.installer64 : row.installer32;
}

std::string InstallerParameters(SetupTask task)
{
    return Row(task).parameters;
}

int OsBitnessOfMachine(const std::string& machine)
{
    // x86_64, aarch64, ppc64(le), mips64, riscv64, sparc64, loongarch64, ia64 name their width; the
    // two 64-bit architectures that do not are s390x and alpha.
    if (machine.find("64") != std::string::npos || machine == "s390x" || machine == "alpha")
        return 64;
    return 32;
}

int GetOsBitness()
{
    struct utsname name
    {
    };
    if (::uname(&name) != 0)
        return 32;
    return OsBitnessOfMachine(name.machine);
}

} // namespace ravelo
