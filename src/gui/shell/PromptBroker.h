#pragma once

#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>

class QObject;

namespace ravelo {

/// Lets worker threads ask the user. A question is queued to the UI thread, which shows the questions
/// one after another (a modal dialog each); the asking thread waits on a future for its answer and
/// holds no lock meanwhile. Once the broker is shut down (the main window goes away), every waiting
/// and later question gets its "closed" answer at once, and the dialog on screen is closed.
class PromptBroker
{
public:
    /// Closes the dialog on screen; set by the question while its dialog shows. UI thread.
    using Closer = std::function<void()>;
    /// Shows one question and returns its answer; runs on the UI thread. It may register a closer for
    /// its dialog with SetCloser so that a shutdown can end it.
    template <typename T>
    using Question = std::function<T(PromptBroker& broker)>;

    /// `uiContext` lives on the UI thread (the application object).
    explicit PromptBroker(QObject* uiContext);
    ~PromptBroker();
    PromptBroker(const PromptBroker&) = delete;
    PromptBroker& operator=(const PromptBroker&) = delete;

    /// Any thread. Returns the user's answer, or `closed` when the broker is shut down before or while
    /// the question shows. Asked on the UI thread, the question shows at once (a nested modal loop).
    template <typename T>
    T Ask(Question<T> question, T closed)
    {
        if (OnUiThread()) {
            // The UI thread cannot wait for itself: its question shows now, over whatever shows.
            if (IsShutDown())
                return closed;
            Closer outer = std::move(m_closer);
            T value = question(*this);
            m_closer = std::move(outer);
            return value;
        }
        auto answer = std::make_shared<std::promise<T>>();
        std::future<T> result = answer->get_future();
        Item item;
        item.show = [this, question = std::move(question), answer] { answer->set_value(question(*this)); };
        item.close = [answer, closed] { answer->set_value(closed); };
        if (!Enqueue(std::move(item)))
            return closed;
        return result.get();
    }

    /// UI thread, from inside a question: how to close its dialog if the broker shuts down meanwhile.
    void SetCloser(Closer closer);

    /// UI thread; idempotent. Answers every waiting question with its "closed" answer, closes the
    /// dialog on screen and refuses later questions.
    void Shutdown();

    /// Any thread. Questions waiting to be shown (not counting the one on screen).
    std::size_t Waiting() const;

private:
    struct Item
    {
        std::function<void()> show;
        std::function<void()> close;
    };

    /// False (nothing queued, `close` already run) after Shutdown.
    bool Enqueue(Item item);
    /// UI thread: shows the queued questions one after another, unless one already shows.
    void Pump();
    bool OnUiThread() const;
    bool IsShutDown() const;

    QObject* m_uiContext;
    mutable std::mutex m_lock;
    std::deque<Item> m_queue;
    bool m_shutDown = false;
    bool m_showing = false; // UI thread only
    Closer m_closer;        // UI thread only
};

} // namespace ravelo
