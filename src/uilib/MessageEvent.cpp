#include "uilib/MessageEvent.h"

namespace UiLib {

MessageEvent::MessageEvent(ravelo::Message message) : QEvent(EventType()), m_message(std::move(message)) {}

QEvent::Type MessageEvent::EventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace UiLib
