#include "gui/settings/CSelfUpdate.h"

#include "gui/common/GuiMessages.h"
#include "gui/downloads/CDownLoadPopFrame.h"
#include "gui/settings/CUpdateAskFrame.h"
#include "gui/settings/UiThreadReceiver.h"
#include "platform/StartThread.h"
#include "platform/Translate.h"
#include "service/ServiceEndpoints.h"
#include "settings/AppPaths.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"
#include "update/SetupWorker.h"

#include <QUrl>

namespace ravelo {

using namespace UiLib;

namespace {

/// The update check's answer, posted from its thread: payload UpdateAnswer.
constexpr std::uint32_t UM_UPDATE_ANSWER = WM_USER + 1110;

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

CSelfUpdate::CSelfUpdate(Options options) : m_options(std::move(options))
{
    m_receiver = std::make_unique<UiThreadReceiver>([this](Message& message) { OnAnswer(message); });
}

CSelfUpdate::~CSelfUpdate()
{
    m_receiver.reset(); // nothing is shown for an answer that arrives from here on
    if (m_request.joinable())
        m_request.join();
}

bool CSelfUpdate::Check(WindowHandle owner)
{
    if (m_checking)
        return false;
    if (m_request.joinable())
        m_request.join(); // the last check's thread, which ended with its answer
    m_checking = true;
    m_owner = owner;
    const WindowHandle receiver = m_receiver->Handle();
    const std::string url = m_options.updateUrl;
    const std::string version = m_options.localVersion.empty() ? AppVersion : m_options.localVersion;
    m_request = StartThread([receiver, url, version] {
        const std::string address = url.empty() ? ServiceEndpoints::Load().UpdateUrl : url;
        PostMessage(receiver, UM_UPDATE_ANSWER, 0,
                    std::make_unique<UpdateAnswer>(FetchUpdateAnswer(address, version)));
    });
    return true;
}

void CSelfUpdate::OnAnswer(Message& message)
{
    if (message.id != UM_UPDATE_ANSWER)
        return;
    const std::unique_ptr<UpdateAnswer> answer = message.TakePayload<UpdateAnswer>();
    if (m_request.joinable())
        m_request.join(); // it posted this as its last act
    if (answer)
        Answer(*answer);
    m_checking = false;
}

void CSelfUpdate::Answer(const UpdateAnswer& answer)
{
    const QString caption = Text(Tr("提示"));
    switch (answer.kind) {
    case UpdateAnswerKind::Failed:
        MessageBox(m_owner, Text(Tr("获取更新信息失败")), caption, MB_OK);
        return;
    case UpdateAnswerKind::UpToDate:
        MessageBox(m_owner, Text(Tr("Ravelo已是最新版本")), caption, MB_OK);
        return;
    case UpdateAnswerKind::Newer:
        break;
    }
    CUpdateAskFrame question(answer);
    if (!question.Ask(m_owner))
        return;
    const SelfUpdateHandOff handOff = m_options.handOff ? *m_options.handOff : CurrentProgramHandOff();
    if (IsPortableInstall(handOff.installFolder))
        UpdateInPlace(answer, handOff);
    else
        UpdateThroughPackageManager(answer);
}

void CSelfUpdate::UpdateInPlace(const UpdateAnswer& answer, const SelfUpdateHandOff& handOff)
{
    const std::string packageHost =
        m_options.packageHost.empty() ? ServiceEndpoints::Load().PackageHost : m_options.packageHost;
    const std::string dataFolder = m_options.dataFolder.empty() ? DataFolder : m_options.dataFolder;
    SetupWorker worker(SetupTask::SelfUpdate, packageHost, dataFolder, m_options.setup);
    worker.SetSelfUpdate(handOff, answer.sha256);
    if (RunSetupPopup(m_owner, worker) == kDialogExitForUpdate) {
        // The updater waits for this program to end. A window that is gone by now gets nothing.
        ravelo::PostMessage(m_owner, WM_CLOSE, kDialogExitForUpdate);
    }
}

void CSelfUpdate::UpdateThroughPackageManager(const UpdateAnswer& answer)
{
    // Installed by the system: its package manager owns the program's files.
    if (IsBrowserAddress(answer.downloadUrl))
        OpenUrl(QUrl(QString::fromStdString(answer.downloadUrl)));
    MessageBox(m_owner,
               Text(Tr("Ravelo由系统的软件包管理器安装,请通过软件包管理器更新到新版本。")) +
                   QStringLiteral(" (") + QString::fromStdString(answer.version) + QStringLiteral(")"),
               Text(Tr("提示")), MB_OK | MB_ICONINFORMATION);
}

} // namespace ravelo
