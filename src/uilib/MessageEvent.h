#pragma once

#include "platform/Messages.h"

#include <QEvent>

namespace UiLib {

/// Carries a posted message to a window's UI thread. The event owns the message and its payload:
/// if the window is destroyed before the event is handled, Qt deletes the event and the payload
/// goes with it.
class MessageEvent final : public QEvent
{
public:
    explicit MessageEvent(ravelo::Message message);
    ravelo::Message& GetMessage() { return m_message; }
    /// The event type, registered once. Any thread.
    static QEvent::Type EventType();

private:
    ravelo::Message m_message;
};

} // namespace UiLib
