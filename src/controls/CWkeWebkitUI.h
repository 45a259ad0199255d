#pragma once

#include "uilib/CControlUI.h"

namespace ravelo {

/// Stands where a web page was embedded: the program ships no browser engine, so the control shows
/// the page's picture ("bkimage") and title ("title") when it has them, its address otherwise, and a
/// click opens the address ("url") in the desktop's browser. Only http and https addresses are
/// opened. Tag wkeWebkit.
class CWkeWebkitUI : public UiLib::CControlUI
{
public:
    static constexpr UiLib::TInterfaceName<CWkeWebkitUI> kInterface{"WkeWebkit"};

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;
    unsigned GetControlFlags() const override;

    QString GetURL() const { return m_sUrl; }
    void SetURL(const QString& url);
    /// As SetURL; the page is opened only when the user clicks.
    void LoadURL(const QString& url) { SetURL(url); }
    QString GetTitle() const { return m_sTitle; }
    void SetTitle(const QString& title);
    /// True when the address may be handed to the browser (http or https with a host).
    bool CanOpen() const;

    void DoEvent(UiLib::TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void PaintText(QPainter& painter) override;

private:
    QString m_sUrl;
    QString m_sTitle;
    bool m_bPressed = false;
    bool m_bHot = false;
};

} // namespace ravelo
