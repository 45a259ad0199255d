#include "gui/shell/GuiPrompts.h"

#include "download/DownloadAddresses.h"
#include "gui/common/GuiMessages.h"
#include "gui/downloads/CDownLoadPopFrame.h"
#include "gui/downloads/CDownLoadTypeFrame.h"
#include "gui/downloads/CSecurityCodeFrame.h"
#include "gui/play/CHandleTypeFrame.h"
#include "gui/play/CMultiDiscSelectFrame.h"
#include "gui/shell/PromptBroker.h"
#include "platform/Translate.h"
#include "uilib/CWindowWnd.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

namespace ravelo {

using namespace UiLib;

namespace {

QString Q(const std::string& text)
{
    return QString::fromUtf8(text.c_str());
}

/// Shows a dialog modally for the broker; a shutdown closes it with its "closed" answer.
template <typename Dialog>
int ShowThroughBroker(PromptBroker& broker, Dialog& dialog, WindowHandle owner, const QString& title)
{
    broker.SetCloser([&dialog] { dialog.Close(-1); });
    return dialog.ShowModalOver(owner, title);
}

/// A message box cannot be reached by handle; the broker closes whatever modal window shows.
void CloseModalWidget()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
}

} // namespace

GuiPrompts::GuiPrompts(PromptBroker& broker) : m_broker(broker) {}

WindowHandle GuiPrompts::Owner(WindowHandle given) const
{
    // A page or window that has gone since the question was asked gives way to the main window.
    return given && CWindowWnd::FromHandle(given) ? given : m_defaultOwner;
}

int GuiPrompts::ChooseSource(WindowHandle parent, const DownloadInfo&, int offeredSources)
{
    return m_broker.Ask<int>(
        [this, parent, offeredSources](PromptBroker& broker) {
            CDownLoadTypeFrame dialog(offeredSources);
            const int chosen =
                ShowThroughBroker(broker, dialog, Owner(parent), QString::fromUtf8(Tr("下载方式")));
            return chosen == kSourceCloudDrive || chosen == kSourceServers || chosen == kSourceUnpacked
                       ? chosen
                       : kSourceDialogClosed;
        },
        kSourceDialogClosed);
}

bool GuiPrompts::AskCaptcha(const std::string& imagePath, std::string& code)
{
    const std::string typed = m_broker.Ask<std::string>(
        [this, imagePath](PromptBroker& broker) {
            CSecurityCodeFrame dialog(imagePath);
            const int result = ShowThroughBroker(broker, dialog, Owner(0), QString::fromUtf8(Tr("验证码")));
            return result == 1 ? dialog.Code() : std::string();
        },
        std::string());
    // The picture is shown once and never kept, whatever the answer.
    std::remove(imagePath.c_str());
    if (typed.empty())
        return false;
    code = typed;
    return true;
}

bool GuiPrompts::AskYesNo(const std::string& text, const std::string& caption, WindowHandle parent)
{
    return m_broker.Ask<bool>(
        [this, text, caption, parent](PromptBroker& broker) {
            broker.SetCloser(CloseModalWidget);
            return MessageBox(Owner(parent), Q(text), Q(caption), MB_YESNO | MB_ICONQUESTION) == IDYES;
        },
        false);
}

void GuiPrompts::ShowMessage(const std::string& text, const std::string& caption, WindowHandle parent)
{
    m_broker.Ask<bool>(
        [this, text, caption, parent](PromptBroker& broker) {
            broker.SetCloser(CloseModalWidget);
            MessageBox(Owner(parent), Q(text), Q(caption), MB_OK | MB_ICONINFORMATION);
            return true;
        },
        false);
}

bool GuiPrompts::RunPackageSetup(const EmulatorInfo& record, const std::string&, WindowHandle parent,
                                 SetupWorker& worker)
{
    return m_broker.Ask<bool>(
        [this, &record, parent, &worker](PromptBroker& broker) {
            bool succeeded = false;
            RunSetupPopup(Owner(parent), worker, &record, &succeeded, [&broker](WindowHandle popup) {
                // A shutdown cancels the setup: the popup closes once its worker has ended.
                broker.SetCloser([popup] { ravelo::PostMessage(popup, WM_CLOSE, kDialogClosed); });
            });
            return succeeded;
        },
        false);
}

int GuiPrompts::ChooseInputKind(WindowHandle owner)
{
    return m_broker.Ask<int>(
        [this, owner](PromptBroker& broker) {
            CHandleTypeFrame dialog;
            return ShowThroughBroker(broker, dialog, Owner(owner), QString::fromUtf8(Tr("选择控制方式")));
        },
        0);
}

int GuiPrompts::ChooseDisc(int count, WindowHandle owner)
{
    return m_broker.Ask<int>(
        [this, count, owner](PromptBroker& broker) {
            CMultiDiscSelectFrame dialog(count);
            return ShowThroughBroker(broker, dialog, Owner(owner), QString::fromUtf8(Tr("多盘选择")));
        },
        -1);
}

} // namespace ravelo
