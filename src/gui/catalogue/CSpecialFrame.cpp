#include "gui/catalogue/CSpecialFrame.h"

#include "app/Engines.h"
#include "controls/CFlipUI.h"
#include "emulator/EmulatorMessages.h"
#include "gui/catalogue/CGameItemUI.h"
#include "gui/catalogue/CatalogueControls.h"
#include "gui/common/GuiMessages.h"
#include "platform/Translate.h"
#include "service/CGameList.h"
#include "service/CatalogueClient.h"
#include "service/CatalogueMessages.h"
#include "uilib/CContainerUI.h"

namespace ravelo {

using namespace UiLib;

CSpecialFrame::CSpecialFrame(CataloguePageContext context) : m_context(std::move(context)) {}

CSpecialFrame::~CSpecialFrame() = default;

QString CSpecialFrame::GetSkinFile()
{
    return QStringLiteral("skin\\xmls\\SpecialDialog.xml");
}

QString CSpecialFrame::GetWindowClassName() const
{
    return QStringLiteral("SpecialFrame");
}

CControlUI* CSpecialFrame::CreateControl(const QString& className)
{
    return CreateCatalogueControl(className);
}

void CSpecialFrame::InitWindow()
{
    CPaintManagerUI& pm = m_PaintManager;
    m_tracker = std::make_unique<GameTileTracker>(m_context.engines, GetHWND());
    m_view = ControlAs<CContainerUI>(pm.FindControl(QStringLiteral("View")));
    m_flip = ControlAs<CFlipUI>(pm.FindControl(QStringLiteral("Flip")));
    m_loadingOverlay = pm.FindControl(QStringLiteral("Loading"));
    m_failedOverlay = pm.FindControl(QStringLiteral("LoadingFail"));
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(false);
}

std::vector<CGameItemUI*> CSpecialFrame::Tiles() const
{
    std::vector<CGameItemUI*> tiles;
    for (int i = 0; m_view && i < m_view->GetCount(); ++i)
        if (auto* tile = ControlAs<CGameItemUI>(m_view->GetItemAt(i)))
            tiles.push_back(tile);
    return tiles;
}

void CSpecialFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender)
        return;
    std::uintptr_t part = 0;
    if (CGameItemUI* tile = GameTileTracker::TileOfClick(msg, part)) {
        ActOnTile(m_context, *tile, part);
    } else if (msg.pSender == m_flip) {
        m_page = ClampPage(static_cast<int>(msg.wParam), m_total, m_flip->GetItemsPerPage());
        Request();
    } else if (msg.pSender == m_failedOverlay) {
        Request(); // try again
    } else if (msg.pSender->GetName() == QLatin1String("Btn_Back")) {
        ravelo::PostMessage(m_context.mainWindow, UM_SHOW_HOME_PAGE);
    }
}

LRESULT CSpecialFrame::HandleMessage(Message& message, bool& handled)
{
    handled = true;
    if (m_tracker && m_tracker->HandleMessage(message))
        return 0;
    switch (message.id) {
    case UM_OPEN_SPECIAL: {
        const std::unique_ptr<std::u16string> title = message.TakePayload<std::u16string>();
        Open(static_cast<int>(static_cast<std::int32_t>(message.wParam)), title ? *title : std::u16string());
        return 0;
    }
    case UM_SPECIAL_READY:
        if (std::unique_ptr<CGameList> list = message.TakePayload<CGameList>())
            ShowList(std::move(list));
        return 0;
    case UM_REQUEST_FAILED:
        ShowFailure();
        return 0;
    case kGameLaunchState:
        ravelo::PostMessage(m_context.mainWindow, kGameLaunchState, message.wParam);
        return 0;
    default:
        handled = false;
        return WindowImplBase::HandleMessage(message, handled);
    }
}

void CSpecialFrame::Open(int topic, const std::u16string& title)
{
    if (topic != m_topic)
        m_loaded = false;
    if (m_loaded)
        return; // the same topic: the list and its page stay as the user left them
    m_topic = topic;
    m_page = 1;
    if (CControlUI* label = m_PaintManager.FindControl(QStringLiteral("Lb_Topic")))
        label->SetText(QString::fromStdU16String(title));
    Request();
}

void CSpecialFrame::Request()
{
    m_askedAgain = false;
    m_loading = true;
    if (m_failedOverlay)
        m_failedOverlay->SetVisible(false);
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(true);
    // A request made while another runs is dropped; its answer then comes for another topic or page
    // and this one is asked for again.
    m_context.engines.Catalogue().StartSpecialTopic(GetHWND(), m_topic, m_page,
                                                    m_flip ? m_flip->GetItemsPerPage() : 40);
}

void CSpecialFrame::ShowList(std::unique_ptr<CGameList> list)
{
    if (list->request.topic != m_topic || list->request.page != m_page) {
        if (!m_askedAgain) {
            Request();
            m_askedAgain = true;
        }
        return;
    }
    m_loaded = true;
    m_total = ParseGameCount(list->count);
    if (m_flip)
        m_flip->SetPage(m_page, m_total > 0 ? m_total : static_cast<int>(list->gamelist.size()));
    if (CControlUI* total = m_PaintManager.FindControl(QStringLiteral("Lb_Total")))
        total->SetText(m_total > 0 ? QString::fromUtf8(Tr("共 %1 款")).arg(m_total) : QString());
    m_tracker->Clear();
    if (m_view) {
        m_view->RemoveAll();
        for (const auto& game : list->gamelist)
            if (game && !game->gameid.empty() && m_tracker->TilesOf(game->gameid).empty())
                if (CGameItemUI* tile = m_tracker->Build(m_PaintManager, *game))
                    m_view->Add(tile);
        m_view->SetScrollPos(QPoint(0, 0));
    }
    m_loading = false;
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(false);
    if (m_failedOverlay)
        m_failedOverlay->SetVisible(false);
}

void CSpecialFrame::ShowFailure()
{
    m_loading = false;
    if (m_loadingOverlay)
        m_loadingOverlay->SetVisible(false);
    if (m_failedOverlay)
        m_failedOverlay->SetVisible(true);
}

} // namespace ravelo
