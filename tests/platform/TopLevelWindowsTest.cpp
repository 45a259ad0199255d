// Asks a real X server (Xvfb, started by the test) for windows by title.
#include "platform/TopLevelWindows.h"
#include "platform/Process.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

// Xlib defines macros (None, Bool, Status) that clash with other headers: it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace ravelo;
using namespace std::chrono_literals;

namespace {

// An Xvfb of our own on a free display number; DISPLAY points at it while the test runs.
class PrivateDisplay
{
public:
    PrivateDisplay()
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        // Xvfb writes its display number to the descriptor once it accepts connections.
        if (m_server.Start(
                {"/usr/bin/Xvfb", {"-displayfd", std::to_string(ready[1]), "-nolisten", "tcp"}, ""})) {
            pollfd fd{ready[0], POLLIN, 0};
            char number[16] = {};
            if (::poll(&fd, 1, 10000) > 0 && ::read(ready[0], number, sizeof(number) - 1) > 0)
                m_display = ":" + std::string(number, std::strcspn(number, "\n"));
        }
        ::close(ready[0]);
        ::close(ready[1]);
        if (const char* previous = std::getenv("DISPLAY"))
            m_previous = previous;
        if (!m_display.empty())
            ::setenv("DISPLAY", m_display.c_str(), 1);
    }
    ~PrivateDisplay()
    {
        if (m_previous.empty())
            ::unsetenv("DISPLAY");
        else
            ::setenv("DISPLAY", m_previous.c_str(), 1);
        m_server.Terminate(1000ms);
        m_server.Wait();
    }
    bool Ready() const { return !m_display.empty(); }

private:
    Process m_server;
    std::string m_display;
    std::string m_previous;
};

} // namespace

TEST(TopLevelWindows, FindsAWindowByItsExactUtf8TitleUntilItIsDestroyed)
{
    if (::access("/usr/bin/Xvfb", X_OK) != 0)
        GTEST_SKIP() << "Xvfb is not installed";
    PrivateDisplay display;
    ASSERT_TRUE(display.Ready());
    const std::string title = "ePSXe - 增强型 PSX 模拟器";
    EXPECT_EQ(TopLevelWindowExists(title), std::optional<bool>(false));

    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    const Window window = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 64, 64, 0, 0, 0);
    XChangeProperty(x, window, XInternAtom(x, "_NET_WM_NAME", False), XInternAtom(x, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XSync(x, False); // not even mapped: a hidden window counts too
    EXPECT_EQ(TopLevelWindowExists(title), std::optional<bool>(true));
    EXPECT_EQ(TopLevelWindowExists("ePSXe"), std::optional<bool>(false)); // exact titles only

    XDestroyWindow(x, window);
    XSync(x, False);
    EXPECT_EQ(TopLevelWindowExists(title), std::optional<bool>(false));
    XCloseDisplay(x);
}

TEST(TopLevelWindows, WithoutADesktopTheAnswerIsUnknown)
{
    const char* previous = std::getenv("DISPLAY");
    const std::string saved = previous ? previous : "";
    ::setenv("DISPLAY", ":9999", 1); // no server there
    EXPECT_EQ(TopLevelWindowExists("anything"), std::nullopt);
    if (saved.empty())
        ::unsetenv("DISPLAY");
    else
        ::setenv("DISPLAY", saved.c_str(), 1);
}
