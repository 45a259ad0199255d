#include "gui/downloads/CDownLoadFrameNew.h"

#include "controls/ControlFactory.h"
#include "download/DownloadManager.h"
#include "gui/common/PictureSlots.h"
#include "gui/downloads/CDownloadItemUI.h"
#include "platform/Translate.h"
#include "service/PictureMessages.h"
#include "uilib/CDialogBuilder.h"
#include "uilib/CLabelUI.h"
#include "uilib/CListUI.h"
#include "uilib/COptionUI.h"
#include "uilib/CProgressUI.h"
#include "uilib/UiDialogs.h"
#include "uilib/WinDefines.h"

namespace ravelo {

using namespace UiLib;

namespace {

const QString kItemLayout = QStringLiteral("skin\\xmls\\DownloadItem.xml");

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

struct ToneColours
{
    std::uint32_t bar;
    std::uint32_t percent;
    std::uint32_t status;
};

ToneColours ColoursOf(RowTone tone)
{
    switch (tone) {
    case RowTone::Active:
        return {0xFFFF6A3D, 0xFFFF6A3D, 0xFF6B7385};
    case RowTone::Failed:
        return {0xFFE5484D, 0xFF6B7385, 0xFFE5484D};
    case RowTone::Unpacking:
        return {0xFF2DB46C, 0xFF2DB46C, 0xFF6B7385};
    case RowTone::Idle:
    default:
        return {0xFF9AA3B5, 0xFF6B7385, 0xFF6B7385};
    }
}

} // namespace

CDownLoadFrameNew::CDownLoadFrameNew(DownloadManager& downloads, PictureQueue& pictures)
    : m_downloads(downloads), m_pictureQueue(pictures)
{
}

CDownLoadFrameNew::~CDownLoadFrameNew() = default;

QString CDownLoadFrameNew::GetSkinFile()
{
    return QStringLiteral("skin\\xmls\\DownLoadDialog.xml");
}

QString CDownLoadFrameNew::GetWindowClassName() const
{
    return QStringLiteral("DownLoadFrame");
}

CControlUI* CDownLoadFrameNew::CreateControl(const QString& className)
{
    if (className == QLatin1String("DownloadItem"))
        return new CDownloadItemUI;
    return CreateProgramControl(className);
}

WindowHandle CDownLoadFrameNew::CreateHidden(WindowHandle owner)
{
    if (!Create(owner, Text(Tr("任务查看")), UI_WNDSTYLE_DIALOG & ~WS_VISIBLE, WS_EX_WINDOWEDGE))
        return 0;
    CenterWindow();
    return GetHWND();
}

void CDownLoadFrameNew::ShowAndActivate()
{
    ShowWindow(true);
    Activate();
}

void CDownLoadFrameNew::Hide()
{
    ShowWindow(false);
}

void CDownLoadFrameNew::Destroy()
{
    m_destroying = true;
    Close(IDCANCEL);
}

void CDownLoadFrameNew::InitWindow()
{
    m_list = ControlAs<CListUI>(m_PaintManager.FindControl(QStringLiteral("List_DownLoad")));
    m_selectAll = ControlAs<COptionUI>(m_PaintManager.FindControl(QStringLiteral("Opt_MultiSelected")));
    m_pictures = std::make_unique<PictureSlots>(m_pictureQueue, GetHWND());
    // The engine's tasks as they stand; its messages keep the rows current from here on.
    for (const DownloadTaskView& task : m_downloads.Tasks())
        AddRow(task);
    RefreshCount();
    RefreshGroupButtons();
}

std::vector<std::string> CDownLoadFrameNew::RowIds() const
{
    std::vector<std::string> ids;
    if (!m_list)
        return ids;
    for (int i = 0; i < m_list->GetCount(); ++i)
        if (auto* item = ControlAs<CDownloadItemUI>(m_list->GetItemAt(i)))
            ids.push_back(item->GameId());
    return ids;
}

CDownloadItemUI* CDownLoadFrameNew::FindRow(const std::string& gameId) const
{
    const auto it = m_rows.find(gameId);
    return it == m_rows.end() ? nullptr : it->second.item;
}

CControlUI* CDownLoadFrameNew::Sub(CDownloadItemUI* item, const QString& name) const
{
    return item ? m_PaintManager.FindSubControlByName(item, name) : nullptr;
}

LRESULT CDownLoadFrameNew::HandleMessage(Message& message, bool& handled)
{
    switch (message.id) {
    case WM_CLOSE:
        if (m_destroying)
            break;
        // The tasks run on whether the window shows or not.
        Hide();
        handled = true;
        return 0;
    case WM_KEYDOWN:
        if (message.wParam == static_cast<WPARAM>(Qt::Key_Escape)) {
            Hide();
            handled = true;
            return 0;
        }
        break;
    case UM_TASK_ADDED:
        if (const auto task = message.TakePayload<DownloadTaskView>())
            AddRow(*task);
        RefreshCount();
        RefreshGroupButtons();
        handled = true;
        return 0;
    case UM_TASK_LEFT:
        if (const auto task = message.TakePayload<DownloadTaskView>())
            RemoveRow(task->gameId);
        handled = true;
        return 0;
    case UM_TASK_STATUS:
        if (const auto id = message.TakePayload<std::string>()) {
            if (const auto it = m_rows.find(*id); it != m_rows.end())
                ShowActive(it->second, message.wParam != 0);
        }
        RefreshGroupButtons();
        handled = true;
        return 0;
    case UM_DOWNLOAD_PROGRESS:
        if (const auto record = message.TakePayload<DownloadProgress>()) {
            if (const auto it = m_rows.find(record->gameId); it != m_rows.end())
                ShowText(it->second, RowTextOfProgress(*record, it->second.rate, TransferRate::Clock::now()));
        }
        handled = true;
        return 0;
    case UM_TASK_COUNTS:
        RefreshCount();
        RefreshGroupButtons();
        handled = true;
        return 0;
    case UM_PICTURE_READY:
        if (const auto picture = message.TakePayload<PictureResult>(); picture && m_pictures)
            m_pictures->Deliver(*picture);
        handled = true;
        return 0;
    default:
        break;
    }
    return WindowImplBase::HandleMessage(message, handled);
}

void CDownLoadFrameNew::AddRow(const DownloadTaskView& task)
{
    if (!m_list || task.gameId.empty() || m_rows.count(task.gameId))
        return;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(kItemLayout, this, &m_PaintManager);
    auto* item = ControlAs<CDownloadItemUI>(root);
    if (!item) {
        delete root;
        return;
    }
    item->SetGameId(task.gameId);
    if (!m_list->Add(item))
        return;
    Row& row = m_rows[task.gameId];
    row.item = item;
    if (CControlUI* name = Sub(item, QStringLiteral("Lb_GameName"))) {
        name->SetText(QString::fromStdU16String(task.gameName));
        name->SetToolTip(name->GetText());
    }
    // The picture queue answers an address that would leave its cache with the default icon.
    if (m_pictures)
        m_pictures->Request(Sub(item, QStringLiteral("Ctr_GameIcon")), task.icon);
    ShowText(row, RowTextOfTask(task));
    ShowActive(row, IsActiveStatus(task.shownStatus));
}

void CDownLoadFrameNew::RemoveRow(const std::string& gameId)
{
    const auto it = m_rows.find(gameId);
    if (it == m_rows.end())
        return;
    CDownloadItemUI* item = it->second.item;
    m_rows.erase(it);
    if (m_pictures)
        m_pictures->Forget(Sub(item, QStringLiteral("Ctr_GameIcon")));
    if (m_list)
        m_list->Remove(item);
    SyncChecksWithList();
    RefreshCount();
    RefreshGroupButtons();
}

void CDownLoadFrameNew::ShowText(Row& row, const DownloadRowText& text)
{
    const ToneColours colours = ColoursOf(text.tone);
    if (auto* status = ControlAs<CLabelUI>(Sub(row.item, QStringLiteral("Lb_Status")))) {
        status->SetText(Text(text.status));
        status->SetToolTip(status->GetText());
        status->SetTextColor(colours.status);
    }
    if (auto* percent = ControlAs<CLabelUI>(Sub(row.item, QStringLiteral("Lb_Percent")))) {
        percent->SetText(Text(text.percent));
        percent->SetTextColor(colours.percent);
    }
    if (CControlUI* speed = Sub(row.item, QStringLiteral("Lb_Speed"))) {
        speed->SetText(Text(text.speed));
        speed->SetVisible(!text.speed.empty());
    }
    if (auto* bar = ControlAs<CProgressUI>(Sub(row.item, QStringLiteral("Progress_Download")))) {
        bar->SetMaxValue(1000);
        bar->SetValue(text.permille);
        bar->SetAttribute(QStringLiteral("forecolor"),
                          QStringLiteral("#%1").arg(colours.bar, 8, 16, QLatin1Char('0')));
    }
}

void CDownLoadFrameNew::ShowActive(Row& row, bool active)
{
    row.active = active;
    if (auto* option = ControlAs<COptionUI>(Sub(row.item, QStringLiteral("Opt_StartOrPause")))) {
        option->Selected(active, false);
        option->SetToolTip(Text(active ? Tr("暂停") : Tr("开始")));
    }
}

void CDownLoadFrameNew::Notify(TNotifyUI& msg)
{
    if (!msg.pSender)
        return;
    const QString name = msg.pSender->GetName();
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (name == QLatin1String("Btn_Close"))
            Hide();
        else if (name == QLatin1String("Opt_StartOrPause"))
            OnStartOrPause(CDownloadItemUI::RowOf(msg.pSender));
        else if (name == QLatin1String("Btn_Delete"))
            OnDeleteRow(CDownloadItemUI::RowOf(msg.pSender));
        else if (name == QLatin1String("Btn_MultiStart"))
            m_downloads.SetCommand(SelectedIds(), TaskCommand::Start);
        else if (name == QLatin1String("Btn_MultiPause"))
            m_downloads.SetCommand(SelectedIds(), TaskCommand::Stop);
        else if (name == QLatin1String("Btn_MultiDelete"))
            DeleteAfterAsking(SelectedIds(), Text(Tr("是否删除选中的任务")));
        return;
    }
    if (msg.sType == DUI_MSGTYPE_SELECTCHANGED) {
        auto* option = msg.pSender->As<COptionUI>();
        if (!option || !m_list)
            return;
        if (name == QLatin1String("Opt_MultiSelected")) {
            if (option->IsSelected())
                m_list->SelectAllItems();
            else
                m_list->UnSelectAllItems();
        } else if (name == QLatin1String("Opt_Selected")) {
            if (CDownloadItemUI* item = CDownloadItemUI::RowOf(msg.pSender)) {
                if (option->IsSelected())
                    m_list->SelectMultiItem(item->GetIndex());
                else
                    m_list->UnSelectItem(item->GetIndex());
            }
        } else {
            return;
        }
        SyncChecksWithList();
        RefreshGroupButtons();
        return;
    }
    if (msg.sType == DUI_MSGTYPE_ITEMSELECT && msg.pSender == m_list) {
        SyncChecksWithList();
        RefreshGroupButtons();
    }
}

void CDownLoadFrameNew::OnStartOrPause(CDownloadItemUI* item)
{
    if (!item)
        return;
    const auto it = m_rows.find(item->GameId());
    if (it == m_rows.end())
        return;
    // The option keeps showing the engine's state; the engine's answer changes it.
    m_downloads.SetCommand(item->GameId(), StartPauseCommand(it->second.active));
}

void CDownLoadFrameNew::OnDeleteRow(CDownloadItemUI* item)
{
    if (item)
        DeleteAfterAsking({item->GameId()}, Text(Tr("是否删除该任务")));
}

void CDownLoadFrameNew::DeleteAfterAsking(const std::vector<std::string>& gameIds, const QString& question)
{
    if (gameIds.empty())
        return;
    // Rows may leave while the question shows: only the ids are used afterwards.
    if (UiLib::MessageBox(GetHWND(), question, Text(Tr("提示")), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_downloads.SetCommand(gameIds, TaskCommand::Delete);
}

void CDownLoadFrameNew::SyncChecksWithList()
{
    if (!m_list)
        return;
    for (int i = 0; i < m_list->GetCount(); ++i) {
        auto* item = ControlAs<CDownloadItemUI>(m_list->GetItemAt(i));
        if (auto* check = ControlAs<COptionUI>(Sub(item, QStringLiteral("Opt_Selected"))))
            check->Selected(m_list->IsItemSelected(i), false);
    }
}

std::vector<std::string> CDownLoadFrameNew::SelectedIds() const
{
    std::vector<std::string> ids;
    if (!m_list)
        return ids;
    for (int index : m_list->GetSelectedItems())
        if (auto* item = ControlAs<CDownloadItemUI>(m_list->GetItemAt(index)))
            ids.push_back(item->GameId());
    return ids;
}

void CDownLoadFrameNew::RefreshGroupButtons()
{
    const std::vector<std::string> ids = SelectedIds();
    const int selected = static_cast<int>(ids.size());
    // A task is active or at rest, never both: a waiting task (which the engine also counts among
    // those without a transfer) can be paused, as its own option shows.
    const int active = selected ? m_downloads.CountActive(ids) : 0;
    const GroupButtons buttons =
        GroupButtonsOf(static_cast<int>(m_rows.size()), selected, active, selected - active);
    if (CControlUI* start = m_PaintManager.FindControl(QStringLiteral("Btn_MultiStart")))
        start->SetEnabled(buttons.start);
    if (CControlUI* pause = m_PaintManager.FindControl(QStringLiteral("Btn_MultiPause")))
        pause->SetEnabled(buttons.pause);
    if (CControlUI* remove = m_PaintManager.FindControl(QStringLiteral("Btn_MultiDelete")))
        remove->SetEnabled(buttons.remove);
    if (m_selectAll)
        m_selectAll->Selected(buttons.allSelected, false);
}

void CDownLoadFrameNew::RefreshCount()
{
    const int count = static_cast<int>(m_rows.size());
    if (CControlUI* label = m_PaintManager.FindControl(QStringLiteral("Lb_TaskCount")))
        label->SetText(count ? Text(Tr("共 %1 个任务")).arg(count) : QString());
    if (CControlUI* empty = m_PaintManager.FindControl(QStringLiteral("Ctr_Empty")))
        empty->SetVisible(count == 0);
    if (m_list)
        m_list->SetVisible(count > 0);
}

} // namespace ravelo
