// The drop import thread: one drop at a time, announced game by game.
#include "library/DropImporter.h"
#include "library/CMyGameStore.h"
#include "library/LibraryFixture.h"
#include "library/LocalGameMessages.h"

#include <condition_variable>

namespace ravelo::test {
namespace {

using namespace std::chrono_literals;

/// A window that holds the importer inside its first announcement until released.
class GateWindow final : public MessageReceiver
{
public:
    void Deliver(Message message) override
    {
        std::unique_lock lock(m_lock);
        if (message.id == UM_LOCAL_GAME_IMPORTED)
            m_names.push_back(message.TakePayload<LocalGame>()->GameName);
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    bool WaitForCount(std::size_t count)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, 10s, [&] { return m_names.size() >= count; });
    }
    void Open()
    {
        std::lock_guard lock(m_lock);
        m_open = true;
        m_changed.notify_all();
    }
    std::vector<std::u16string> Names()
    {
        std::lock_guard lock(m_lock);
        return m_names;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::u16string> m_names;
    bool m_open = false;
};

class DropImport : public LibraryFixture
{
};

TEST_F(DropImport, ADropArrivingWhileOneRunsIsRefused)
{
    CMyGameStore store(*m_database);
    GateWindow window;
    ScopedReceiverRegistration registration(&window);
    TempFolder dropped;
    const std::string first = MakeFile(dropped / "A game.nes");
    const std::string second = MakeFile(dropped / "洛克人.nes");

    DropImporter importer(store);
    ASSERT_TRUE(importer.Start(registration.Handle(), 125, {first}));
    ASSERT_TRUE(window.WaitForCount(1)); // the importer is now held inside its announcement
    EXPECT_TRUE(importer.IsRunning());
    EXPECT_FALSE(importer.Start(registration.Handle(), 125, {second}));
    window.Open();
    importer.Wait();
    EXPECT_FALSE(importer.IsRunning());

    ASSERT_TRUE(importer.Start(registration.Handle(), 125, {second, first}));
    importer.Wait();
    EXPECT_EQ(window.Names(), (std::vector<std::u16string>{u"A game", u"洛克人"}));
    EXPECT_EQ(store.LocalGames().size(), 2u);
    EXPECT_EQ(DatabaseRows().size(), 2u);
}

} // namespace
} // namespace ravelo::test
