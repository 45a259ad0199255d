#include "gui/settings/CSystemSetFrame.h"

#include "app/Engines.h"
#include "emulator/EmulatorMessages.h"
#include "emulator/PadExitCombo.h"
#include "gui/common/GuiMessages.h"
#include "gui/downloads/CDownLoadPopFrame.h"
#include "gui/settings/CSelfUpdate.h"
#include "gui/settings/EmulatorPage.h"
#include "gui/settings/SettingsMessages.h"
#include "platform/AutoStart.h"
#include "platform/DesktopOpen.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Translate.h"
#include "service/ServiceEndpoints.h"
#include "settings/AppPaths.h"
#include "uilib/CControlUI.h"
#include "uilib/COptionUI.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/UiDefines.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"
#include "update/PrerequisiteDetection.h"
#include "update/SetupTask.h"
#include "update/SetupWorker.h"

#include <QCoreApplication>

#include <cstdlib>

namespace ravelo {

using namespace UiLib;

namespace {

QString Q(const char* text)
{
    return QString::fromUtf8(text);
}

const char* const kTabs[] = {"Opt_CommonSet", "Opt_EmuSet", "Opt_Plugin", "Opt_DownloadUpdate"};

struct Component
{
    SetupTask task;
    const char* status;
    const char* button;
};

const Component kComponents[] = {
    {SetupTask::Vc2005, "Tx_IsInstallVc2005", "Btn_InstallVc2005"},
    {SetupTask::Vc2008, "Tx_IsInstallVc2008", "Btn_InstallVc2008"},
    {SetupTask::Vc2010, "Tx_IsInstallVc2010", "Btn_InstallVc2010"},
    {SetupTask::Vc2012, "Tx_IsInstallVc2012", "Btn_InstallVc2012"},
    {SetupTask::DirectX9c, "Tx_IsInstalledDx", "Btn_InstallDx"},
    {SetupTask::XInputDriver, "Tx_IsInstalledXinput", "Btn_InstallXinput"},
};

} // namespace

CSystemSetFrame::CSystemSetFrame(Parts parts)
    : CSkinDialog(QStringLiteral("skin\\xmls\\SystemSetDialog.xml"), QStringLiteral("SystemSetFrame")),
      m_parts(std::move(parts)),
      m_settingsFile(m_parts.settingsFile.empty() ? SettingsFilePath : m_parts.settingsFile),
      m_saved(m_settingsFile)
{
    m_savedPadCombo = ReadProfileString(m_settingsFile, "Set", PadExitCombo::kSettingKey, "1");
    m_romPath = m_saved.RomPath;
}

CSystemSetFrame::~CSystemSetFrame() = default;

COptionUI* CSystemSetFrame::Option(const char* name)
{
    return ControlAs<COptionUI>(Find(Q(name)));
}

void CSystemSetFrame::Say(const std::string& text)
{
    MessageBox(GetHWND(), QString::fromStdString(text), Q(Tr("提示")), MB_OK | MB_ICONINFORMATION);
}

void CSystemSetFrame::InitWindow()
{
    EmulatorPage::Parts page{m_parts.engines, m_parts.host, [this] { return EditedSettings().HandleType; },
                             [this] { SaveSettings(); }};
    m_emulators = std::make_unique<EmulatorPage>(std::move(page), m_PaintManager, GetHWND(), this);
    m_selfUpdate = std::make_unique<CSelfUpdate>();
    ShowSettings();
    if (m_romPath.empty())
        ProposeGamesFolder();
    if (CControlUI* path = Find(QStringLiteral("Ed_DownloadPath")))
        path->SetText(QString::fromStdString(m_romPath));
    if (CControlUI* version = Find(QStringLiteral("Tx_Version")))
        version->SetText(QStringLiteral("v") + Q(AppVersion));
    if (CControlUI* tip = Find(QStringLiteral("Hl_FirstRun")))
        tip->SetVisible(m_firstRun);
    ShowComponents();
    m_emulators->Start();
}

void CSystemSetFrame::ShowSettings()
{
    const SettingsOptions options = OptionsFromSettings(m_saved, m_savedPadCombo);
    const auto show = [this](const char* name, bool selected) {
        if (COptionUI* option = Option(name))
            option->Selected(selected, false);
    };
    show("Opt_AutoRun", options.autoRun);
    show("Opt_Tray", options.tray);
    show("Opt_Exit", options.exit);
    show("Opt_Xinput", options.xinput);
    show("Opt_Keyboard", options.keyboard);
    show("Opt_ShowKeyMap", options.showKeyMap);
    show("Opt_HideKeyMap", options.hideKeyMap);
    show("Opt_AutoUpdate", options.autoUpdate);
    show("Opt_ManualUpdate", options.manualUpdate);
    show("Opt_PadExitCombo", options.padExitCombo);
    show("Opt_LanguageSystem", options.languageSystem);
    show("Opt_LanguageChinese", options.languageChinese);
    show("Opt_LanguageEnglish", options.languageEnglish);
}

SettingsOptions CSystemSetFrame::ReadOptions()
{
    const auto selected = [this](const char* name) {
        const COptionUI* option = Option(name);
        return option && option->IsSelected();
    };
    SettingsOptions options;
    options.autoRun = selected("Opt_AutoRun");
    options.tray = selected("Opt_Tray");
    options.exit = selected("Opt_Exit");
    options.xinput = selected("Opt_Xinput");
    options.keyboard = selected("Opt_Keyboard");
    options.showKeyMap = selected("Opt_ShowKeyMap");
    options.hideKeyMap = selected("Opt_HideKeyMap");
    options.autoUpdate = selected("Opt_AutoUpdate");
    options.manualUpdate = selected("Opt_ManualUpdate");
    options.padExitCombo = selected("Opt_PadExitCombo");
    options.languageSystem = selected("Opt_LanguageSystem");
    options.languageChinese = selected("Opt_LanguageChinese");
    options.languageEnglish = selected("Opt_LanguageEnglish");
    return options;
}

AppSettings CSystemSetFrame::EditedSettings()
{
    AppSettings edited = m_saved;
    ApplyOptions(ReadOptions(), edited);
    edited.RomPath = m_romPath;
    return edited;
}

void CSystemSetFrame::SaveSettings()
{
    const AppSettings edited = EditedSettings();
    if (!edited.SaveChanges(m_saved))
        Say(Tr("设置保存失败,请检查配置文件是否可写"));
    m_saved = edited;
    const std::string combo = PadExitComboValue(ReadOptions());
    if (combo != m_savedPadCombo &&
        WriteProfileString(m_settingsFile, "Set", PadExitCombo::kSettingKey, combo))
        m_savedPadCombo = combo;
}

void CSystemSetFrame::ShowComponents()
{
    for (const Component& component : kComponents) {
        CControlUI* status = Find(Q(component.status));
        CControlUI* button = Find(Q(component.button));
        // Windows runtime packages: listed, but never offered where they cannot be installed.
        const bool applicable = IsSetupApplicable(component.task);
        const bool installed = applicable && IsPackageInstalled(component.task);
        if (status)
            status->SetText(Q(Tr(!applicable ? TrNoop("不适用")
                                 : installed ? TrNoop("已安装")
                                             : TrNoop("未安装"))));
        if (button) {
            button->SetVisible(applicable);
            button->SetText(Q(Tr(installed ? TrNoop("修复") : TrNoop("安装"))));
        }
    }
}

void CSystemSetFrame::ProposeGamesFolder()
{
    const char* home = std::getenv("HOME");
    const std::string proposed = ProposedGamesFolder(home ? home : "");
    std::string reason;
    if (PrepareGamesFolder(proposed, &reason))
        m_romPath = proposed;
    // Otherwise the edit stays empty and the first-run tip asks the user to pick one.
}

void CSystemSetFrame::PickGamesFolder()
{
    const QString chosen =
        BrowseForFolder(GetHWND(), Q(Tr("游戏下载目录")), QString::fromStdString(m_romPath));
    if (chosen.isEmpty())
        return;
    const std::string folder = GamesFolderForChoice(chosen.toStdString());
    std::string reason;
    if (folder.empty() || !PrepareGamesFolder(folder, &reason)) {
        Say(std::string(Tr("无法使用该文件夹作为游戏目录,请选择其他文件夹")) + "\n" + folder +
            (reason.empty() ? "" : "\n" + reason));
        return;
    }
    m_romPath = folder;
    if (CControlUI* path = Find(QStringLiteral("Ed_DownloadPath")))
        path->SetText(QString::fromStdString(m_romPath));
}

void CSystemSetFrame::OpenGamesFolder()
{
    if (m_romPath.empty() || !FolderExists(m_romPath)) {
        Say(Tr("游戏目录不存在,请先选择游戏目录"));
        return;
    }
    if (!OpenWithDesktop(m_romPath))
        Say(Tr("无法打开游戏目录"));
}

void CSystemSetFrame::InstallComponent(const QString& button)
{
    for (const Component& component : kComponents) {
        if (button != Q(component.button))
            continue;
        if (!IsSetupApplicable(component.task))
            return;
        SetupWorker worker(component.task, ServiceEndpoints::Load(m_settingsFile).PackageHost, DataFolder);
        const int result = RunSetupPopup(GetHWND(), worker);
        ShowComponents();
        if (result == kDialogExitForUpdate)
            Close(kDialogExitForUpdate);
        return;
    }
}

void CSystemSetFrame::SelectTab(int index)
{
    if (index < 0 || index > 3)
        return;
    if (COptionUI* option = Option(kTabs[index]); option && !option->IsSelected())
        option->Selected(true); // its "selectchanged" switches the page
}

void CSystemSetFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        if (m_firstRun)
            SelectTab(3);
        return;
    }
    if (m_emulators && m_emulators->Notify(msg))
        return;
    if (msg.sType == DUI_MSGTYPE_SELECTCHANGED && msg.pSender) {
        const QString name = msg.pSender->GetName();
        for (int i = 0; i < 4; ++i) {
            if (name != Q(kTabs[i]))
                continue;
            auto* option = ControlAs<COptionUI>(msg.pSender);
            if (!option || !option->IsSelected())
                return;
            if (auto* tabs = ControlAs<CTabLayoutUI>(Find(QStringLiteral("Tab_SystemSet"))))
                tabs->SelectItem(i);
            SaveSettings();
            return;
        }
        return;
    }
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender &&
        msg.pSender->GetName() == QLatin1String("Btn_Close")) {
        RequestClose();
        return;
    }
    CSkinDialog::Notify(msg);
}

void CSystemSetFrame::OnClick(const QString& name, TNotifyUI&)
{
    if (name == QLatin1String("Btn_PickDir"))
        PickGamesFolder();
    else if (name == QLatin1String("Btn_OpenDir"))
        OpenGamesFolder();
    else if (name == QLatin1String("Btn_Update"))
        m_selfUpdate->Check(GetHWND());
    else if (name.startsWith(QLatin1String("Btn_Install")))
        InstallComponent(name);
}

void CSystemSetFrame::RequestClose()
{
    if (m_emulators && !m_emulators->ConfirmClose())
        return;
    Close(kDialogClosed);
}

LRESULT CSystemSetFrame::HandleMessage(Message& message, bool& handled)
{
    switch (message.id) {
    case WM_KEYDOWN:
        if (message.wParam == static_cast<WPARAM>(Qt::Key_Escape)) {
            handled = true;
            RequestClose();
            return 0;
        }
        break;
    case UM_SETTINGS_TASK_DONE:
        if (const auto done = message.TakePayload<EmulatorTaskDone>(); done && m_emulators)
            m_emulators->OnTaskDone(*done);
        handled = true;
        return 0;
    case kEmulatorListRefreshed:
        if (m_emulators)
            m_emulators->OnListRefreshed();
        handled = true;
        return 0;
    case WM_CLOSE:
        Finish();
        break;
    default:
        break;
    }
    return CSkinDialog::HandleMessage(message, handled);
}

void CSystemSetFrame::Finish()
{
    if (m_finished || !m_emulators)
        return;
    m_finished = true;
    SaveSettings();
    if (!m_romPath.empty() && WithTrailingSeparator(m_romPath) != GamesFolder())
        m_parts.engines.ChangeGamesFolder(m_romPath);
    const std::string program =
        m_parts.program.empty() ? QCoreApplication::applicationFilePath().toStdString() : m_parts.program;
    // The entry follows the last state of the option; one that is off and absent needs nothing.
    const bool autoRun = m_saved.AutoRun == "1";
    std::string error;
    if ((autoRun || PathExists(AutoStartEntryPath())) && !SetAutoRun(autoRun, program, &error))
        Say(std::string(Tr("开机自启设置失败")) + "\n" + error);
}

} // namespace ravelo
