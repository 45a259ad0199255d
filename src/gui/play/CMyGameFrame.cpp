#include "gui/play/CMyGameFrame.h"

#include "app/Engines.h"
#include "controls/ControlFactory.h"
#include "download/DownloadManager.h"
#include "download/DownloadMessages.h"
#include "emulator/CGameLauncher.h"
#include "emulator/EmulatorMessages.h"
#include "gui/common/GuiMessages.h"
#include "gui/common/PictureSlots.h"
#include "gui/play/CDownLoadGameItemUI.h"
#include "gui/play/CDownLoadGameLayoutUI.h"
#include "gui/play/CDropTileLayoutUI.h"
#include "gui/play/CLocalGameItemUI.h"
#include "gui/play/CLocalGameLayoutUI.h"
#include "gui/play/CReNameFrame.h"
#include "gui/play/GameFileRemover.h"
#include "gui/play/GameStarter.h"
#include "gui/play/MyGameView.h"
#include "gui/play/PlayMessages.h"
#include "library/CMyGameStore.h"
#include "library/DropImporter.h"
#include "library/LocalGameFiles.h"
#include "library/LocalGameMessages.h"
#include "library/LocalScanWorker.h"
#include "platform/FileSystem.h"
#include "platform/Translate.h"
#include "service/PictureMessages.h"
#include "settings/AppPaths.h"
#include "store/LibraryDatabase.h"
#include "systems/SystemTable.h"
#include "uilib/CDialogBuilder.h"
#include "uilib/COptionUI.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"

#include <algorithm>

namespace ravelo {

using namespace UiLib;

namespace {

template <typename Item>
Item* ItemAbove(CControlUI* control)
{
    for (CControlUI* c = control; c; c = c->GetParent())
        if (Item* item = c->As<Item>())
            return item;
    return nullptr;
}

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

/// Lists show games by name, as a person looks for them.
template <typename Record>
void SortByName(std::vector<Record>& games)
{
    std::stable_sort(games.begin(), games.end(), [](const Record& a, const Record& b) {
        return QString::fromStdU16String(a.GameName)
                   .compare(QString::fromStdU16String(b.GameName), Qt::CaseInsensitive) < 0;
    });
}

} // namespace

CMyGameFrame::CMyGameFrame(Engines& engines, GameStarter& starter, WindowHandle mainWindow)
    : m_engines(engines), m_starter(starter), m_mainWindow(mainWindow)
{
}

CMyGameFrame::~CMyGameFrame()
{
    // The remover posts to this window; it finishes the deletion in progress first.
    m_remover.reset();
    m_pictures.reset();
}

CControlUI* CMyGameFrame::CreateControl(const QString& className)
{
    if (className == QLatin1String("DownLoadGameLayout"))
        return new CDownLoadGameLayoutUI;
    if (className == QLatin1String("LocalGameLayout"))
        return new CLocalGameLayoutUI;
    if (className == QLatin1String("DropTileLayout"))
        return new CDropTileLayoutUI;
    if (className == QLatin1String("DownLoadGameItem"))
        return new CDownLoadGameItemUI;
    if (className == QLatin1String("LocalGameItem"))
        return new CLocalGameItemUI;
    return CreateProgramControl(className);
}

void CMyGameFrame::InitWindow()
{
    m_pInstalledView =
        ControlAs<CDownLoadGameLayoutUI>(m_PaintManager.FindControl(QStringLiteral("DownloadGameView")));
    m_pLocalView = ControlAs<CLocalGameLayoutUI>(m_PaintManager.FindControl(QStringLiteral("LocalGameView")));
    m_pictures = std::make_unique<PictureSlots>(m_engines.Pictures(), GetHWND());
    m_remover = std::make_unique<GameFileRemover>(GetHWND(), kGameFilesRemoved);
}

void CMyGameFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        if (m_started)
            return;
        m_started = true;
        Refill(kInstalled);
        Refill(kLocal);
        // Games put into the system folders of the games folder join the list as they are found.
        m_engines.LocalScan().Start(GetHWND());
        return;
    }
    if (!msg.pSender)
        return;
    if (msg.sType == DUI_MSGTYPE_DROPFILES && msg.pSender == m_pLocalView) {
        OnDrop(msg.vFiles);
        return;
    }
    if (msg.sType == DUI_MSGTYPE_SELECTCHANGED) {
        const QString name = msg.pSender->GetName();
        auto* option = msg.pSender->As<COptionUI>();
        if (!option || !option->IsSelected())
            return;
        // The left bar shows the filters of the list on screen, so a filter picked there applies to it.
        if (name == QLatin1String("DownloadGame"))
            ravelo::PostMessage(m_mainWindow, UM_SELECT_MYGAME_GRID, 1);
        else if (name == QLatin1String("LocalGame"))
            ravelo::PostMessage(m_mainWindow, UM_SELECT_MYGAME_GRID, 2);
        ShowCounts();
        return;
    }
    if (msg.sType == DUI_MSGTYPE_CLICK)
        OnItemClick(msg.pSender);
}

LRESULT CMyGameFrame::HandleMessage(Message& message, bool& handled)
{
    handled = true;
    switch (message.id) {
    case UM_EMULATOR_FILTER: {
        const std::unique_ptr<std::uintptr_t> grid = message.TakePayload<std::uintptr_t>();
        OnFilter(message.wParam, grid ? *grid : 0);
        return 0;
    }
    case kInstalledListFence:
        m_fenceSeen[kInstalled] = message.wParam;
        return 0;
    case kLocalListFence:
        m_fenceSeen[kLocal] = message.wParam;
        return 0;
    case UM_GAME_INSTALLED:
        if (const std::unique_ptr<Gameinfo> game = message.TakePayload<Gameinfo>())
            OnInstalledArrived(*game);
        return 0;
    case UM_LOCAL_GAME_IMPORTED:
        if (const std::unique_ptr<LocalGame> game = message.TakePayload<LocalGame>())
            OnLocalArrived(*game);
        return 0;
    case UM_PICTURE_READY:
        if (const std::unique_ptr<PictureResult> picture = message.TakePayload<PictureResult>())
            m_pictures->Deliver(*picture);
        return 0;
    case kGameLaunchState:
        // The launcher's start and end go on to the main window, which shows and hides the tips.
        ravelo::PostMessage(m_mainWindow, kGameLaunchState, message.wParam);
        return 0;
    case kGameFilesRemoved:
        if (const std::unique_ptr<GameFilesRemoved> removed = message.TakePayload<GameFilesRemoved>();
            removed && !removed->gone)
            Tell(Tr("删除失败"));
        return 0;
    default:
        handled = false;
        return WindowImplBase::HandleMessage(message, handled);
    }
}

void CMyGameFrame::OnFilter(std::size_t optionIndex, std::uintptr_t grid)
{
    if (grid != 1 && grid != 2)
        return;
    const List list = grid == 1 ? kInstalled : kLocal;
    const int system = FilterSystemNumber(optionIndex);
    if (system == m_filter[list])
        return;
    m_filter[list] = system;
    if (list == kLocal && m_pLocalView)
        m_pLocalView->SetSystem(system);
    Refill(list);
}

void CMyGameFrame::Refill(List list)
{
    // Imports posted before this point are in the store's snapshot below: the fence tells them apart.
    ++m_generation[list];
    PostMessage(list == kInstalled ? kInstalledListFence : kLocalListFence, m_generation[list]);
    if (list == kInstalled) {
        for (const auto& [id, item] : m_installedItems)
            m_pictures->Forget(item->Icon());
        m_installedItems.clear();
        if (m_pInstalledView) {
            m_pInstalledView->SetScrollPos(QPoint(0, 0));
            m_pInstalledView->RemoveAll();
        }
        std::vector<Gameinfo> games = m_engines.MyGames().InstalledGames();
        SortByName(games);
        for (const Gameinfo& game : games)
            if (PassesFilter(game.EmulatorId, m_filter[kInstalled]))
                AddInstalled(game);
    } else {
        m_localItems.clear();
        if (m_pLocalView) {
            m_pLocalView->SetScrollPos(QPoint(0, 0));
            m_pLocalView->RemoveAll();
        }
        std::vector<LocalGame> games = m_engines.MyGames().LocalGames();
        SortByName(games);
        for (const LocalGame& game : games)
            if (PassesFilter(game.EmulatorId, m_filter[kLocal]))
                AddLocal(game);
        ShowDropHint();
    }
    ShowCounts();
}

void CMyGameFrame::AddInstalled(const Gameinfo& game)
{
    if (!m_pInstalledView || game.GameId.empty())
        return;
    if (const auto found = m_installedItems.find(game.GameId); found != m_installedItems.end()) {
        found->second->Bind(game); // installed again: the newer record
        return;
    }
    CDialogBuilder builder;
    auto* item = ControlAs<CDownLoadGameItemUI>(builder.Create(
        QStringLiteral("skin\\xmls\\DownLoadGameItem.xml"), this, &m_PaintManager, m_pInstalledView));
    if (!item)
        return;
    item->Bind(game);
    m_installedItems[game.GameId] = item;
    m_pictures->Request(item->Icon(), game.Icon);
}

void CMyGameFrame::AddLocal(const LocalGame& game)
{
    if (!m_pLocalView || game.FilePath.empty() || m_localItems.count(game.FilePath))
        return;
    CDialogBuilder builder;
    auto* item = ControlAs<CLocalGameItemUI>(
        builder.Create(QStringLiteral("skin\\xmls\\LocalGameItem.xml"), this, &m_PaintManager, m_pLocalView));
    if (!item)
        return;
    item->Bind(game);
    m_localItems[game.FilePath] = item;
}

void CMyGameFrame::OnInstalledArrived(const Gameinfo& game)
{
    if (m_fenceSeen[kInstalled] != m_generation[kInstalled] ||
        !m_engines.MyGames().HasInstalledGame(game.GameId))
        return;
    if (PassesFilter(game.EmulatorId, m_filter[kInstalled])) {
        AddInstalled(game);
        ShowCounts();
    }
}

void CMyGameFrame::OnLocalArrived(const LocalGame& game)
{
    if (m_fenceSeen[kLocal] != m_generation[kLocal])
        return;
    // The store's record is the one that counts: a game deleted meanwhile does not come back.
    const std::optional<LocalGame> stored = m_engines.MyGames().FindLocalGame(game.FilePath);
    if (stored && PassesFilter(stored->EmulatorId, m_filter[kLocal])) {
        AddLocal(*stored);
        ShowCounts();
    }
}

CDownLoadGameItemUI* CMyGameFrame::InstalledItem(const std::string& gameId) const
{
    const auto found = m_installedItems.find(gameId);
    return found == m_installedItems.end() ? nullptr : found->second;
}

CLocalGameItemUI* CMyGameFrame::LocalItem(const std::string& filePath) const
{
    const auto found = m_localItems.find(filePath);
    return found == m_localItems.end() ? nullptr : found->second;
}

void CMyGameFrame::OnItemClick(CControlUI* sender)
{
    const QString name = sender->GetName();
    if (CDownLoadGameItemUI* item = ItemAbove<CDownLoadGameItemUI>(sender)) {
        if (name == QLatin1String("Btn_Play"))
            Play(*item);
        else if (name == QLatin1String("Btn_OpenFolder"))
            OpenFolder(*item);
        else if (name == QLatin1String("Btn_Delete"))
            Delete(*item);
    } else if (CLocalGameItemUI* item = ItemAbove<CLocalGameItemUI>(sender)) {
        if (name == QLatin1String("Btn_Play"))
            Play(*item);
        else if (name == QLatin1String("Btn_OpenFolder"))
            OpenFolder(*item);
        else if (name == QLatin1String("Btn_Rename"))
            Rename(*item);
        else if (name == QLatin1String("Btn_Delete"))
            Delete(*item);
    }
}

void CMyGameFrame::OnDrop(const std::vector<std::string>& paths)
{
    if (paths.empty() || !m_pLocalView)
        return;
    const int system = m_pLocalView->GetSystem();
    if (system == kAllSystems) {
        Tell(Tr("请先在左侧选择游戏的机种,再拖入游戏文件"));
        return;
    }
    if (!m_engines.Drops().Start(GetHWND(), system, paths))
        Tell(Tr("上一次导入尚未完成,请稍后再试"));
}

void CMyGameFrame::Play(const CDownLoadGameItemUI& item)
{
    if (m_engines.Launcher().IsBusy() || !m_starter.StartInstalled(item.Game(), GetHWND()))
        Tell(Tr("已有游戏在运行"));
}

void CMyGameFrame::Play(const CLocalGameItemUI& item)
{
    const std::optional<LocalGame> game = m_engines.MyGames().FindLocalGame(item.Game().FilePath);
    if (m_engines.Launcher().IsBusy() || !m_starter.StartLocal(game ? *game : item.Game(), GetHWND()))
        Tell(Tr("已有游戏在运行"));
}

void CMyGameFrame::OpenFolder(const CDownLoadGameItemUI& item)
{
    const std::optional<std::string> folder = InstalledGameFolder(GamesFolder(), item.Game());
    if (!folder || !FolderExists(*folder)) {
        Tell(Tr("游戏文件不存在"));
        return;
    }
    m_reveal.OpenFolder(QString::fromStdString(*folder));
}

void CMyGameFrame::OpenFolder(const CLocalGameItemUI& item)
{
    if (!PathExists(item.Game().FilePath)) {
        Tell(Tr("游戏文件不存在"));
        return;
    }
    m_reveal.ShowFile(QString::fromStdString(item.Game().FilePath));
}

void CMyGameFrame::Delete(CDownLoadGameItemUI& item)
{
    const Gameinfo game = item.Game();
    const std::optional<std::string> folder = InstalledGameFolder(GamesFolder(), game);
    const std::string running = m_engines.Launcher().GetRunningGamePath();
    if (folder && IsRunningGame(running, *folder)) {
        Tell(Tr("游戏正在运行,请先退出游戏再删除"));
        return;
    }
    if (m_engines.Downloads().GetShownStatus(game.GameId) != TaskStatus::None) {
        Tell(Tr("游戏正在下载,请先在下载中心删除任务"));
        return;
    }
    // The question runs its own loop: the list may be refilled meanwhile, so the item is looked up again.
    if (Ask(Tr("是否删除游戏")) != IDYES)
        return;
    m_engines.Database().Post(DbOperation::RemoveGame, game.GameId);
    m_engines.MyGames().RemoveInstalledGame(game.GameId);
    if (CDownLoadGameItemUI* shown = InstalledItem(game.GameId)) {
        m_installedItems.erase(game.GameId);
        m_pictures->Forget(shown->Icon());
        m_pInstalledView->Remove(shown);
    }
    ShowCounts();
    // Only the folder the game was unpacked into goes, never a path read from the database as it is.
    if (folder)
        m_remover->RemoveFolder(*folder);
}

void CMyGameFrame::Delete(CLocalGameItemUI& item)
{
    const LocalGame game = item.Game();
    if (IsRunningGame(m_engines.Launcher().GetRunningGamePath(), game.FilePath)) {
        Tell(Tr("游戏正在运行,请先退出游戏再删除"));
        return;
    }
    if (Ask(Tr("是否删除游戏")) != IDYES)
        return;
    m_engines.Database().Post(DbOperation::RemoveLocalGame, game.FilePath);
    m_engines.MyGames().RemoveLocalGame(game.FilePath);
    if (CLocalGameItemUI* shown = LocalItem(game.FilePath)) {
        m_localItems.erase(game.FilePath);
        m_pLocalView->Remove(shown);
    }
    ShowCounts();
    // A program imported as a PC game goes with it, to the trash; other games' files stay where they are.
    if (game.EmulatorShortName == "PC")
        m_remover->MoveToTrash(game.FilePath);
}

void CMyGameFrame::Rename(CLocalGameItemUI& item)
{
    std::optional<LocalGame> game = m_engines.MyGames().FindLocalGame(item.Game().FilePath);
    if (!game)
        return;
    const std::string path = game->FilePath;
    CReNameFrame dialog(game->GameName);
    if (dialog.ShowModalOver(GetHWND()) != CReNameFrame::kRenamed || dialog.NewName() == game->GameName)
        return;
    game->GameName = dialog.NewName();
    if (!m_engines.MyGames().RenameLocalGame(path, game->GameName))
        return; // deleted while the dialog was open
    m_engines.Database().Post(DbOperation::RenameLocalGame, *game);
    // The item may have gone meanwhile (a refill); look it up again.
    if (CLocalGameItemUI* shown = LocalItem(path))
        shown->Bind(*game);
}

void CMyGameFrame::ShowCounts()
{
    auto* local = ControlAs<COptionUI>(m_PaintManager.FindControl(QStringLiteral("LocalGame")));
    const List list = local && local->IsSelected() ? kLocal : kInstalled;
    const std::size_t count = list == kInstalled ? m_installedItems.size() : m_localItems.size();
    if (CControlUI* label = m_PaintManager.FindControl(QStringLiteral("Lb_Count")))
        label->SetText(Text(Tr("共 %1 款")).arg(count));
    if (CControlUI* label = m_PaintManager.FindControl(QStringLiteral("Lb_Filter"))) {
        const int system = m_filter[list];
        label->SetText(
            system == kAllSystems
                ? Text(Tr("全部机种"))
                : Text(Tr("%1 游戏")).arg(QString::fromStdString(SystemLabel(std::to_string(system)))));
    }
}

void CMyGameFrame::ShowDropHint()
{
    // What a drop does: the system it imports for and the files that system takes.
    const int system = m_filter[kLocal];
    const std::string extensions = ExtensionListOf(SystemNumberToCode(system));
    const QString systemName = QString::fromStdString(SystemLabel(std::to_string(system)));
    QString hint;
    QString dropText;
    if (system == kAllSystems || extensions.empty()) {
        hint = Text(Tr("请先在左侧选择机种,导入的游戏归入所选机种"));
        dropText = Text(Tr("请先在左侧选择机种"));
    } else {
        QString list = QString::fromStdString(extensions);
        list.replace(QLatin1Char(','), QLatin1Char(' '));
        hint = Text(Tr("导入为 %1 游戏,支持的文件: %2")).arg(systemName, list);
        dropText = Text(Tr("松开鼠标,导入为 %1 游戏")).arg(systemName);
    }
    if (m_pLocalView)
        m_pLocalView->SetDropText(dropText);
    if (CControlUI* label = m_PaintManager.FindControl(QStringLiteral("Lb_DropExtensions"))) {
        label->SetText(hint);
        label->SetToolTip(hint);
    }
}

int CMyGameFrame::Ask(const char* text)
{
    return UiLib::MessageBox(GetHWND(), Text(text), Text(Tr("提示")), MB_YESNO | MB_ICONQUESTION);
}

void CMyGameFrame::Tell(const char* text)
{
    UiLib::MessageBox(GetHWND(), Text(text), Text(Tr("提示")), MB_OK | MB_ICONINFORMATION);
}

} // namespace ravelo
