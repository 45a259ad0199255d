#include "gui/settings/EmulatorPage.h"

#include "app/Engines.h"
#include "emulator/CEmulatorManager.h"
#include "emulator/CGameLauncher.h"
#include "emulator/EmulatorConfig.h"
#include "emulator/EmulatorHost.h"
#include "emulator/InputKind.h"
#include "gui/settings/SettingsView.h"
#include "platform/Translate.h"
#include "systems/SystemTable.h"
#include "uilib/CDialogBuilder.h"
#include "uilib/CListUI.h"
#include "uilib/CMenuWnd.h"
#include "uilib/CPaintManagerUI.h"
#include "uilib/CTreeNodeUI.h"
#include "uilib/CTreeViewUI.h"
#include "uilib/UiDefines.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"

#include <QPoint>
#include <QWidget>

#include <algorithm>

namespace ravelo {

using namespace UiLib;

namespace {

const QString kItemLayout = QStringLiteral("skin\\xmls\\EmulatorItem.xml");
const QString kMenuLayout = QStringLiteral("skin\\xmls\\EmulatorMenu.xml");

QString Q(const char* text)
{
    return QString::fromUtf8(text);
}

/// The logo of a system's items, as the tree shows it.
QString SystemLogo(int system)
{
    static const std::pair<int, const char*> kLogos[] = {
        {125, "fc"},  {121, "sfc"}, {130, "n64"}, {140, "wii"},  {124, "gbc"},      {120, "gba"},
        {127, "nds"}, {122, "md"},  {133, "dc"},  {119, "ps"},   {142, "ps2"},      {129, "psp"},
        {148, "pce"}, {131, "wsc"}, {126, "fba"}, {123, "mame"}, {146, "mameplus"},
    };
    for (const auto& [number, logo] : kLogos)
        if (number == system)
            return QStringLiteral("skin\\ui\\local_%1.png").arg(Q(logo));
    return QStringLiteral("skin\\ui\\DefaultGameIcon.png");
}

} // namespace

EmulatorPage::EmulatorPage(Parts parts, CPaintManagerUI& manager, WindowHandle window,
                           IDialogBuilderCallback* builder)
    : m_parts(std::move(parts)), m_manager(manager), m_window(window), m_builder(builder), m_runner(window)
{
    m_list = ControlAs<CListUI>(Find(QStringLiteral("List_Emulator")));
}

EmulatorPage::~EmulatorPage() = default;

CControlUI* EmulatorPage::Find(const QString& name) const
{
    return m_manager.FindControl(name);
}

void EmulatorPage::Say(const char* text)
{
    MessageBox(m_window, Q(Tr(text)), Q(Tr("提示")), MB_OK | MB_ICONINFORMATION);
}

void EmulatorPage::Start()
{
    if (CControlUI* empty = Find(QStringLiteral("Lb_EmuEmpty")))
        empty->SetText(Q(Tr("正在获取模拟器列表…")));
    Engines& engines = m_parts.engines;
    StartTask(EmulatorTask::Load, {}, [&engines] {
        engines.LoadedEmulators();
        return true;
    });
}

bool EmulatorPage::StartTask(EmulatorTask task, const std::string& id, std::function<bool()> work)
{
    if (m_runner.Start(task, id, std::move(work)))
        return true;
    Say(TrNoop("请等待当前的模拟器操作完成"));
    return false;
}

void EmulatorPage::OnTaskDone(const EmulatorTaskDone& done)
{
    if (done.task == EmulatorTask::Load) {
        m_loaded = true;
        m_parts.engines.Emulators().RefreshAsync(m_window);
        Fill();
        return;
    }
    if (done.task == EmulatorTask::Reset) {
        if (done.succeeded)
            Say(TrNoop("已恢复默认设置"));
        return;
    }
    // Install, update and removal change what an item shows; the registry knows the outcome.
    for (const Shown& shown : m_shown)
        if (shown.record.EmulatorId == done.emulatorId)
            ShowInstalledState(shown);
}

void EmulatorPage::OnListRefreshed()
{
    Fill();
}

void EmulatorPage::ShowSystem(int system)
{
    m_system = system;
    if (auto* tree = ControlAs<CTreeViewUI>(Find(QStringLiteral("Tree_EmulatorList")))) {
        for (int i = 0; i < tree->GetCount(); ++i) {
            CControlUI* node = tree->GetItemAt(i);
            if (node && static_cast<int>(node->GetTag()) == system) {
                tree->SelectItem(i, false, false);
                break;
            }
        }
    }
    Fill();
}

void EmulatorPage::Fill()
{
    if (!m_list)
        return;
    m_list->RemoveAll();
    m_shown.clear();
    if (CControlUI* title = Find(QStringLiteral("Lb_EmuSystem")))
        title->SetText(m_system ? QString::fromStdString(SystemNumberToCode(m_system)) : Q(Tr("请选择机种")));
    if (m_loaded && m_system) {
        // The server's offers, then installed ones it no longer lists, so they can still be removed.
        const CEmulatorManager& emulators = m_parts.engines.Emulators();
        for (EmulatorInfo& record : emulators.Available())
            if (record.Emulatortype == m_system)
                m_shown.push_back({std::move(record), nullptr});
        for (EmulatorInfo& record : emulators.Installed()) {
            const bool listed = std::any_of(m_shown.begin(), m_shown.end(), [&](const Shown& s) {
                return s.record.EmulatorId == record.EmulatorId;
            });
            if (record.Emulatortype == m_system && !listed)
                m_shown.push_back({std::move(record), nullptr});
        }
        for (std::size_t i = 0; i < m_shown.size(); ++i)
            AddItem(i);
    }
    const bool empty = m_shown.empty();
    m_list->SetVisible(!empty);
    if (CControlUI* placeholder = Find(QStringLiteral("Ctr_EmuEmpty")))
        placeholder->SetVisible(empty);
    if (CControlUI* logo = Find(QStringLiteral("Ctr_EmuEmptyLogo")))
        logo->SetBkImage(SystemLogo(m_system));
    if (CControlUI* text = Find(QStringLiteral("Lb_EmuEmpty")))
        text->SetText(Q(Tr(!m_loaded   ? TrNoop("正在获取模拟器列表…")
                           : !m_system ? TrNoop("请在左侧选择机种")
                                       : TrNoop("该机种暂无可用的模拟器"))));
}

void EmulatorPage::AddItem(std::size_t index)
{
    Shown& shown = m_shown[index];
    CDialogBuilder builder;
    CControlUI* item = builder.Create(kItemLayout, m_builder, &m_manager);
    if (!item)
        return;
    if (!m_list->Add(item))
        return;
    shown.item = item;
    const auto sub = [&](const char* name) { return m_manager.FindSubControlByName(item, Q(name)); };
    const EmulatorInfo& record = shown.record;
    if (CControlUI* logo = sub("Ctr_EmulatroLogo"))
        logo->SetBkImage(SystemLogo(record.Emulatortype));
    if (CControlUI* name = sub("Lb_EmulatorName"))
        name->SetText(QString::fromStdU16String(record.Name));
    if (CControlUI* version = sub("Lb_EmulatorVersion"))
        version->SetText(QString::fromStdString(EmulatorVersionLine(record)));
    if (CControlUI* date = sub("Lb_EmulatorUpdate"))
        date->SetText(QString::fromStdString(EmulatorDateLine(record)));
    if (CControlUI* notes = sub("Rd_Description")) {
        const QString description = QString::fromStdU16String(record.Description);
        notes->SetText(description.isEmpty() ? Q(Tr("暂无说明")) : description.simplified());
        notes->SetToolTip(QString::fromStdString(EmulatorDescription(record)));
    }
    for (const char* button : {"Btn_DownloadEmu", "Btn_EmuSet", "Btn_Option"})
        if (CControlUI* control = sub(button))
            control->SetTag(index);
    ShowInstalledState(shown);
}

void EmulatorPage::ShowInstalledState(const Shown& shown)
{
    if (!shown.item)
        return;
    const bool installed = m_parts.engines.Emulators().FindInstalled(shown.record.EmulatorId).has_value();
    const auto sub = [&](const char* name) { return m_manager.FindSubControlByName(shown.item, Q(name)); };
    if (CControlUI* download = sub("Btn_DownloadEmu"))
        download->SetVisible(!installed);
    if (CControlUI* set = sub("Btn_EmuSet"))
        set->SetVisible(installed);
    if (CControlUI* more = sub("Btn_Option"))
        more->SetVisible(installed);
    if (CControlUI* state = sub("Lb_EmulatorState")) {
        state->SetText(Q(Tr("已安装")));
        state->SetVisible(installed);
    }
}

CControlUI* EmulatorPage::Item(const std::string& emulatorId) const
{
    for (const Shown& shown : m_shown)
        if (shown.record.EmulatorId == emulatorId)
            return shown.item;
    return nullptr;
}

const EmulatorPage::Shown* EmulatorPage::ShownFor(CControlUI* sender) const
{
    const std::size_t index = sender->GetTag();
    if (index >= m_shown.size() || !m_shown[index].item)
        return nullptr;
    return &m_shown[index];
}

bool EmulatorPage::Notify(TNotifyUI& msg)
{
    if (!msg.pSender)
        return false;
    const QString name = msg.pSender->GetName();
    if (msg.sType == DUI_MSGTYPE_ITEMCLICK) {
        if (!ControlAs<CTreeNodeUI>(msg.pSender) || msg.pSender->GetTag() == 0)
            return false;
        m_system = static_cast<int>(msg.pSender->GetTag());
        Fill();
        return true;
    }
    if (msg.sType != DUI_MSGTYPE_CLICK)
        return false;
    if (name == QLatin1String("Btn_Refresh")) {
        if (m_loaded && !m_parts.engines.Emulators().RefreshAsync(m_window))
            Say(TrNoop("模拟器列表正在更新,请稍候"));
        return true;
    }
    if (name == QLatin1String("Btn_ResetXinput") || name == QLatin1String("Btn_ResetKeyboard")) {
        ResetEveryEmulator(name == QLatin1String("Btn_ResetXinput") ? kInputKindGamepad : kInputKindKeyboard);
        return true;
    }
    if (name != QLatin1String("Btn_DownloadEmu") && name != QLatin1String("Btn_EmuSet") &&
        name != QLatin1String("Btn_Option"))
        return false;
    if (const Shown* shown = ShownFor(msg.pSender))
        OnItemCommand(name, *shown, msg.pSender);
    return true;
}

void EmulatorPage::OnItemCommand(const QString& command, const Shown& shown, CControlUI* button)
{
    // A copy: the page may be refilled while a command's dialog shows.
    const EmulatorInfo record = shown.record;
    CEmulatorManager& emulators = m_parts.engines.Emulators();
    EmulatorHost& host = m_parts.host;
    const WindowHandle window = m_window;
    QString chosen = command;
    if (command == QLatin1String("Btn_Option")) {
        QWidget* widget = m_manager.GetPaintWindow();
        const QPoint at = widget ? widget->mapToGlobal(button->GetPos().bottomLeft()) : QPoint();
        chosen = CMenuWnd::TrackPopupMenu(m_window, kMenuLayout, at, m_builder);
    }
    if (chosen == QLatin1String("Btn_DownloadEmu") || chosen == QLatin1String("Menu_DownloadEmu")) {
        Install(record);
    } else if (chosen == QLatin1String("Btn_EmuSet") || chosen == QLatin1String("Menu_SetEmu")) {
        RunStandalone(record);
    } else if (chosen == QLatin1String("Menu_UpdateEmu")) {
        if (RefuseWhileRunning())
            return;
        // The offer is the server's entry; an emulator it no longer lists has nothing to update to.
        const std::optional<EmulatorInfo> offered = emulators.FindAvailable(record.EmulatorId);
        if (!offered) {
            Say(TrNoop("服务器上暂无该模拟器的更新"));
            return;
        }
        StartTask(EmulatorTask::Update, record.EmulatorId, [&emulators, &host, offered, window] {
            return emulators.CheckUpdate(&*offered, window, host) == CEmulatorManager::UpdateResult::Updated;
        });
    } else if (chosen == QLatin1String("Menu_OpenEmuDir")) {
        if (!emulators.OpenFolder(record))
            Say(TrNoop("无法打开模拟器所在的文件夹"));
    } else if (chosen == QLatin1String("Menu_SetDefault")) {
        RestoreDefaults(record);
    } else if (chosen == QLatin1String("Menu_DelEmu")) {
        if (RefuseWhileRunning())
            return;
        StartTask(EmulatorTask::Uninstall, record.EmulatorId,
                  [&emulators, &host, record, window] { return emulators.Uninstall(record, window, host); });
    }
}

void EmulatorPage::Install(const EmulatorInfo& record)
{
    CEmulatorManager& emulators = m_parts.engines.Emulators();
    EmulatorHost& host = m_parts.host;
    const WindowHandle window = m_window;
    StartTask(EmulatorTask::Install, record.EmulatorId,
              [&emulators, &host, record, window] { return emulators.Install(record, window, host); });
}

void EmulatorPage::RunStandalone(const EmulatorInfo& record)
{
    const std::string handle = m_parts.handleType();
    if (handle != "1" && handle != "2") {
        Say(TrNoop("请先在“常规设置”中选择控制方式(手柄或键盘),再设置模拟器"));
        return;
    }
    CEmulatorManager& emulators = m_parts.engines.Emulators();
    if (emulators.IsStandaloneRunning()) {
        Say(TrNoop("已有模拟器正在单独运行,请先关闭它"));
        return;
    }
    if (m_parts.engines.Launcher().IsBusy()) {
        Say(TrNoop("游戏正在运行,请先退出游戏"));
        return;
    }
    // The run reads the control method from the settings file: what the window shows must be there.
    m_parts.saveSettings();
    if (!emulators.RunStandalone(record))
        Say(TrNoop("无法启动该模拟器,请尝试重新下载"));
}

bool EmulatorPage::RefuseWhileRunning()
{
    // A running emulator reads and writes its files: restoring or removing them now would lose or
    // corrupt what it saves when it ends.
    if (!m_parts.engines.Launcher().IsBusy() && !m_parts.engines.Emulators().IsStandaloneRunning())
        return false;
    Say(TrNoop("游戏或模拟器正在运行,请关闭后再试"));
    return true;
}

void EmulatorPage::RestoreDefaults(const EmulatorInfo& record)
{
    if (RefuseWhileRunning())
        return;
    if (MessageBox(m_window, Q(Tr("是否恢复默认设置")), Q(Tr("提示")), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // With no control method chosen yet there is no "current" kind: both go back to the defaults.
    const std::string handle = m_parts.handleType();
    std::vector<int> kinds;
    if (handle == "1")
        kinds = {kInputKindGamepad};
    else if (handle == "2")
        kinds = {kInputKindKeyboard};
    else
        kinds = {kInputKindGamepad, kInputKindKeyboard};
    const std::string folder = m_parts.engines.Emulators().EmulatorFolder(record);
    if (folder.empty())
        return;
    StartTask(EmulatorTask::Reset, record.EmulatorId, [record, folder, kinds] {
        const EmulatorConfig config(folder);
        for (const int kind : kinds)
            config.ResetUserFolder(record, kind);
        return true;
    });
}

void EmulatorPage::ResetEveryEmulator(int kind)
{
    if (RefuseWhileRunning())
        return;
    if (MessageBox(m_window, Q(Tr("是否恢复默认")), Q(Tr("提示")), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CEmulatorManager& emulators = m_parts.engines.Emulators();
    StartTask(EmulatorTask::Reset, {}, [&emulators, kind] {
        for (const EmulatorInfo& record : emulators.Installed()) {
            const std::string folder = emulators.EmulatorFolder(record);
            if (!folder.empty())
                EmulatorConfig(folder).ResetUserFolder(record, kind);
        }
        return true;
    });
}

bool EmulatorPage::ConfirmClose()
{
    if (m_runner.IsBusy()) {
        Say(TrNoop("模拟器正在安装或更新,请等待完成后再关闭"));
        return false;
    }
    CEmulatorManager& emulators = m_parts.engines.Emulators();
    if (!emulators.IsStandaloneRunning())
        return true;
    if (MessageBox(m_window,
                   Q(Tr("模拟器正在运行,关闭设置窗口会结束它,模拟器中尚未保存的设置将会丢失。是否关闭?")),
                   Q(Tr("提示")), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    emulators.EndStandalone();
    return true;
}

} // namespace ravelo
