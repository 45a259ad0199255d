#include "input/DeviceChangeWatcher.h"

#include "support/FileText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>

namespace ravelo {
namespace {

using namespace std::chrono_literals;

class ChangeCounter
{
public:
    void Add()
    {
        {
            std::lock_guard guard(m_lock);
            ++m_count;
        }
        m_changed.notify_all();
    }

    // True when a change comes after the seen ones within timeout; seen is brought up to date.
    bool More(int& seen, std::chrono::milliseconds timeout)
    {
        std::unique_lock guard(m_lock);
        const bool more = m_changed.wait_for(guard, timeout, [&] { return m_count > seen; });
        seen = m_count;
        return more;
    }

    // Lets changes still on their way arrive, so that a check for none starts from a quiet watcher.
    void Settle(int& seen)
    {
        while (More(seen, 100ms)) {
        }
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_count = 0;
};

TEST(DeviceChangeWatcher, InputNodesAndHidrawNodesAreChangesOtherDevicesAreNot)
{
    test::TempFolder dev;
    ChangeCounter changes;
    int seen = 0;
    DeviceChangeWatcher watcher([&changes] { changes.Add(); }, dev.Path(), false);
    namespace fs = std::filesystem;

    // The input folder may only appear with the first device; it is watched from then on.
    fs::create_directory(dev / "input");
    EXPECT_TRUE(changes.More(seen, 10s));
    test::WriteText(dev / "input/event7", "");
    EXPECT_TRUE(changes.More(seen, 10s));
    // A node that becomes readable once udev has set its access.
    fs::permissions(dev / "input/event7", fs::perms::group_read, fs::perm_options::add);
    EXPECT_TRUE(changes.More(seen, 10s));

    changes.Settle(seen);
    test::WriteText(dev / "tty9", "");
    fs::create_directory(dev / "shm");
    EXPECT_FALSE(changes.More(seen, 300ms)) << "other devices wake nobody";

    test::WriteText(dev / "hidraw3", "");
    EXPECT_TRUE(changes.More(seen, 10s));
    fs::remove(dev / "input/event7");
    EXPECT_TRUE(changes.More(seen, 10s));

    // The folder going and coming back is followed.
    fs::remove_all(dev / "input");
    EXPECT_TRUE(changes.More(seen, 10s));
    fs::create_directory(dev / "input");
    EXPECT_TRUE(changes.More(seen, 10s));
    changes.Settle(seen);
    test::WriteText(dev / "input/event1", "");
    EXPECT_TRUE(changes.More(seen, 10s));
}

TEST(DeviceChangeWatcher, OnlyUdevMessagesAboutInputDevicesCount)
{
    const auto message = [](std::string text) {
        return DeviceChangeWatcher::IsInputUevent(text.data(), text.size());
    };
    using namespace std::string_literals;
    // udevd's broadcast: "libudev", a binary header, then the device's properties.
    const std::string header = "libudev\0\xfe\xed\xca\xfe\x28\0\0\0"s;
    EXPECT_TRUE(
        message(header + "ACTION=add\0DEVPATH=/devices/x\0SUBSYSTEM=input\0DEVNAME=/dev/input/event5\0"s));
    EXPECT_TRUE(message(header + "ACTION=remove\0SUBSYSTEM=hidraw\0"s));
    EXPECT_TRUE(message(header + "ACTION=add\0SUBSYSTEM=input"s)); // the last field without its zero
    EXPECT_FALSE(message(header + "ACTION=change\0SUBSYSTEM=power_supply\0"s));
    EXPECT_FALSE(message(header + "ACTION=add\0SUBSYSTEM=inputs\0XSUBSYSTEM=input\0"s));
    // The kernel's own message comes before udev has set the device up: SDL waits for udev's.
    EXPECT_FALSE(message("add@/devices/x/input/input9\0ACTION=add\0SUBSYSTEM=input\0"s));
    EXPECT_FALSE(message(""));
}

} // namespace
} // namespace ravelo
