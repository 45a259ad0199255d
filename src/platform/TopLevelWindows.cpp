#include "platform/TopLevelWindows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <memory>

namespace ravelo {
namespace {

struct DisplayCloser
{
    void operator()(Display* display) const { XCloseDisplay(display); }
};

std::string WindowTitle(Display* display, Window window, Atom netWmName, Atom utf8String)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8String, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        if (type == utf8String && format == 8)
            title.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
    }
    if (!title.empty())
        return title;
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

// Top-level windows are the root's children, or one level below when a window manager framed them.
bool FindTitled(Display* display, Window parent, const std::string& wanted, Atom netWmName, Atom utf8String,
                int depth)
{
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count))
        return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) {
        found = WindowTitle(display, children[i], netWmName, utf8String) == wanted ||
                (depth > 0 && FindTitled(display, children[i], wanted, netWmName, utf8String, depth - 1));
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

std::optional<bool> TopLevelWindowExists(const std::string& title)
{
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        return std::nullopt;
    const Atom netWmName = XInternAtom(display.get(), "_NET_WM_NAME", False);
    const Atom utf8String = XInternAtom(display.get(), "UTF8_STRING", False);
    return FindTitled(display.get(), DefaultRootWindow(display.get()), title, netWmName, utf8String, 1);
}

} // namespace ravelo
