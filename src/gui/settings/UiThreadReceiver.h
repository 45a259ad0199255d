#pragma once

#include "platform/Messages.h"

#include <QObject>

#include <functional>

namespace ravelo {

/// A message receiver that is not a window: what is posted to its handle is handled on the UI thread
/// by the given function, in order. Messages still queued when it goes away are dropped with their
/// payloads. Create and destroy it on the UI thread.
class UiThreadReceiver final : public QObject, public MessageReceiver
{
public:
    explicit UiThreadReceiver(std::function<void(Message&)> handler);
    ~UiThreadReceiver() override;
    UiThreadReceiver(const UiThreadReceiver&) = delete;
    UiThreadReceiver& operator=(const UiThreadReceiver&) = delete;

    WindowHandle Handle() const { return m_handle; }

    void Deliver(Message message) override;
    bool event(QEvent* event) override;

private:
    std::function<void(Message&)> m_handler;
    WindowHandle m_handle = 0;
};

} // namespace ravelo
