#include "gui/settings/UiThreadReceiver.h"

#include "uilib/MessageEvent.h"

#include <QCoreApplication>

namespace ravelo {

UiThreadReceiver::UiThreadReceiver(std::function<void(Message&)> handler) : m_handler(std::move(handler))
{
    m_handle = RegisterReceiver(this);
}

UiThreadReceiver::~UiThreadReceiver()
{
    // After this no Deliver runs; events already queued die with this object.
    UnregisterReceiver(m_handle);
}

void UiThreadReceiver::Deliver(Message message)
{
    QCoreApplication::postEvent(this, new UiLib::MessageEvent(std::move(message)));
}

bool UiThreadReceiver::event(QEvent* event)
{
    if (event->type() != UiLib::MessageEvent::EventType())
        return QObject::event(event);
    m_handler(static_cast<UiLib::MessageEvent*>(event)->GetMessage());
    return true;
}

} // namespace ravelo
