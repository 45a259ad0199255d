#pragma once

#include "uilib/CListContainerElementUI.h"

#include <string>

namespace ravelo {

/// One row of the download centre (tag DownloadItem, layout "skin\xmls\DownloadItem.xml"). It knows its
/// task only by game id, never by a pointer the engine may free. Clicks of the dispatch controls it
/// holds (the start/pause option, which never changes its own state) reach the window as "click"
/// notifications from those controls. UI thread.
class CDownloadItemUI : public UiLib::CListContainerElementUI
{
public:
    static constexpr UiLib::TInterfaceName<CDownloadItemUI> kInterface{"DownloadItem"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    void RecvMessage(UiLib::CControlUI* sender, UiLib::WPARAM wParam, UiLib::LPARAM lParam) override;

    const std::string& GameId() const { return m_gameId; }
    void SetGameId(std::string gameId) { m_gameId = std::move(gameId); }

    /// The row a control belongs to (the control itself or a container above it), or null.
    static CDownloadItemUI* RowOf(UiLib::CControlUI* control);

private:
    std::string m_gameId;
};

} // namespace ravelo
