// The window tour's stops of the shell: the main window on its pages, a search, a tile while its game
// downloads and once it is installed, and the dialogs the engines' questions bring up.
#include "app/Engines.h"
#include "download/DownloadAddresses.h"
#include "gui/catalogue/CGameItemUI.h"
#include "gui/catalogue/CGameListPage.h"
#include "gui/catalogue/CatalogueActions.h"
#include "gui/common/GuiMessages.h"
#include "gui/common/TourStops.h"
#include "gui/downloads/CDownLoadTypeFrame.h"
#include "gui/downloads/CSecurityCodeFrame.h"
#include "gui/play/CHandleTypeFrame.h"
#include "gui/play/CMultiDiscSelectFrame.h"
#include "gui/play/GameStarter.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/GuiPrompts.h"
#include "gui/shell/PromptBroker.h"
#include "platform/Translate.h"
#include "uilib/CTabLayoutUI.h"
#include "uilib/WinDefines.h"
#include "uilib/WindowHost.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTimer>

namespace ravelo {
namespace {

using namespace UiLib;

/// The main window as the program builds it, for a stop.
class TourShell
{
public:
    explicit TourShell(Engines& engines)
        : m_broker(QCoreApplication::instance()), m_prompts(m_broker),
          m_starter(engines.Launcher(), m_prompts), m_actions(engines, m_prompts, m_starter),
          m_frame(CMainFrame::Parts{engines, m_prompts, m_starter, m_actions, m_broker})
    {
        m_frame.Create(0, QStringLiteral("Ravelo"), UI_WNDSTYLE_FRAME, WS_EX_WINDOWEDGE);
        m_frame.CenterWindow();
        m_frame.ShowAndActivate();
    }
    ~TourShell()
    {
        m_broker.Shutdown();
        if (m_frame.GetHWND())
            m_frame.Close(0);
        m_actions.Shutdown();
        m_starter.Shutdown();
    }

    CMainFrame& Frame() { return m_frame; }
    CatalogueActions& Actions() { return m_actions; }

    void SelectTab(int tab)
    {
        if (auto* tabs = ControlAs<CTabLayoutUI>(
                m_frame.GetPaintManager().FindControl(QStringLiteral("Tab_HomePage"))))
            tabs->SelectItem(tab);
    }

private:
    PromptBroker m_broker;
    GuiPrompts m_prompts;
    GameStarter m_starter;
    CatalogueActions m_actions;
    CMainFrame m_frame;
};

bool ListShown(CGameListPage* page)
{
    return page && !page->IsLoading() && !page->Tiles().empty();
}

/// Answers the engines' questions during a stop the way a person would, as the dialogs show.
class Answers
{
public:
    Answers()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (!widget->isVisible())
                    continue;
                auto* host = dynamic_cast<WindowHost*>(widget);
                auto* window = host ? dynamic_cast<WindowImplBase*>(host->Owner()) : nullptr;
                if (!window)
                    continue;
                const QString kind = window->ClassName();
                if (kind == QLatin1String("DownLoadTypeFrame"))
                    Press(*window, QStringLiteral("Btn_Ravelo"));
                else if (kind == QLatin1String("DownLoadPopFrame")) {
                    CControlUI* button = window->GetPaintManager().FindControl(QStringLiteral("Btn_Cancel"));
                    if (button && button->GetText() == QString::fromUtf8(Tr("确定")))
                        Press(*window, QStringLiteral("Btn_Cancel"));
                }
            }
        });
        m_timer.start(50);
    }

private:
    static void Press(WindowImplBase& window, const QString& name)
    {
        TNotifyUI msg;
        msg.sType = DUI_MSGTYPE_CLICK;
        msg.pSender = window.GetPaintManager().FindControl(name);
        if (msg.pSender)
            window.Notify(msg);
    }
    QTimer m_timer;
};

/// Shows a modal dialog, takes its picture once it is up, and closes it.
template <typename Dialog>
void ShootDialog(TourContext& ctx, Dialog& dialog, const QString& name)
{
    QTimer::singleShot(400, [&ctx, &dialog, name] {
        ctx.Shoot(name, dialog);
        dialog.Close(kDialogClosed);
    });
    dialog.ShowModalOver(0, name);
}

QString CaptchaPicture()
{
    QImage image(120, 44, QImage::Format_ARGB32);
    image.fill(QColor(0xF1, 0xF3, 0xF6));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font;
    font.setPixelSize(26);
    font.setBold(true);
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(QColor(0x2F, 0x7F, 0xE0));
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("k7Rx"));
    painter.setPen(QPen(QColor(0xFF, 0x6A, 0x3D), 2));
    painter.drawLine(8, 30, 112, 14);
    painter.end();
    const QString file = QDir::temp().filePath(QStringLiteral("ravelo-tour-captcha.png"));
    image.save(file);
    return file;
}

} // namespace

void AddShellTourStops(std::vector<TourStop>& stops)
{
    stops.push_back({QStringLiteral("main-category"), [](TourContext& ctx) {
                         TourShell shell(ctx.GetEngines());
                         shell.SelectTab(1); // the program opens on the home page
                         ctx.WaitFor([&] { return ListShown(shell.Frame().CategoryPage()); });
                         ctx.Settle(1200); // the tiles' pictures
                         ctx.Shoot(QStringLiteral("main-category"), shell.Frame(), true);
                     }});
    stops.push_back({QStringLiteral("main-search"), [](TourContext& ctx) {
                         TourShell shell(ctx.GetEngines());
                         if (CControlUI* box = shell.Frame().GetPaintManager().FindControl(
                                 QStringLiteral("Ed_SearchKeyWord")))
                             box->SetText(QStringLiteral("之"));
                         TNotifyUI enter;
                         enter.sType = DUI_MSGTYPE_RETURN;
                         enter.pSender =
                             shell.Frame().GetPaintManager().FindControl(QStringLiteral("Ed_SearchKeyWord"));
                         shell.Frame().Notify(enter);
                         ctx.WaitFor([&] { return ListShown(shell.Frame().SearchPage()); });
                         ctx.Settle(1000);
                         ctx.Shoot(QStringLiteral("main-search"), shell.Frame(), true);
                     }});
    stops.push_back(
        {QStringLiteral("main-install"), [](TourContext& ctx) {
             TourShell shell(ctx.GetEngines());
             Answers answers;
             shell.SelectTab(1);
             CGameListPage* page = shell.Frame().CategoryPage();
             if (!ctx.WaitFor([&] { return ListShown(page); }) || page->Tiles().size() < 2)
                 return;
             ctx.Settle(800);
             CGameItemUI* tile = page->Tiles().at(1);
             const std::string id = tile->GetGame().gameid;
             shell.Actions().Act(TileAction::Install, tile->GetGame(), shell.Frame().GetHWND());
             ctx.WaitFor([&] { return page->TileOf(id) && page->TileOf(id)->GetState() == 2; }, 30000);
             ctx.Settle(600);
             ctx.Shoot(QStringLiteral("main-tile-installing"), shell.Frame());
             ctx.WaitFor([&] { return page->TileOf(id) && page->TileOf(id)->GetState() == 8; }, 60000);
             ctx.Settle(300);
             ctx.Shoot(QStringLiteral("main-tile-installed"), shell.Frame());
             shell.SelectTab(3);
             ctx.Settle(800);
             ctx.Shoot(QStringLiteral("main-mygames"), shell.Frame(), true);
         }});
    stops.push_back({QStringLiteral("dialog-source"), [](TourContext& ctx) {
                         CDownLoadTypeFrame all(kSourceCloudDrive | kSourceServers | kSourceUnpacked);
                         ShootDialog(ctx, all, QStringLiteral("dialog-source"));
                         CDownLoadTypeFrame servers(kSourceServers);
                         ShootDialog(ctx, servers, QStringLiteral("dialog-source-servers-only"));
                     }});
    stops.push_back({QStringLiteral("dialog-captcha"), [](TourContext& ctx) {
                         CSecurityCodeFrame captcha(CaptchaPicture().toStdString());
                         ShootDialog(ctx, captcha, QStringLiteral("dialog-captcha"));
                     }});
    stops.push_back({QStringLiteral("dialog-play"), [](TourContext& ctx) {
                         CHandleTypeFrame kind;
                         ShootDialog(ctx, kind, QStringLiteral("dialog-handle-type"));
                         CMultiDiscSelectFrame discs(2);
                         ShootDialog(ctx, discs, QStringLiteral("dialog-multi-disc"));
                     }});
}

} // namespace ravelo
