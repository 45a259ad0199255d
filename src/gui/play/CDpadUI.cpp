#include "gui/play/CDpadUI.h"

namespace ravelo {

using namespace UiLib;

QString CDpadUI::GetClass() const
{
    return QStringLiteral("DpadUI");
}

void* CDpadUI::GetInterface(const QString& name)
{
    return name == QLatin1String(kInterface.name) ? this : CControlUI::GetInterface(name);
}

void CDpadUI::SetPressed(bool left, bool up, bool right, bool down)
{
    const std::array<bool, 4> pressed{left, up, right, down};
    if (pressed == m_pressed)
        return;
    m_pressed = pressed;
    Invalidate();
}

void CDpadUI::SetAttribute(const QString& name, const QString& value)
{
    static const char* const kNames[] = {"leftimage", "upimage", "rightimage", "downimage"};
    for (int i = 0; i < 4; ++i)
        if (name == QLatin1String(kNames[i])) {
            m_images[i] = value;
            Invalidate();
        }
    CControlUI::SetAttribute(name, value);
}

void CDpadUI::PaintStatusImage(QPainter& painter)
{
    for (int i = 0; i < 4; ++i)
        if (m_pressed[i] && !m_images[i].isEmpty() && !DrawImage(painter, m_images[i]))
            m_images[i].clear();
}

} // namespace ravelo
