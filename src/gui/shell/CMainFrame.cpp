#include "gui/shell/CMainFrame.h"

#include "app/Engines.h"
#include "controls/CWindowContainerUI.h"
#include "download/DownloadManager.h"
#include "download/DownloadMessages.h"
#include "emulator/CGameLauncher.h"
#include "emulator/EmulatorMessages.h"
#include "gui/catalogue/CFeaturedFrame.h"
#include "gui/catalogue/CGameInfoFrameNew.h"
#include "gui/catalogue/CGameListPage.h"
#include "gui/catalogue/CSpecialFrame.h"
#include "gui/catalogue/CSuggestionFrame.h"
#include "gui/catalogue/CatalogueWorker.h"
#include "gui/common/GuiMessages.h"
#include "gui/common/UiProbe.h"
#include "gui/downloads/CDownLoadFrameNew.h"
#include "gui/play/CGamePadTestFrame.h"
#include "gui/play/CKeyMapTipsFrame.h"
#include "gui/play/CMyGameFrame.h"
#include "gui/settings/CSelfUpdate.h"
#include "gui/settings/CSystemSetFrame.h"
#include "gui/shell/CEmuFilterUI.h"
#include "gui/shell/GuiPrompts.h"
#include "gui/shell/MainFrameView.h"
#include "gui/shell/PromptBroker.h"
#include "input/InputMessages.h"
#include "input/PadCountWatcher.h"
#include "platform/Translate.h"
#include "service/PageViewPinger.h"
#include "service/PortalPages.h"
#include "settings/AppPaths.h"
#include "settings/AppSettings.h"
#include "settings/UserIdentity.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"

#include <QEvent>
#include <QIcon>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace ravelo {

using namespace UiLib;

namespace {

constexpr int kHomeTab = 0;
constexpr int kCategoryTab = 1;
constexpr int kSearchTab = 2;
constexpr int kMyGamesTab = 3;

// The tray menu's items.
constexpr std::uintptr_t kTrayShowMain = 1;
constexpr std::uintptr_t kTrayExit = 2;
constexpr int kSpecialTab = 4;

QString Q(const char* text)
{
    return QString::fromUtf8(text);
}

/// Runs a step once the window has painted for the first time, from the event loop.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QObject* parent, std::function<void()> step) : QObject(parent), m_step(std::move(step)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                m_step();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> m_step;
};

} // namespace

CMainFrame::CMainFrame(Parts parts)
    : m_parts(parts), m_catalogueWorker(std::make_unique<CatalogueWorker>(parts.engines.Catalogue()))
{
    // The pages are made while the layout is built, so the factory must be in place before.
    CWindowContainerUI::SetFrameFactory([this](const QString& frameName) { return MakePage(frameName); });
}

CMainFrame::~CMainFrame()
{
    CWindowContainerUI::SetFrameFactory(nullptr);
    if (GetHWND())
        m_parts.engines.Downloads().RemoveCountWatcher(GetHWND());
    CloseOwnedWindows();
}

void CMainFrame::CloseOwnedWindows()
{
    if (m_downloadCentre)
        m_downloadCentre->Destroy();
    if (m_tips && m_tips->GetHWND())
        m_tips->Close(0);
}

QString CMainFrame::GetSkinFile()
{
    return QStringLiteral("skin\\xmls\\MainDialog.xml");
}

QString CMainFrame::GetWindowClassName() const
{
    return QStringLiteral("RaveloMainFrame");
}

CControlUI* CMainFrame::CreateControl(const QString& className)
{
    return CreateShellControl(className);
}

std::unique_ptr<CWindowWnd> CMainFrame::MakePage(const QString& frameName)
{
    CataloguePageContext context{
        m_parts.engines, m_parts.actions, GetHWND(),
        [this](const CGame& game, WindowHandle parent) { OpenGameDetail(game, parent); }};
    if (frameName == QLatin1String("FeaturedFrame"))
        return std::make_unique<CFeaturedFrame>(context);
    if (frameName == QLatin1String("SpecialFrame"))
        return std::make_unique<CSpecialFrame>(context);
    if (frameName == QLatin1String("ClassificationFrame"))
        return std::make_unique<CGameListPage>(context, false);
    if (frameName == QLatin1String("SearchFrame"))
        return std::make_unique<CGameListPage>(context, true);
    if (frameName == QLatin1String("MyGameFrame"))
        return std::make_unique<CMyGameFrame>(m_parts.engines, m_parts.starter, GetHWND());
    return nullptr; // a page that is not built leaves its container empty; the tab still switches
}

int CMainFrame::Run()
{
    if (!Create(0, QStringLiteral("Ravelo"), UI_WNDSTYLE_FRAME, WS_EX_WINDOWEDGE))
        return -1;
    SetIcon(QIcon(QPixmap(QStringLiteral(":/skin/ui/logo.png"))));
    CenterWindow();
    UiProbe::WatchFirstPaint(GetWidget());
    return RunUntilClosed();
}

CWindowWnd* CMainFrame::Page(const QString& frameName)
{
    for (const char* name : {"Ctr_Featured", "Ctr_Classification", "Ctr_Search", "Ctr_MyGame", "Ctr_Special"})
        if (auto* container = ControlAs<CWindowContainerUI>(m_PaintManager.FindControl(Q(name))))
            if (container->GetFrameName() == frameName)
                return container->GetWindow();
    return nullptr;
}

CGameListPage* CMainFrame::CategoryPage()
{
    return dynamic_cast<CGameListPage*>(Page(QStringLiteral("ClassificationFrame")));
}

CGameListPage* CMainFrame::SearchPage()
{
    return dynamic_cast<CGameListPage*>(Page(QStringLiteral("SearchFrame")));
}

void CMainFrame::InitWindow()
{
    m_tabs = m_PaintManager.FindControl(QStringLiteral("Tab_HomePage"));
    m_classification =
        ControlAs<CEmuFilterUI>(m_PaintManager.FindControl(QStringLiteral("Et_Classification")));
    m_myGames = ControlAs<CEmuFilterUI>(m_PaintManager.FindControl(QStringLiteral("Et_MyGame")));
    if (CControlUI* version = m_PaintManager.FindControl(QStringLiteral("Lb_Version")))
        version->SetText(QStringLiteral("v") + Q(AppVersion));

    m_parts.prompts.SetDefaultOwner(GetHWND());
    m_downloadCentre =
        std::make_unique<CDownLoadFrameNew>(m_parts.engines.Downloads(), m_parts.engines.Pictures());
    const WindowHandle centre = m_downloadCentre->CreateHidden(GetHWND());
    m_tips = std::make_unique<CKeyMapTipsFrame>();
    m_tips->Create(0); // no owner: it stays beside the game while this window is in the tray
    m_selfUpdate = std::make_unique<CSelfUpdate>();

    DownloadManager& downloads = m_parts.engines.Downloads();
    downloads.SetPrompts(&m_parts.prompts);
    if (CWindowWnd* myGames = Page(QStringLiteral("MyGameFrame")))
        downloads.SetInstalledGamesWindow(myGames->GetHWND());
    downloads.Start(GetHWND(), centre);
    downloads.AddCountWatcher(GetHWND());
    // Starting the input thread opens the controller library, which takes a while; the window
    // paints first.
    if (QWidget* widget = GetWidget())
        widget->installEventFilter(new AfterFirstPaint(widget, [this] {
            m_padCount = std::make_unique<PadCountWatcher>(m_parts.engines.Input(), GetHWND());
        }));

    if (m_tray.CreateTrayIcon(GetHWND(), QIcon(QPixmap(QStringLiteral(":/skin/ui/logo.png"))),
                              QStringLiteral("Ravelo")))
        m_tray.SetMenu({{kTrayShowMain, QString::fromUtf8(Tr("显示主界面")),
                         QIcon(QPixmap(QStringLiteral(":/skin/ui/logo_small.png")))},
                        {},
                        {kTrayExit, QString::fromUtf8(Tr("退出")),
                         QIcon(QPixmap(QStringLiteral(":/skin/ui/icon_close_dark.png")))}});

    PageViewPinger& pageViews = m_parts.engines.PageViews();
    pageViews.Send(PortalHomePage());
    if (!UserIdentity().IsRegistered())
        pageViews.Send(NewUserPage());

    ShowHomePage(kHomeTab);
}

void CMainFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        if (AppSettings().UpdateType != "0")
            m_selfUpdate->Check(GetHWND());
        // The first start: the settings window opens on the games folder, proposing one.
        if (AppSettings().RomPath.empty())
            OpenSettings(true);
        return;
    }
    if (!msg.pSender)
        return;
    const QString name = msg.pSender->GetName();
    if (msg.sType == DUI_MSGTYPE_RETURN && name == QLatin1String("Ed_SearchKeyWord")) {
        StartSearch();
        return;
    }
    if (msg.sType == DUI_MSGTYPE_SELECTCHANGED) {
        OnSwitchChanged(msg);
        return;
    }
    if (msg.sType != DUI_MSGTYPE_CLICK)
        return;
    if (name == QLatin1String("Btn_Close"))
        RequestClose(false);
    else if (name == QLatin1String("Btn_Min"))
        ravelo::PostMessage(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE);
    else if (name == QLatin1String("Btn_Search"))
        StartSearch();
    else if (name == QLatin1String("Btn_DownLoad") && m_downloadCentre)
        m_downloadCentre->ShowAndActivate();
    else if (name == QLatin1String("Btn_Suggestion"))
        CSuggestionFrame(*m_catalogueWorker).ShowModalOver(GetHWND());
    else if (name == QLatin1String("Btn_GamePad"))
        CGamePadTestFrame(m_parts.engines.Input()).ShowModalOver(GetHWND());
    else if (name == QLatin1String("Btn_Set"))
        OpenSettings(false);
    else if (ControlAs<CEmuTypeUI>(msg.pSender))
        OnSystemOption(msg.pSender);
}

void CMainFrame::OnSwitchChanged(TNotifyUI& msg)
{
    auto* option = ControlAs<COptionUI>(msg.pSender);
    if (!option)
        return;
    // An entry opens while its header is selected.
    for (CEmuFilterUI* entry : {m_classification, m_myGames})
        if (entry && entry->Header() == option)
            entry->SetExpanded(option->IsSelected());
    if (!option->IsSelected())
        return;
    PageViewPinger& pageViews = m_parts.engines.PageViews();
    if (m_classification && option == m_classification->Header())
        pageViews.Send(FindGamePage());
    else if (m_myGames && option == m_myGames->Header())
        pageViews.Send(MyGamePage());
    else if (option->GetName() == QLatin1String("Opt_Choice"))
        pageViews.Send(FeaturedPage());
}

void CMainFrame::OnSystemOption(CControlUI* option)
{
    int grid = 0;
    int index = 0;
    if (m_classification && m_classification->Locate(option, grid, index)) {
        CWindowWnd* page =
            grid == 1 ? Page(QStringLiteral("ClassificationFrame")) : Page(QStringLiteral("SearchFrame"));
        if (page)
            ravelo::PostMessage(page->GetHWND(), UM_EMULATOR_FILTER, static_cast<std::uintptr_t>(index),
                                std::make_unique<std::uintptr_t>(grid == 1 ? 0 : 2));
    } else if (m_myGames && m_myGames->Locate(option, grid, index)) {
        if (CWindowWnd* page = Page(QStringLiteral("MyGameFrame")))
            ravelo::PostMessage(page->GetHWND(), UM_EMULATOR_FILTER, static_cast<std::uintptr_t>(index),
                                std::make_unique<std::uintptr_t>(grid));
    }
}

void CMainFrame::StartSearch()
{
    CControlUI* box = m_PaintManager.FindControl(QStringLiteral("Ed_SearchKeyWord"));
    if (!box)
        return;
    const std::string keyword = box->GetText().trimmed().toStdString();
    if (!IsSearchText(keyword))
        return;
    if (auto* tabs = ControlAs<CTabLayoutUI>(m_tabs))
        tabs->SelectItem(kSearchTab);
    if (m_classification) {
        if (COptionUI* header = m_classification->Header()) {
            header->SetBindTabIndex(kSearchTab);
            header->Selected(true, false);
        }
        m_classification->SetExpanded(true);
        m_classification->SelectGrid(1);
    }
    if (CWindowWnd* page = Page(QStringLiteral("SearchFrame")))
        ravelo::PostMessage(page->GetHWND(), UM_SEARCH_KEYWORD, 0, std::make_unique<std::string>(keyword));
}

void CMainFrame::ShowCategoryPage()
{
    if (m_classification) {
        m_classification->SelectGrid(0);
        if (COptionUI* header = m_classification->Header()) {
            header->SetBindTabIndex(kCategoryTab);
            header->Selected(true, false);
        }
        m_classification->SetExpanded(true);
    }
    if (auto* tabs = ControlAs<CTabLayoutUI>(m_tabs))
        tabs->SelectItem(kCategoryTab);
}

void CMainFrame::OpenGameDetail(const CGame& game, WindowHandle parent)
{
    CGameInfoFrameNew(m_parts.engines, m_parts.actions, *m_catalogueWorker, game).ShowModalOver(parent);
}

void CMainFrame::ShowHomePage(int tab)
{
    // The left bar's first entry stays selected for the home page and for a topic opened from it.
    if (auto* choice = ControlAs<COptionUI>(m_PaintManager.FindControl(QStringLiteral("Opt_Choice")))) {
        choice->SetBindTabIndex(tab);
        choice->Selected(true, false);
    }
    for (CEmuFilterUI* entry : {m_classification, m_myGames})
        if (entry)
            entry->SetExpanded(false);
    if (auto* tabs = ControlAs<CTabLayoutUI>(m_tabs))
        tabs->SelectItem(tab);
}

void CMainFrame::SelectCategoryEntry()
{
    if (!m_classification)
        return;
    if (COptionUI* header = m_classification->Header(); header && !header->IsSelected()) {
        header->Selected(true, false);
        m_classification->SetExpanded(true);
    }
}

LRESULT CMainFrame::HandleMessage(Message& message, bool& handled)
{
    handled = true;
    switch (message.id) {
    case UM_DOWNLOAD_COUNT:
        SetButtonCount(QStringLiteral("Btn_DownLoad"), Tr("下载中心"), static_cast<int>(message.wParam));
        return 0;
    case UM_GAMEPAD_COUNT:
        SetButtonCount(QStringLiteral("Btn_GamePad"), Tr("手柄连接"), static_cast<int>(message.wParam));
        return 0;
    case UM_SELECT_CATEGORY_ENTRY:
        SelectCategoryEntry();
        return 0;
    case UM_SHOW_CATEGORY_PAGE:
        ShowCategoryPage();
        return 0;
    case UM_SHOW_HOME_PAGE:
        ShowHomePage(kHomeTab);
        return 0;
    case UM_SHOW_SPECIAL:
        ShowHomePage(kSpecialTab);
        if (CWindowWnd* page = Page(QStringLiteral("SpecialFrame"))) {
            std::unique_ptr<std::u16string> title = message.TakePayload<std::u16string>();
            ravelo::PostMessage(page->GetHWND(), UM_OPEN_SPECIAL, message.wParam,
                                title ? std::move(title) : std::make_unique<std::u16string>());
        }
        return 0;
    case UM_SELECT_MYGAME_GRID:
        if (m_myGames && message.wParam >= 1)
            m_myGames->SelectGrid(static_cast<int>(message.wParam) - 1);
        return 0;
    case UM_SHOW_MAIN_WINDOW:
        ShowAndActivate();
        return 0;
    case kGameLaunchState:
        ShowGameTips(message.wParam != 0);
        return 0;
    case WM_CLOSE:
        if (message.wParam == static_cast<WPARAM>(kDialogExitForUpdate)) {
            // The updater waits for this program to end: close for real, asking nothing.
            m_parts.broker.Shutdown();
            CloseOwnedWindows();
        }
        break;
    case UIMSG_TRAYICON:
        // A right click opens the icon's menu, which the desktop shows itself.
        if (message.wParam == WM_LBUTTONUP)
            ShowAndActivate();
        return 0;
    case UIMSG_TRAYMENU:
        if (message.wParam == kTrayShowMain)
            ShowAndActivate();
        else if (message.wParam == kTrayExit)
            RequestClose(true);
        return 0;
    case WM_SYSCOMMAND:
        if (message.wParam == SC_CLOSE) {
            // Alt+F4 and the window manager's close button hide the window, whatever IsTray says.
            HideToTray();
            return 0;
        }
        break;
    default:
        break;
    }
    handled = false;
    return WindowImplBase::HandleMessage(message, handled);
}

void CMainFrame::SetButtonCount(const QString& button, const char* label, int count)
{
    if (CControlUI* control = m_PaintManager.FindControl(button))
        control->SetText(QString::fromStdString(CountButtonText(label, count)));
}

void CMainFrame::ShowAndActivate()
{
    if (QWidget* widget = GetWidget()) {
        if (IsMinimized())
            Restore();
        widget->show();
    }
    Activate();
}

void CMainFrame::RequestClose(bool forced)
{
    const AppSettings settings;
    if (settings.IsTray == "1" && !forced) {
        HideToTray();
        return;
    }
    if (m_parts.engines.Downloads().CountRunning() > 0 &&
        MessageBox(GetHWND(), Q(Tr("有下载任务进行中是否退出")), Q(Tr("提示")), MB_YESNO | MB_ICONQUESTION) !=
            IDYES)
        return;
    // A question on screen is answered "closed" first: its modal loop must end before this one.
    m_parts.broker.Shutdown();
    CloseOwnedWindows();
    Close(IDOK);
}

void CMainFrame::HideToTray()
{
    if (m_downloadCentre)
        m_downloadCentre->Hide();
    m_tray.HideWindowToTray(*this);
}

void CMainFrame::ShowGameTips(bool show)
{
    if (!m_tips)
        return;
    if (!show) {
        m_tips->Hide();
        return;
    }
    const CGameLauncher& launcher = m_parts.engines.Launcher();
    m_tips->ShowForGame(launcher.GetCurrentSystem(), launcher.GetCurrentInputKind());
}

void CMainFrame::OpenSettings(bool firstRun)
{
    CSystemSetFrame settings({m_parts.engines, m_parts.prompts});
    settings.SetFirstRun(firstRun);
    // The self-update started its updater from inside the window: end the program for it.
    if (settings.ShowModalOver(GetHWND(), Q(Tr("系统设置"))) == kDialogExitForUpdate)
        ravelo::PostMessage(GetHWND(), WM_CLOSE, static_cast<WPARAM>(kDialogExitForUpdate));
}

} // namespace ravelo
