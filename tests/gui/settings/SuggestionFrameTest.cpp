#include "gui/settings/CSuggestionFrame.h"

#include "gui/support/GuiDriver.h"
#include "settings/AppPaths.h"
#include "uilib/UiDefines.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"

#include <gtest/gtest.h>

#include <QUrl>

namespace ravelo::test {
namespace {

TEST(SuggestionFrame, TheForumLinkOpensOnlyWebAddresses)
{
    EXPECT_EQ(LinkAddress("<f 0><a>http://bbs.example.com/</a></f>"), "http://bbs.example.com/");
    EXPECT_EQ(LinkAddress("{a http://x/} http://x/ {/a}"), "http://x/");
    EXPECT_EQ(LinkAddress("{b}{/b}"), "");

    std::vector<QUrl> opened;
    std::vector<QString> boxes;
    UiLib::SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    UiLib::SetMessageBoxHandler([&](const UiLib::MessageBoxRequest& box) {
        boxes.push_back(box.text);
        return UiLib::IDOK;
    });
    CSuggestionFrame frame;
    ASSERT_TRUE(frame.Create(0, QStringLiteral("反馈"), UiLib::UI_WNDSTYLE_DIALOG, UiLib::WS_EX_WINDOWEDGE));
    EXPECT_EQ(GuiDriver::Find(frame, QStringLiteral("Tx_Version"))->GetText(),
              QStringLiteral("v") + QString::fromUtf8(AppVersion));
    UiLib::CControlUI* link = GuiDriver::Find(frame, QStringLiteral("Tx_bbsUrl"));
    ASSERT_TRUE(link);
    UiLib::TNotifyUI msg;
    msg.sType = UiLib::DUI_MSGTYPE_LINK;
    msg.pSender = link;
    frame.Notify(msg);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("http"));

    // A deployment's text that is not a web address is never handed to the desktop.
    link->SetText(QStringLiteral("<f 0><a>file:///etc/passwd</a></f>"));
    frame.Notify(msg);
    EXPECT_EQ(opened.size(), 1u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], QStringLiteral("无法打开该链接"));

    ASSERT_TRUE(GuiDriver::Click(frame, QStringLiteral("Btn_Ok")));
    EXPECT_NE(frame.GetHWND(), 0u); // 确定 does nothing
    ASSERT_TRUE(GuiDriver::Click(frame, QStringLiteral("Btn_Close")));
    EXPECT_TRUE(GuiDriver::WaitFor([&] { return frame.GetHWND() == 0; }));
    UiLib::SetUrlOpener(nullptr);
    UiLib::SetMessageBoxHandler(nullptr);
}

} // namespace
} // namespace ravelo::test
