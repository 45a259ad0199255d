// The setup popup over a real setup worker: packages from ravelo-server's demo catalogue or from a
// loopback server of the test's own, the popup driven by clicks while its modal loop runs.
#include "gui/downloads/CDownLoadPopFrame.h"

#include "gui/support/GuiDriver.h"
#include "gui/support/GuiFixture.h"
#include "service/HttpTransport.h"
#include "support/LoopbackHttpServer.h"
#include "support/ZipBuilder.h"
#include "uilib/CButtonUI.h"
#include "uilib/WinDefines.h"
#include "update/SetupWorker.h"

#include <QDir>

#include <condition_variable>
#include <filesystem>

namespace ravelo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using UiLib::CControlUI;
using UiLib::WindowImplBase;

int ThreadCount()
{
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

QString TextOf(WindowImplBase& window, const char* name)
{
    CControlUI* control = GuiDriver::Find(window, QString::fromUtf8(name));
    return control ? control->GetText() : QString();
}

class SetupPopupTest : public GuiFixture
{
protected:
    EmulatorInfo Emulator(const std::string& url) const
    {
        EmulatorInfo record;
        record.EmulatorId = "7";
        record.Name = u"Demo";
        record.Version = "1.0";
        record.Downloadurl = url;
        return record;
    }
    SetupOptions Fast() const
    {
        SetupOptions options;
        options.retryPauseFirst = 20ms;
        options.retryPauseMax = 100ms;
        options.installerSlice = 50ms;
        options.bitness = 64;
        return options;
    }
};

TEST_F(SetupPopupTest, AServerAnswering404ToTheTransferShowsItsCodeAndTheButtonCloses)
{
    // The length is given, the bytes are not.
    LoopbackHttpServer http;
    http.Get("/emu.zip", [](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "HEAD")
            res.set_content(std::string(1000, 'x'), "application/zip");
        else
            res.status = 404;
    });
    http.Start();
    SetupWorker worker(Emulator(http.Url("/emu.zip")), GamesRoot() + "emu/", DataFolder, Fast());
    QString status, size;
    auto step = GuiDriver::WhenShown(QStringLiteral("DownLoadPopFrame"), [&](WindowImplBase& popup) {
        GuiDriver::WaitFor([&] { return TextOf(popup, "LB_Status") == QStringLiteral("提示：错误"); });
        status = TextOf(popup, "LB_Status");
        size = TextOf(popup, "LB_Size");
        GuiDriver::ClickLater(popup, QStringLiteral("Btn_Cancel"));
    });
    bool succeeded = true;
    EXPECT_EQ(RunSetupPopup(0, worker, nullptr, &succeeded), 2);
    EXPECT_EQ(status, QStringLiteral("提示：错误"));
    EXPECT_EQ(size, QStringLiteral("错误代码=404"));
    EXPECT_FALSE(succeeded);
}

TEST_F(SetupPopupTest, ACompleteLocalArchiveSkipsTheDownload)
{
    // A runtime package as a Windows system would run it: the installer is a small script.
    const std::string package = m_tmp / "vc.zip";
    {
        ZipBuilder zip(package);
        zip.Add("Microsoft Visual C++ 2010 SP1 Redistributable Package (x64).exe",
                "#!/bin/sh\necho \"$@\" > installed.txt\n", false, S_IFREG | 0755);
    }
    fs::copy_file(package, Server().Root() + "/download/vc2010_x64.zip",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(package, DataFolder + "VC2010.zip", fs::copy_options::overwrite_existing);
    SetupOptions options = Fast();
    options.runtimePackagesInstallable = true;
    SetupWorker worker(SetupTask::Vc2010, Server().BaseUrl() + "/download/", DataFolder, options);

    QString status;
    auto step = GuiDriver::WhenShown(QStringLiteral("DownLoadPopFrame"), [&](WindowImplBase& popup) {
        // The package is not detected afterwards on this system: the failure text, and the button stays.
        GuiDriver::WaitFor(
            [&] { return TextOf(popup, "LB_Status") == QStringLiteral("提示：VC2010运行库安装失败"); });
        status = TextOf(popup, "LB_Status");
        GuiDriver::ClickLater(popup, QStringLiteral("Btn_Cancel"));
    });
    EXPECT_EQ(RunSetupPopup(0, worker), 2);
    EXPECT_EQ(status, QStringLiteral("提示：VC2010运行库安装失败"));
    EXPECT_EQ(ReadText(DataFolder + "installed.txt"), "/q\n");
    // Its length was asked for; its bytes were not.
    const std::vector<std::string> requests = LoggedRequests("vc2010_x64.zip");
    ASSERT_FALSE(requests.empty());
    for (const std::string& line : requests)
        EXPECT_EQ(line.find("GET "), std::string::npos) << line;
}

TEST_F(SetupPopupTest, APackageThisSystemDoesNotNeedIsNotFetched)
{
    SetupWorker worker(SetupTask::DirectX9c, Server().BaseUrl() + "/download/", DataFolder, Fast());
    QString status, button;
    auto step = GuiDriver::WhenShown(QStringLiteral("DownLoadPopFrame"), [&](WindowImplBase& popup) {
        status = TextOf(popup, "LB_Status");
        button = TextOf(popup, "Btn_Cancel");
        GuiDriver::ClickLater(popup, QStringLiteral("Btn_Cancel"));
    });
    EXPECT_EQ(RunSetupPopup(0, worker), 2);
    EXPECT_EQ(status, QStringLiteral("提示：本系统不需要此组件"));
    EXPECT_EQ(button, QStringLiteral("确定"));
    EXPECT_TRUE(LoggedRequests("DirectX9c").empty());
}

TEST_F(SetupPopupTest, CancelDisablesTheButtonClosesWithTwoAndLeavesNoThread)
{
    // A package that sends its first bytes and then nothing until the test is done.
    const std::size_t size = 4 * 1024 * 1024;
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    LoopbackHttpServer http;
    http.Get("/emu.zip", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(size, "application/zip",
                                 [&](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                     if (offset == 0) {
                                         const std::string block(64 * 1024, 'x');
                                         return sink.write(block.data(), block.size());
                                     }
                                     std::unique_lock guard(lock);
                                     done.wait_for(guard, 20s, [&] { return finished; });
                                     return false;
                                 });
    });
    http.Start();
    // Once the server has answered, its threads are all there.
    ASSERT_EQ(GetContentLength(http.Url("/emu.zip")), static_cast<double>(size));
    const int threadsBefore = ThreadCount();
    SetupWorker worker(Emulator(http.Url("/emu.zip")), GamesRoot() + "emu/", DataFolder, Fast());

    bool disabled = false;
    QString cancelling;
    auto step = GuiDriver::WhenShown(QStringLiteral("DownLoadPopFrame"), [&](WindowImplBase& popup) {
        GuiDriver::WaitFor([&] { return TextOf(popup, "LB_Size").startsWith(QStringLiteral("0.06M/")); });
        CControlUI* cancel = GuiDriver::Find(popup, QStringLiteral("Btn_Cancel"));
        GuiDriver::Click(popup, QStringLiteral("Btn_Cancel"));
        disabled = cancel && !cancel->IsEnabled();
        cancelling = TextOf(popup, "LB_Status");
    });
    bool succeeded = true;
    EXPECT_EQ(RunSetupPopup(0, worker, nullptr, &succeeded), 2);

    // A close from outside (a prompt broker going away) cancels the same way.
    SetupWorker again(Emulator(http.Url("/emu.zip")), GamesRoot() + "emu/", DataFolder, Fast());
    WindowHandle shown = 0;
    auto closeFromOutside =
        GuiDriver::WhenShown(QStringLiteral("DownLoadPopFrame"), [&](WindowImplBase& popup) {
            GuiDriver::WaitFor([&] { return TextOf(popup, "LB_Size").startsWith(QStringLiteral("0.06M/")); });
            PostMessage(shown, UiLib::WM_CLOSE, 2);
        });
    EXPECT_EQ(RunSetupPopup(0, again, nullptr, nullptr, [&](WindowHandle popup) { shown = popup; }), 2);
    EXPECT_NE(shown, 0u);
    EXPECT_EQ(again.ErrorCode(), 23);
    {
        std::lock_guard guard(lock);
        finished = true;
    }
    done.notify_all();
    EXPECT_TRUE(disabled);
    EXPECT_EQ(cancelling, QStringLiteral("提示：正在取消..."));
    EXPECT_FALSE(succeeded);
    EXPECT_EQ(worker.ErrorCode(), 23);
    EXPECT_EQ(ThreadCount(), threadsBefore); // the popup's thread is gone
    http.Stop();
}

} // namespace
} // namespace ravelo::test
