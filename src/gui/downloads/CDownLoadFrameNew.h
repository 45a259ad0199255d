#pragma once

#include "download/DownloadMessages.h"
#include "gui/downloads/DownloadRowView.h"
#include "uilib/WindowImplBase.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace UiLib {
class CListUI;
class COptionUI;
} // namespace UiLib

namespace ravelo {

class CDownloadItemUI;
class DownloadManager;
class PictureQueue;
class PictureSlots;

/// The download centre ("任务查看"): one row per task of the download engine, keyed by game id and
/// drawn from the engine's snapshots and messages, with start, pause and delete for one row or the
/// selected ones. It is the engine's target window: made once, hidden, with the main window; shown by
/// Btn_DownLoad; closing it only hides it while the tasks run on. UI thread only.
///
/// The main window: `m_downloadCentre = std::make_unique<CDownLoadFrameNew>(engines.Downloads(),
/// engines.Pictures()); WindowHandle target = m_downloadCentre->CreateHidden(GetHWND());
/// engines.Downloads().Start(GetHWND(), target);` then ShowAndActivate() on Btn_DownLoad, Hide() when
/// the main window hides to the tray, and Destroy() before the engines shut down.
class CDownLoadFrameNew : public UiLib::WindowImplBase
{
public:
    /// Both must outlive the window.
    CDownLoadFrameNew(DownloadManager& downloads, PictureQueue& pictures);
    ~CDownLoadFrameNew() override;

    /// Creates the window hidden, owned by owner, and lists the engine's tasks. Returns its handle (the
    /// engine's target window), 0 when it could not be built.
    WindowHandle CreateHidden(WindowHandle owner);
    /// Shows the window and brings it to the front.
    void ShowAndActivate();
    /// Hides the window; the tasks run on.
    void Hide();
    /// Closes the window for good (the main window goes away).
    void Destroy();

    /// The rows in list order, by game id (for tests and the tour).
    std::vector<std::string> RowIds() const;
    /// The row of a game, or null.
    CDownloadItemUI* FindRow(const std::string& gameId) const;

    QString GetSkinFile() override;
    void InitWindow() override;
    void Notify(UiLib::TNotifyUI& msg) override;
    UiLib::CControlUI* CreateControl(const QString& className) override;

protected:
    QString GetWindowClassName() const override;
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;

private:
    struct Row
    {
        CDownloadItemUI* item = nullptr;
        bool active = false; // the engine's word (UM_TASK_STATUS), never a click's
        TransferRate rate;
    };

    void AddRow(const DownloadTaskView& task);
    void RemoveRow(const std::string& gameId);
    void ShowText(Row& row, const DownloadRowText& text);
    void ShowActive(Row& row, bool active);
    void OnStartOrPause(CDownloadItemUI* item);
    void OnDeleteRow(CDownloadItemUI* item);
    void DeleteAfterAsking(const std::vector<std::string>& gameIds, const QString& question);
    void SyncChecksWithList();
    void RefreshGroupButtons();
    void RefreshCount();
    std::vector<std::string> SelectedIds() const;
    UiLib::CControlUI* Sub(CDownloadItemUI* item, const QString& name) const;

    DownloadManager& m_downloads;
    PictureQueue& m_pictureQueue;
    std::unique_ptr<PictureSlots> m_pictures;
    std::map<std::string, Row> m_rows;
    UiLib::CListUI* m_list = nullptr;
    UiLib::COptionUI* m_selectAll = nullptr;
    bool m_destroying = false;
};

} // namespace ravelo
