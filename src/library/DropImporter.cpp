#include "library/DropImporter.h"

#include "library/CMyGameStore.h"
#include "library/LocalGameImporter.h"
#include "platform/StartThread.h"

namespace ravelo {

DropImporter::DropImporter(CMyGameStore& store) : m_store(store) {}

DropImporter::~DropImporter()
{
    Shutdown();
}

void DropImporter::Shutdown()
{
    m_stop = true;
    Wait();
}

bool DropImporter::Start(WindowHandle window, int systemNumber, std::vector<std::string> paths)
{
    std::lock_guard lock(m_lock);
    if (m_running.exchange(true))
        return false;
    if (m_thread.joinable())
        m_thread.join(); // the previous drop has ended: its thread only has to be collected
    m_thread = StartThread([this, window, systemNumber, paths = std::move(paths)] {
        LocalGameImporter(m_store, window).ImportPaths(paths, systemNumber, m_stop);
        m_running = false;
    });
    return true;
}

void DropImporter::Wait()
{
    std::lock_guard lock(m_lock);
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace ravelo
