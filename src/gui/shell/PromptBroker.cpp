#include "gui/shell/PromptBroker.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace ravelo {

PromptBroker::PromptBroker(QObject* uiContext) : m_uiContext(uiContext) {}

PromptBroker::~PromptBroker()
{
    Shutdown();
}

bool PromptBroker::OnUiThread() const
{
    return QThread::currentThread() == m_uiContext->thread();
}

bool PromptBroker::IsShutDown() const
{
    std::lock_guard guard(m_lock);
    return m_shutDown;
}

bool PromptBroker::Enqueue(Item item)
{
    bool accepted = false;
    {
        std::lock_guard guard(m_lock);
        accepted = !m_shutDown;
        if (accepted)
            m_queue.push_back(std::move(item));
    }
    if (!accepted) {
        item.close();
        return false;
    }
    QMetaObject::invokeMethod(m_uiContext, [this] { Pump(); }, Qt::QueuedConnection);
    return true;
}

void PromptBroker::Pump()
{
    // A question asked while another one's dialog shows waits its turn; the loop below takes it
    // once that dialog is answered.
    if (m_showing)
        return;
    m_showing = true;
    for (;;) {
        Item item;
        {
            std::lock_guard guard(m_lock);
            if (m_queue.empty())
                break;
            item = std::move(m_queue.front());
            m_queue.pop_front();
        }
        item.show();
        m_closer = nullptr;
        if (IsShutDown())
            break;
    }
    m_showing = false;
}

void PromptBroker::SetCloser(Closer closer)
{
    m_closer = std::move(closer);
}

void PromptBroker::Shutdown()
{
    std::deque<Item> waiting;
    {
        std::lock_guard guard(m_lock);
        if (m_shutDown)
            return;
        m_shutDown = true;
        waiting.swap(m_queue);
    }
    for (Item& item : waiting)
        item.close();
    if (m_closer) {
        Closer closer = std::move(m_closer);
        closer();
    }
}

std::size_t PromptBroker::Waiting() const
{
    std::lock_guard guard(m_lock);
    return m_queue.size();
}

} // namespace ravelo
