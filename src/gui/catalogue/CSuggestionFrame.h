#pragma once

#include "gui/common/CSkinDialog.h"

namespace ravelo {

class CatalogueWorker;

/// Suggestions and feedback: a text of up to 500 characters and an optional contact, sent to the
/// catalogue service on the catalogue worker; the window shows that it is sending, then the success
/// or the reason of the failure, and stays usable all along (closing it never waits). Modal over
/// the main window. UI thread.
class CSuggestionFrame : public CSkinDialog
{
public:
    /// The result of a send: wParam 1 when kept; payload std::string, the failure's reason.
    static constexpr std::uint32_t kSendResult = WM_USER + 170;

    /// worker must outlive the window.
    explicit CSuggestionFrame(CatalogueWorker& worker);

    /// Shows the window modally over owner, titled "建议与反馈"; returns once it is closed.
    int ShowModalOver(WindowHandle owner);

    void Notify(UiLib::TNotifyUI& msg) override;

    bool IsSending() const { return m_sending; }
    /// Whether the last send was kept by the service.
    bool WasSent() const { return m_sent; }
    QString StatusText();

protected:
    UiLib::LRESULT HandleMessage(Message& message, bool& handled) override;
    void OnClick(const QString& name, UiLib::TNotifyUI& msg) override;

private:
    void Send();
    void ShowStatus(const QString& text, bool failure);
    void UpdateCount();

    CatalogueWorker& m_worker;
    bool m_sending = false;
    bool m_sent = false;
};

} // namespace ravelo
