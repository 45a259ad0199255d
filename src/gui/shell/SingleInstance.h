#pragma once

#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

namespace ravelo {

/// One running program per program folder: the first start listens on a local socket named after
/// its folder; a second start finds it there, asks it to show its window and ends. UI thread.
class SingleInstance
{
public:
    /// `key` names the instance (the program folder).
    explicit SingleInstance(const QString& key);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    /// True when another program of this folder runs and was asked to show itself: this one ends.
    bool HandOverToRunning();
    /// Starts listening; `onShow` runs (on the UI thread) whenever a later start asks.
    bool Listen(std::function<void()> onShow);

    /// The socket's name for a key (short, fixed length, no separators).
    static QString SocketName(const QString& key);

private:
    QString m_name;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace ravelo
