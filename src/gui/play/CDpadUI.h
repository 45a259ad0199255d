#pragma once

#include "uilib/CControlUI.h"

#include <array>

namespace ravelo {

/// The cross of the gamepad test's pad: draws the picture of each pressed direction over itself, in
/// the order left, up, right, down. Attributes "leftimage", "upimage", "rightimage", "downimage"; a
/// picture that cannot be drawn is forgotten. Tag Dpad. UI thread.
class CDpadUI : public UiLib::CControlUI
{
public:
    static constexpr UiLib::TInterfaceName<CDpadUI> kInterface{"CDpadUI"};
    enum Direction
    {
        Left,
        Up,
        Right,
        Down,
    };

    QString GetClass() const override;
    void* GetInterface(const QString& name) override;

    /// The pressed directions; repaints when any changed.
    void SetPressed(bool left, bool up, bool right, bool down);
    bool IsPressed(Direction direction) const { return m_pressed[direction]; }

    void SetAttribute(const QString& name, const QString& value) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    std::array<QString, 4> m_images;
    std::array<bool, 4> m_pressed{};
};

} // namespace ravelo
