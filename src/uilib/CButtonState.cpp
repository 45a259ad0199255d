#include "uilib/CButtonState.h"

#include "uilib/CControlUI.h"

namespace UiLib {

namespace {

struct ImageName
{
    const char* attribute;
    CButtonState::Image image;
};

constexpr ImageName kImageNames[] = {
    {"normalimage", CButtonState::Normal},
    {"hotimage", CButtonState::Hot},
    {"pushedimage", CButtonState::Pushed},
    {"focusedimage", CButtonState::Focused},
    {"disabledimage", CButtonState::Disabled},
    {"selectedimage", CButtonState::Selected},
    {"selectedhotimage", CButtonState::SelectedHot},
    {"selectedpushedimage", CButtonState::SelectedPushed},
    {"selecteddisabledimage", CButtonState::SelectedDisabled},
    {"foreimage", CButtonState::Fore},
    {"hotforeimage", CButtonState::HotFore},
};

} // namespace

void CButtonState::SetSelected(bool selected)
{
    if (selected)
        m_uState |= UISTATE_SELECTED;
    else
        m_uState &= ~UISTATE_SELECTED;
}

void CButtonState::SetPushed(bool pushed)
{
    if (pushed)
        m_uState |= UISTATE_PUSHED;
    else
        m_uState &= ~UISTATE_PUSHED;
}

void CButtonState::Reset()
{
    m_uState &= UISTATE_SELECTED;
}

bool CButtonState::HandlePointer(CControlUI& owner, const TEventUI& event, bool* clicked)
{
    if (clicked)
        *clicked = false;
    const unsigned before = m_uState;
    const bool inside = owner.GetPos().contains(event.ptMouse);
    switch (event.Type) {
    case UIEVENT_MOUSEENTER:
        if (owner.IsEnabled())
            m_uState |= UISTATE_HOT;
        break;
    case UIEVENT_MOUSELEAVE:
        m_uState &= ~UISTATE_HOT;
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (inside && owner.IsEnabled())
            m_uState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        break;
    case UIEVENT_MOUSEMOVE:
        if (IsCaptured())
            SetPushed(inside);
        break;
    case UIEVENT_BUTTONUP:
        if (IsCaptured()) {
            m_uState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            if (clicked)
                *clicked = inside;
        }
        break;
    default:
        return false;
    }
    if (m_uState != before)
        owner.Invalidate();
    return true;
}

bool CButtonState::SetImageAttribute(const QString& name, const QString& value)
{
    for (const ImageName& entry : kImageNames) {
        if (name == QLatin1String(entry.attribute)) {
            m_images[entry.image] = value;
            return true;
        }
    }
    return false;
}

bool CButtonState::DrawOrForget(CControlUI& owner, QPainter& painter, QString& description)
{
    if (description.isEmpty())
        return false;
    if (owner.DrawImage(painter, description))
        return true;
    description.clear();
    return false;
}

bool CButtonState::Draw(CControlUI& owner, QPainter& painter, Image image)
{
    return DrawOrForget(owner, painter, m_images[image]);
}

void CButtonState::Paint(CControlUI& owner, QPainter& painter)
{
    const bool enabled = owner.IsEnabled();
    if (IsSelected()) {
        bool drawn = false;
        if (!enabled)
            drawn = Draw(owner, painter, SelectedDisabled);
        else if (IsPushed())
            drawn = Draw(owner, painter, SelectedPushed) || Draw(owner, painter, SelectedHot);
        else if (IsHot())
            drawn = Draw(owner, painter, SelectedHot);
        if (drawn || Draw(owner, painter, Selected)) {
            Draw(owner, painter, Fore);
            return;
        }
    }

    // The first state that has a picture wins; without one the normal picture shows.
    const bool focused = owner.IsFocused();
    bool drawn = false;
    if (!enabled) {
        drawn = Draw(owner, painter, Disabled);
    } else if (IsPushed()) {
        drawn = Draw(owner, painter, Pushed) || Draw(owner, painter, Hot);
    } else {
        const bool focusFirst = m_bFocusOverHot && focused;
        drawn = (focusFirst && Draw(owner, painter, Focused)) || (IsHot() && Draw(owner, painter, Hot)) ||
                (focused && !focusFirst && Draw(owner, painter, Focused));
    }
    if (!drawn)
        Draw(owner, painter, Normal);

    if (IsHot() && enabled && Draw(owner, painter, HotFore))
        return;
    Draw(owner, painter, Fore);
}

} // namespace UiLib
