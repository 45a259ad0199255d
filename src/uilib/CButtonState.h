#pragma once

#include "uilib/UiDefines.h"

#include <QRect>
#include <QString>

#include <array>

class QPainter;

namespace UiLib {

class CControlUI;

/// What a control that can be pointed at and pressed shows: its state bits (hot, pushed, captured,
/// selected) and a picture per state. Buttons, options, combos and edits each hold one, so that the
/// pointer moves their state the same way and the same state picks the same picture. The owner
/// passes itself in for repainting and drawing. UI thread only.
class CButtonState
{
public:
    enum Image
    {
        Normal,
        Hot,
        Pushed,
        Focused,
        Disabled,
        Selected,
        SelectedHot,
        SelectedPushed,
        SelectedDisabled,
        Fore,    ///< drawn over the state picture
        HotFore, ///< drawn instead of Fore while hot
        ImageCount
    };

    /// The UISTATE_ bits.
    unsigned Get() const { return m_uState; }
    void Set(unsigned state) { m_uState = state; }
    bool IsHot() const { return m_uState & UISTATE_HOT; }
    bool IsPushed() const { return m_uState & UISTATE_PUSHED; }
    bool IsCaptured() const { return m_uState & UISTATE_CAPTURED; }
    bool IsSelected() const { return m_uState & UISTATE_SELECTED; }
    void SetSelected(bool selected);
    /// Pushed without a pointer press (a combo while its list is open).
    void SetPushed(bool pushed);
    /// Forgets hot, pushed and captured, as when the control is disabled; selected stays.
    void Reset();

    /// Applies a pointer event to the state and repaints the owner when it changed: entering and
    /// leaving make it hot (when enabled), a press inside captures and pushes it, moving while
    /// captured pushes it only inside, and the release ends the capture. Returns false for any other
    /// event. clicked (optional) tells whether the event was a release inside after a press.
    bool HandlePointer(CControlUI& owner, const TEventUI& event, bool* clicked = nullptr);

    /// Recognises the picture attributes ("normalimage", "hotimage", "pushedimage", "focusedimage",
    /// "disabledimage", "selectedimage", "selectedhotimage", "selectedpushedimage",
    /// "selecteddisabledimage", "foreimage", "hotforeimage"); false for any other name.
    bool SetImageAttribute(const QString& name, const QString& value);
    const QString& GetImage(Image image) const { return m_images[image]; }
    void SetImage(Image image, const QString& description) { m_images[image] = description; }
    /// An edit keeps its focused picture while the pointer passes over it; buttons show hot first.
    void SetFocusOverHot(bool focusOverHot) { m_bFocusOverHot = focusOverHot; }

    /// Draws the picture of the current state inside the owner, falling back to the normal (or
    /// selected) one, then the fore picture. A picture that cannot be drawn is forgotten.
    void Paint(CControlUI& owner, QPainter& painter);

    /// Draws a description inside the control and forgets it when it cannot be drawn; false then.
    static bool DrawOrForget(CControlUI& owner, QPainter& painter, QString& description);

private:
    bool Draw(CControlUI& owner, QPainter& painter, Image image);

    unsigned m_uState = 0;
    std::array<QString, ImageCount> m_images;
    bool m_bFocusOverHot = false;
};

} // namespace UiLib
