#include "platform/x11/x11_taskbar.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

namespace kelvox {

namespace {

// A window can vanish between being listed and being asked about; Xlib's default handler would end
// the program for that, so errors are ignored while the docks are looked for.
int ignore_x_error(Display*, XErrorEvent*) {
    return 0;
}

class XSession {
public:
    XSession() : display_(XOpenDisplay(nullptr)) {
        if (display_ != nullptr)
            previous_ = XSetErrorHandler(ignore_x_error);
    }
    ~XSession() {
        if (display_ == nullptr)
            return;
        XSync(display_, False);
        XSetErrorHandler(previous_);
        XCloseDisplay(display_);
    }
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;
    Display* display() const { return display_; }

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

std::vector<Window> window_list_property(Display* display, Window window, Atom property, Atom type) {
    std::vector<Window> result;
    Atom actual_type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 4096, False, type, &actual_type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr) {
        if (format == 32) {
            const auto* items = reinterpret_cast<const unsigned long*>(data);
            result.assign(items, items + count);
        }
        XFree(data);
    }
    return result;
}

bool is_dock(Display* display, Window window) {
    const Atom type_property = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const Atom dock = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False);
    const std::vector<Window> types = window_list_property(display, window, type_property, XA_ATOM);
    return std::find(types.begin(), types.end(), dock) != types.end();
}

bool is_viewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

// Panels are managed clients (the window manager's client list) or, with some desktops, unmanaged
// children of the root window; both places are searched.
std::vector<Window> visible_docks(Display* display) {
    const Window root = DefaultRootWindow(display);
    std::vector<Window> candidates =
        window_list_property(display, root, XInternAtom(display, "_NET_CLIENT_LIST", False), XA_WINDOW);
    Window root_return = 0;
    Window parent_return = 0;
    Window* children = nullptr;
    unsigned int child_count = 0;
    if (XQueryTree(display, root, &root_return, &parent_return, &children, &child_count) != 0 && children) {
        candidates.insert(candidates.end(), children, children + child_count);
        XFree(children);
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    std::vector<Window> docks;
    for (Window window : candidates)
        if (is_dock(display, window) && is_viewable(display, window))
            docks.push_back(window);
    return docks;
}

bool on_x11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

void X11Taskbar::hide() {
    if (!on_x11())
        return;
    XSession session;
    if (session.display() == nullptr)
        return;
    for (Window dock : visible_docks(session.display())) {
        XUnmapWindow(session.display(), dock);
        if (std::find(hidden_.begin(), hidden_.end(), dock) == hidden_.end())
            hidden_.push_back(dock);
    }
}

void X11Taskbar::show() {
    if (!on_x11() || hidden_.empty())
        return;
    XSession session;
    if (session.display() == nullptr)
        return;
    for (std::uint64_t dock : hidden_)
        XMapWindow(session.display(), static_cast<Window>(dock));
    hidden_.clear();
}

std::unique_ptr<Taskbar> system_taskbar() {
    return std::make_unique<X11Taskbar>();
}

} // namespace kelvox
