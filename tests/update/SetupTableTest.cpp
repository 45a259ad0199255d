// The package table, the detection rules, the error texts and the popup's texts: pure rules, checked
// with made-up program lists and real temporary folders.
#include "update/PrerequisiteDetection.h"
#include "update/SetupErrorText.h"
#include "update/SetupTask.h"
#include "update/SetupView.h"

#include "support/FileText.h"
#include "support/LanguageScope.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

namespace ravelo {
namespace {

using test::TempFolder;

InstalledProgram Named(const std::string& name)
{
    InstalledProgram program;
    program.DisplayName = name;
    return program;
}

EmulatorInfo Nestopia()
{
    EmulatorInfo record;
    record.Name = u"Nestopia";
    record.Version = "1.4.1";
    return record;
}

TEST(SetupTable, PackagesByTaskAndBitness)
{
    EXPECT_EQ(PackagePath(SetupTask::XInputDriver, 64), "/download/Xinput64.zip");
    EXPECT_EQ(PackagePath(SetupTask::XInputDriver, 32), "/download/Xinput32.zip");
    EXPECT_EQ(PackagePath(SetupTask::DirectX9c, 32), "/download/DirectX9c.zip");
    EXPECT_EQ(PackagePath(SetupTask::Vc2008, 64), "/download/vc2008_x64.zip");
    EXPECT_EQ(PackagePath(SetupTask::Vc2010, 32), "/download/vc2010_x86.zip");
    EXPECT_EQ(PackagePath(SetupTask::SelfUpdate, 32), "/download/Update.zip");
    EXPECT_EQ(PackagePath(SetupTask::Emulator, 64), "");

    EXPECT_EQ(LocalArchiveName(SetupTask::SelfUpdate), "RaveloUpdate.zip");
    EXPECT_EQ(LocalArchiveName(SetupTask::XInputDriver), "Xinput.zip");
    EXPECT_EQ(LocalArchiveName(SetupTask::Vc2012), "VC2012.zip");
    EXPECT_EQ(LocalArchiveName(SetupTask::Emulator), "Emulator.zip");

    EXPECT_EQ(InstallerName(SetupTask::SelfUpdate, 64), "ravelo-update");
    EXPECT_EQ(InstallerName(SetupTask::Vc2005, 32),
              "Microsoft Visual C++ 2005 SP1 Redistributable Package (x86).exe");
    EXPECT_EQ(InstallerName(SetupTask::Vc2012, 64), "Microsoft Visual C++ 2012 Redistributable (x64).exe");
    EXPECT_EQ(InstallerName(SetupTask::Emulator, 64), "");
    EXPECT_EQ(InstallerParameters(SetupTask::SelfUpdate), "");
    // Windows runtime packages are not applicable here; the rest is.
    for (int task = 1; task <= 6; ++task)
        EXPECT_FALSE(IsSetupApplicable(static_cast<SetupTask>(task))) << task;
    EXPECT_TRUE(IsSetupApplicable(SetupTask::SelfUpdate));
    EXPECT_TRUE(IsSetupApplicable(SetupTask::Emulator));
    SetupOptions windowsLike;
    windowsLike.runtimePackagesInstallable = true;
    EXPECT_TRUE(IsSetupApplicable(SetupTask::Vc2010, windowsLike));
    EXPECT_EQ(InstallerParameters(SetupTask::DirectX9c), "/q");

    // The host's "/download/" folder, with or without its trailing separator.
    EXPECT_EQ(PackageAddress("http://127.0.0.1:8650/download/", SetupTask::Vc2005, 64),
              "http://127.0.0.1:8650/download/vc2005_x64.zip");
    EXPECT_EQ(PackageAddress("http://127.0.0.1:8650/download", SetupTask::SelfUpdate, 32),
              "http://127.0.0.1:8650/download/Update.zip");
    EXPECT_EQ(PackageAddress("http://127.0.0.1:8650/download/", SetupTask::Emulator, 64), "");

    EXPECT_EQ(SetupCaption(SetupTask::SelfUpdate), "自动升级");
    EXPECT_EQ(SetupCaption(SetupTask::Vc2010), "安装VC2010运行库");
    const EmulatorInfo emulator = Nestopia();
    EXPECT_EQ(SetupCaption(SetupTask::Emulator, &emulator), "安装Nestopia 1.4.1");
}

// In English the popup's caption and status put the emulator's name where the language wants it.
TEST(SetupTable, EnglishTextsPlaceTheNamesWithSpaces)
{
    test::LanguageScope english("en");
    const EmulatorInfo emulator = Nestopia();
    EXPECT_EQ(SetupCaption(SetupTask::Emulator, &emulator), "Install Nestopia 1.4.1");
    EXPECT_EQ(SetupCaption(SetupTask::Vc2010), "Install the VC2010 runtime");
    EXPECT_EQ(SetupFinishedText(SetupTask::Emulator, &emulator, true), "Note: Nestopia 1.4.1 installed");
    EXPECT_EQ(SetupDownloadingText(SetupTask::Emulator, &emulator), "Note: downloading Nestopia 1.4.1");
}

TEST(SetupTable, BitnessFollowsTheMachineName)
{
    for (const char* machine : {"x86_64", "aarch64", "ppc64le", "riscv64", "s390x"})
        EXPECT_EQ(OsBitnessOfMachine(machine), 64) << machine;
    for (const char* machine : {"i686", "armv7l", "mips", ""})
        EXPECT_EQ(OsBitnessOfMachine(machine), 32) << machine;
    struct utsname name
    {
    };
    ASSERT_EQ(::uname(&name), 0);
    EXPECT_EQ(GetOsBitness(), OsBitnessOfMachine(name.machine));
}

TEST(Prerequisites, RuntimeRulesOverAProgramList)
{
    const std::vector<InstalledProgram> none;
    EXPECT_FALSE(IsVc2005InstalledIn(none));

    const std::vector<InstalledProgram> redistributable2012{
        Named("Microsoft Visual C++ 2012 x64 Minimum Runtime - 11.0.61030"),
        Named("Microsoft Visual C++ 2012 Redistributable (x64) - 11.0.61030")};
    EXPECT_FALSE(IsVc2012InstalledIn(redistributable2012));
    const std::vector<InstalledProgram> additional2012{
        Named("Notepad++"), Named("Microsoft Visual C++ 2012 x64 Additional Runtime - 11.0.61030")};
    EXPECT_TRUE(IsVc2012InstalledIn(additional2012));

    const std::vector<InstalledProgram> mixed{
        Named("Microsoft Visual C++ 2005 Redistributable"),
        Named("microsoft visual c++ 2008 redistributable - x64 9.0.30729"), // case counts
        Named("Microsoft Visual C++ 2010  x64 Redistributable - 10.0.40219"),
        Named("Microsoft Xbox 360 Accessories 1.2")};
    EXPECT_TRUE(IsVc2005InstalledIn(mixed));
    EXPECT_FALSE(IsVc2008InstalledIn(mixed));
    EXPECT_TRUE(IsVc2010InstalledIn(mixed));
    EXPECT_TRUE(IsXInputDriverInstalledIn(mixed));
    // The year and the second word must sit in one entry's name.
    EXPECT_FALSE(IsVc2008InstalledIn({Named("Microsoft Visual C++ 2008"), Named("Redistributable")}));
    EXPECT_FALSE(IsXInputDriverInstalledIn({Named("Microsoft Xbox One Accessories")}));
}

TEST(Prerequisites, DirectXNeedsAllTwentyLibrariesInTheFolder)
{
    TempFolder folder;
    for (int number = 24; number <= 42; ++number)
        test::WriteText(folder / ("d3dx9_" + std::to_string(number) + ".dll"), "MZ");
    test::WriteText(folder / "d3dx9_43.txt", "not a library");
    std::filesystem::create_directory(folder / "d3dx9_43.dll"); // a folder is no library
    EXPECT_FALSE(IsDirectX9cInstalledIn(folder.Path()));

    TempFolder upper;
    for (int number = 24; number <= 43; ++number)
        test::WriteText(upper / ("D3DX9_" + std::to_string(number) + ".DLL"), "MZ");
    EXPECT_TRUE(IsDirectX9cInstalledIn(upper.Path()));
    EXPECT_FALSE(IsDirectX9cInstalledIn(upper / "missing/"));
}

TEST(Prerequisites, ThisSystemHasNoWindowsPackages)
{
    EXPECT_TRUE(ListInstalledPrograms(RegistryView::Bits64).empty());
    EXPECT_FALSE(IsVc2005Installed());
    EXPECT_FALSE(IsVc2012Installed());
    EXPECT_FALSE(IsXInputDriverInstalled());
    EXPECT_FALSE(IsDirectX9cInstalled());
    EXPECT_FALSE(IsPackageInstalled(SetupTask::Vc2010));
}

TEST(SetupErrors, TextsByCode)
{
    EXPECT_EQ(SetupErrorText(1), "CURLE_UNSUPPORTED_PROTOCOL");
    EXPECT_EQ(SetupErrorText(8), "CURLE_FTP_WEIRD_SERVER_REPLY");
    EXPECT_EQ(SetupErrorText(16), "CURLE_HTTP2");
    EXPECT_EQ(SetupErrorText(20), "CURLE_OBSOLETE20");
    EXPECT_EQ(SetupErrorText(23), "CURLE_WRITE_ERROR");
    EXPECT_EQ(SetupErrorText(28), "CURLE_OPERATION_TIMEDOUT");
    EXPECT_EQ(SetupErrorText(51), "CURLE_PEER_FAILED_VERIFICATION");
    EXPECT_EQ(SetupErrorText(57), "CURLE_OBSOLETE57");
    EXPECT_EQ(SetupErrorText(62), "CURLE_LDAP_INVALID_URL");
    EXPECT_EQ(SetupErrorText(90), "CURLE_SSL_PINNEDPUBKEYNOTMATCH");
    EXPECT_EQ(SetupErrorText(91), "CURL_LAST");
    EXPECT_EQ(SetupErrorText(1000), "没有可用的下载链接");
    EXPECT_EQ(SetupErrorText(1001), "获取文件长度出错");
    EXPECT_EQ(SetupErrorText(1002), "创建文件失败");
    EXPECT_EQ(SetupErrorText(1003), "解压文件出错");
    EXPECT_EQ(SetupErrorText(1004), "该组件仅适用于Windows,无法在本系统安装");
    EXPECT_EQ(SetupErrorText(0), "错误代码=0");
    EXPECT_EQ(SetupErrorText(92), "错误代码=92");
    EXPECT_EQ(SetupErrorText(404), "错误代码=404");
    EXPECT_EQ(SetupErrorText(-1), "错误代码=-1");
}

TEST(SetupView, WhatThePopupShowsByKind)
{
    const EmulatorInfo emulator = Nestopia();
    SetupView view =
        ViewOfSetupProgress(SetupTask::Vc2008, nullptr, {1572864, 3145728, kSetupDownloading, 0});
    EXPECT_EQ(view.status, "提示：正在下载VC2008运行库...");
    EXPECT_EQ(view.size, "1.50M/3.00M");
    ASSERT_TRUE(view.progress);
    EXPECT_EQ(view.progress->value, 1536);
    EXPECT_EQ(view.progress->maximum, 3072);
    EXPECT_EQ(SetupDownloadingText(SetupTask::SelfUpdate, nullptr), "提示：正在下载升级包...");
    EXPECT_EQ(SetupDownloadingText(SetupTask::XInputDriver, nullptr), "提示：正在下载Xinput驱动...");
    EXPECT_EQ(ViewOfSetupProgress(SetupTask::Emulator, &emulator, {0, 10, kSetupDownloading, 0}).status,
              "提示：正在下载Nestopia 1.4.1");

    view = ViewOfSetupProgress(SetupTask::Emulator, &emulator, {1000, 2000, kSetupUnpacking, 0});
    EXPECT_EQ(view.status, "提示：解压中...");
    EXPECT_EQ(view.size, "0.00M/0.00M");
    EXPECT_EQ(view.progress->value, 0); // whole kilobytes
    EXPECT_EQ(view.progress->maximum, 1);

    view = ViewOfSetupProgress(SetupTask::Emulator, &emulator, {0, 0, kSetupError, 404});
    EXPECT_EQ(view.status, "提示：错误");
    EXPECT_EQ(view.size, "错误代码=404");
    EXPECT_FALSE(view.progress);
    EXPECT_FALSE(view.button);

    view = ViewOfSetupProgress(SetupTask::DirectX9c, nullptr, {30, 100, kSetupInstalling, 0});
    EXPECT_EQ(view.status, "提示：正在安装...");
    EXPECT_EQ(view.size, "");
    EXPECT_EQ(view.progress->value, 30);
    EXPECT_EQ(view.progress->maximum, 100);

    // Finished: the runtime packages are detected again, an emulator is done, the updater closes.
    view = ViewOfSetupProgress(SetupTask::DirectX9c, nullptr, {0, 0, kSetupFinished, 0}, true);
    EXPECT_EQ(view.status, "提示：DirectX9c安装成功");
    EXPECT_EQ(view.button, "确定");
    EXPECT_EQ(view.progress->value, 100);
    view = ViewOfSetupProgress(SetupTask::Vc2012, nullptr, {0, 0, kSetupFinished, 0}, false);
    EXPECT_EQ(view.status, "提示：VC2012运行库安装失败");
    EXPECT_FALSE(view.button);
    view = ViewOfSetupProgress(SetupTask::Emulator, &emulator, {0, 0, kSetupFinished, 0});
    EXPECT_EQ(view.status, "提示：Nestopia 1.4.1安装成功");
    EXPECT_EQ(view.button, "确定");
    view = ViewOfSetupProgress(SetupTask::SelfUpdate, nullptr, {0, 0, kSetupFinished, 0});
    EXPECT_TRUE(view.closeAsUpdated);
    EXPECT_FALSE(ViewOfSetupProgress(SetupTask::Vc2005, nullptr, {0, 0, kSetupFinished, 0}).closeAsUpdated);
}

TEST(SetupView, SizesAreRoundedToSinglePrecision)
{
    EXPECT_EQ(SetupSizeText(0, 0), "0.00M/0.00M");
    EXPECT_EQ(SetupSizeText(10485760, 1073741824), "10.00M/1024.00M");
    // 2.345 lies just below itself in double precision ("2.34") and just above it in single ("2.35").
    EXPECT_EQ(SetupSizeText(1048576.0 * 2.345, 1048576.0 * 2.345), "2.35M/2.35M");
}

} // namespace
} // namespace ravelo
