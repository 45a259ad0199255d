// The dialogs a download asks through: the source dialog and the cloud drive's captcha.
#include "download/DownloadAddresses.h"
#include "gui/downloads/CDownLoadTypeFrame.h"
#include "gui/downloads/CSecurityCodeFrame.h"
#include "gui/support/GuiDriver.h"
#include "support/TempFolder.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

using namespace ravelo;
using ravelo::test::GuiDriver;

namespace {

/// Shows the dialog modally, runs step inside its loop, and returns what it ended with.
template <typename Dialog>
int RunDialog(Dialog& dialog, const QString& className, std::function<void(UiLib::WindowImplBase&)> step)
{
    auto timer = GuiDriver::WhenShown(className, std::move(step));
    return dialog.ShowModalOver(0, QStringLiteral("test"));
}

} // namespace

TEST(SourceDialog, OnlyTheOfferedSourcesShowAndEachHiddenOneTakes41Pixels)
{
    int fullHeight = 0;
    {
        CDownLoadTypeFrame full(kSourceCloudDrive | kSourceServers | kSourceUnpacked);
        EXPECT_EQ(RunDialog(full, QStringLiteral("DownLoadTypeFrame"),
                            [&](UiLib::WindowImplBase& window) {
                                fullHeight = window.GetWidget()->height();
                                EXPECT_TRUE(
                                    GuiDriver::Find(window, QStringLiteral("Btn_BaiduPan"))->IsVisible());
                                EXPECT_TRUE(GuiDriver::Click(window, QStringLiteral("Btn_NoZip")));
                            }),
                  kSourceUnpacked);
    }
    CDownLoadTypeFrame serversOnly(kSourceServers);
    int height = 0;
    EXPECT_EQ(RunDialog(serversOnly, QStringLiteral("DownLoadTypeFrame"),
                        [&](UiLib::WindowImplBase& window) {
                            height = window.GetWidget()->height();
                            EXPECT_FALSE(
                                GuiDriver::Find(window, QStringLiteral("Btn_BaiduPan"))->IsVisible());
                            EXPECT_FALSE(GuiDriver::Find(window, QStringLiteral("Btn_NoZip"))->IsVisible());
                            // A hidden source cannot be chosen; the close button says "closed".
                            EXPECT_FALSE(GuiDriver::Click(window, QStringLiteral("Btn_NoZip")));
                            EXPECT_TRUE(GuiDriver::Click(window, QStringLiteral("Btn_Close")));
                        }),
              2);
    EXPECT_EQ(fullHeight - height, 82);
}

TEST(CaptchaDialog, OnlyFourCharactersEndItAndThePictureIsTheFilesOwn)
{
    test::TempFolder folder;
    const std::string picture = folder / "1001.jpg";
    QImage(120, 44, QImage::Format_RGB32).save(QString::fromStdString(picture), "JPG");
    CSecurityCodeFrame dialog(picture);
    std::vector<bool> openAfter;
    const int result =
        RunDialog(dialog, QStringLiteral("SecurityCodeFrame"), [&](UiLib::WindowImplBase& window) {
            const QString edit = QStringLiteral("Ed_Code");
            GuiDriver::Type(window, edit, QStringLiteral("abc"));
            GuiDriver::Key(window, edit, Qt::Key_Return);
            openAfter.push_back(window.IsWindowVisible()); // three characters: still open
            GuiDriver::Type(window, edit, QStringLiteral("de"));
            GuiDriver::Click(window, QStringLiteral("Btn_Ok"));
            openAfter.push_back(window.IsWindowVisible()); // five (the box takes four): "abcd"
        });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(openAfter, (std::vector<bool>{true, false}));
    EXPECT_EQ(dialog.Code(), "abcd");
    EXPECT_TRUE(CSecurityCodeFrame::IsCompleteCode(QStringLiteral("a1b2")));
    EXPECT_FALSE(CSecurityCodeFrame::IsCompleteCode(QStringLiteral("a1b")));
    EXPECT_FALSE(CSecurityCodeFrame::IsCompleteCode(QStringLiteral("a1b2c")));
}
