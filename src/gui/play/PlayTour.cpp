// The play area's stops of the window tour: the my-games page empty, with installed and imported games
// and with files dragged over it; the rename dialog; the key-map tips for a pad and a keyboard; the
// gamepad test with a virtual pad held.
#include "app/Engines.h"
#include "emulator/CGameLauncher.h"
#include "emulator/InputKind.h"
#include "emulator/LaunchHost.h"
#include "gui/common/GuiMessages.h"
#include "gui/common/TourStops.h"
#include "gui/play/CGamePadTestFrame.h"
#include "gui/play/CKeyMapTipsFrame.h"
#include "gui/play/CMyGameFrame.h"
#include "gui/play/CReNameFrame.h"
#include "gui/play/GameStarter.h"
#include "input/InputThread.h"
#include "library/CMyGameStore.h"
#include "platform/FileSystem.h"
#include "settings/AppPaths.h"
#include "uilib/CControlUI.h"
#include "uilib/WinDefines.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <SDL.h>

#include <fstream>

namespace ravelo {

using namespace UiLib;

namespace {

/// The tour answers no question of a launch.
class TourLaunchHost final : public LaunchHost
{
public:
    bool AskYesNo(const std::string&, const std::string&, WindowHandle) override { return false; }
    void ShowMessage(const std::string&, const std::string&, WindowHandle) override {}
    int ChooseInputKind(WindowHandle) override { return 0; }
    int ChooseDisc(int, WindowHandle) override { return -1; }
};

Gameinfo TourGame(const char* id, const char16_t* name, const char* system, const char* code,
                  const char* size)
{
    Gameinfo game;
    game.GameId = id;
    game.GameName = name;
    game.EmulatorId = system;
    game.EmulatorShortName = code;
    game.Size = size;
    game.Icon = std::string("/pic/icon/") + id + ".png";
    game.FilePath = GamesFolder() + code + "/" + id + "/";
    return game;
}

void WriteFile(const std::string& path, std::size_t bytes)
{
    CreateFolderChain(path);
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'R');
}

void ClickOption(CMyGameFrame& page, const QString& name)
{
    if (CControlUI* option = page.GetPaintManager().FindControl(name))
        option->Activate();
}

void TourMyGames(TourContext& ctx)
{
    Engines& engines = ctx.GetEngines();
    TourLaunchHost host;
    GameStarter starter(engines.Launcher(), host);
    const bool empty = engines.MyGames().InstalledGames().empty() && engines.MyGames().LocalGames().empty();
    {
        CMyGameFrame page(engines, starter, 0);
        if (!page.Create(0, QStringLiteral("MyGameFrame"), WS_POPUP | WS_VISIBLE, 0, 0, 0, 1078, 608))
            return;
        if (empty) {
            ctx.Shoot(QStringLiteral("play-mygames-empty"), page);
            ClickOption(page, QStringLiteral("LocalGame"));
            ctx.Shoot(QStringLiteral("play-mygames-local-empty"), page);
        }
        page.Close(kDialogClosed);
        ctx.Settle(100);
    }

    for (const Gameinfo& game :
         {TourGame("1001", u"星际突击队", "125", "FC", "1.25"),
          TourGame("1011", u"龙之剑", "121", "SFC", "3.50"),
          TourGame("1021", u"口袋骑士", "120", "GBA", "8.00"),
          TourGame("1041", u"小巷怒火", "122", "MD", "2.00"),
          TourGame("1031", u"小精灵冒险", "124", "GBC", "1.00"),
          TourGame("1002", u"忍者传说：暗影之城的最后一位守护者", "125", "FC", "0.75")})
        engines.MyGames().PutInstalledGame(game);
    // Games in the system folders of the games folder: the page's scan imports them.
    const std::string local = LocalGameFolder();
    WriteFile(local + "FC/Contra Force.nes", 262144);
    WriteFile(local + "FC/超级玛丽.nes", 40976);
    WriteFile(local + "GBA/口袋妖怪 绿宝石.gba", 16 * 1024 * 1024);
    WriteFile(local + "MAME/sf2.zip", 3 * 1024 * 1024);
    WriteFile(local + "PSP/最终幻想 零式.iso", 1536 * 1024);

    CMyGameFrame page(engines, starter, 0);
    if (!page.Create(0, QStringLiteral("MyGameFrame"), WS_POPUP | WS_VISIBLE, 0, 0, 0, 1078, 608))
        return;
    ctx.WaitFor([&] { return page.InstalledCount() >= 6; });
    ctx.Settle(800); // the icons come from the demo catalogue
    ctx.Shoot(QStringLiteral("play-mygames-installed"), page, true);

    ClickOption(page, QStringLiteral("LocalGame"));
    ctx.WaitFor([&] { return page.LocalCount() >= 5; });
    ctx.Shoot(QStringLiteral("play-mygames-local"), page, true);

    // The FC filter from the left bar, and files dragged over the list.
    page.PostMessage(UM_EMULATOR_FILTER, 2,
                     std::make_unique<TypedPayload<std::uintptr_t>>(std::make_unique<std::uintptr_t>(2)));
    ctx.WaitFor([&] { return page.LocalFilter() == 125; });
    CControlUI* view = page.GetPaintManager().FindControl(QStringLiteral("LocalGameView"));
    if (view) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(local + "FC/Contra Force.nes"))});
        QDragEnterEvent enter(view->GetPos().center(), Qt::CopyAction | Qt::LinkAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(page.GetWidget(), &enter);
        ctx.Shoot(QStringLiteral("play-mygames-drop"), page);
        QDragLeaveEvent leave;
        QApplication::sendEvent(page.GetWidget(), &leave);
    }
    page.Close(kDialogClosed);
    ctx.Settle(100);
}

void TourRename(TourContext& ctx)
{
    CReNameFrame dialog(u"口袋妖怪 绿宝石");
    if (dialog.Create(0, QStringLiteral("游戏重命名"), UI_WNDSTYLE_DIALOG, WS_EX_WINDOWEDGE) == 0)
        return;
    dialog.CenterWindow();
    ctx.Shoot(QStringLiteral("play-rename"), dialog);
    // A name with a line break in it is refused under the box.
    if (CControlUI* edit = dialog.GetPaintManager().FindControl(QStringLiteral("Ed_GameName")))
        edit->SetText(QStringLiteral("口袋妖怪\n绿宝石"));
    if (CControlUI* ok = dialog.GetPaintManager().FindControl(QStringLiteral("Btn_Ok")))
        ok->Activate();
    ctx.Shoot(QStringLiteral("play-rename-refused"), dialog);
    dialog.Close(kDialogClosed);
    ctx.Settle(100);
}

void TourKeyMapTips(TourContext& ctx)
{
    CKeyMapTipsFrame tips;
    if (!tips.Create())
        return;
    tips.ShowForGame("125", kInputKindGamepad);
    ctx.Shoot(QStringLiteral("play-keymap-tips-gamepad"), tips);
    tips.ShowForGame("146", kInputKindKeyboard);
    ctx.Shoot(QStringLiteral("play-keymap-tips-keyboard"), tips);
    tips.Close(kDialogClosed);
    ctx.Settle(100);
}

void TourGamePadTest(TourContext& ctx)
{
    InputThread& input = ctx.GetEngines().Input();
    if (!input.Available())
        return;
    // A virtual pad held in mid-game: A and LB, the cross up, the left trigger deep, the right stick
    // pushed aside and pressed.
    const int device = input.Invoke([] {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.vendor_id = 0x045E;
        desc.product_id = 0x028E;
        desc.name = "Tour Pad";
        return SDL_JoystickAttachVirtualEx(&desc);
    });
    SDL_Joystick* pad = device >= 0 ? input.Invoke([device] { return SDL_JoystickOpen(device); }) : nullptr;
    CGamePadTestFrame test(input);
    if (test.Create(0, QStringLiteral("手柄测试"), UI_WNDSTYLE_DIALOG, WS_EX_WINDOWEDGE) != 0) {
        test.CenterWindow();
        ctx.WaitFor([&] { return test.ShownSlot().has_value() || !pad; }, 3000);
        if (pad)
            input.Invoke([pad] {
                SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
                SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 1);
                SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, 1);
                SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_RIGHTSTICK, 1);
                SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 30000);
                SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX, 32767);
                SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY, -20000);
                SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -20000);
            });
        ctx.Settle(300);
        ctx.Shoot(QStringLiteral("play-gamepad-test"), test);
        test.Close(kDialogClosed);
        ctx.Settle(100);
    }
    if (device >= 0)
        input.Invoke([device] { SDL_JoystickDetachVirtual(device); });
}

} // namespace

void AddPlayTourStops(std::vector<TourStop>& stops)
{
    stops.push_back({QStringLiteral("play-mygames"), TourMyGames});
    stops.push_back({QStringLiteral("play-rename"), TourRename});
    stops.push_back({QStringLiteral("play-keymap-tips"), TourKeyMapTips});
    stops.push_back({QStringLiteral("play-gamepad-test"), TourGamePadTest});
}

} // namespace ravelo
