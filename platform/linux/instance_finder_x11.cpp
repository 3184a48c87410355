// Qt's headers first: Xlib's macros (None, Bool, Status) would break them.
#include "platform/linux/instance_finder_x11.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <vector>

namespace kvr {

namespace {

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};

std::vector<Window> windowListProperty(Display* dpy, Window w, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Window> result;
    if (XGetWindowProperty(dpy, w, property, 0, 4096, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        if (type == XA_WINDOW && format == 32) {
            const auto* ids = reinterpret_cast<const unsigned long*>(data);
            result.assign(ids, ids + count);
        }
        XFree(data);
    }
    return result;
}

QString windowTitle(Display* dpy, Window w) {
    Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(dpy, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr) {
        if (type == utf8 && format == 8)
            title = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
        XFree(data);
        if (!title.isEmpty()) return title;
    }
    char* name = nullptr;
    if (XFetchName(dpy, w, &name) && name != nullptr) {
        title = QString::fromLocal8Bit(name);
        XFree(name);
    }
    return title;
}

// Without a window manager the top-level windows are the root's children; with one, the
// window manager's client list names them (their frames are the root's children instead).
Window findByTitle(Display* dpy, const QString& title) {
    Window root = DefaultRootWindow(dpy);
    std::vector<Window> candidates =
        windowListProperty(dpy, root, XInternAtom(dpy, "_NET_CLIENT_LIST", False));
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(dpy, root, &rootReturn, &parent, &children, &count) && children != nullptr) {
        for (unsigned int i = 0; i < count; ++i) {
            candidates.push_back(children[i]);
            // One level down catches clients inside frames of a window manager without a list.
            Window r2 = 0, p2 = 0, *grand = nullptr;
            unsigned int n2 = 0;
            if (XQueryTree(dpy, children[i], &r2, &p2, &grand, &n2) && grand != nullptr) {
                candidates.insert(candidates.end(), grand, grand + n2);
                XFree(grand);
            }
        }
        XFree(children);
    }
    for (Window w : candidates) {
        if (windowTitle(dpy, w) == title) return w;
    }
    return 0;
}

}  // namespace

bool X11InstanceFinder::raiseExisting(const QString& title) {
    std::unique_ptr<Display, DisplayCloser> dpy(XOpenDisplay(nullptr));
    if (!dpy) return false;
    Window w = findByTitle(dpy.get(), title);
    if (w == 0) return false;

    // Mapping restores a minimised window; _NET_ACTIVE_WINDOW asks the window manager to bring
    // it to the front (source 2: a direct user request, which focus-stealing rules let through).
    XMapRaised(dpy.get(), w);
    XEvent ev;
    std::memset(&ev, 0, sizeof ev);
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(dpy.get(), "_NET_ACTIVE_WINDOW", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 2;
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy.get(), DefaultRootWindow(dpy.get()), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    XFlush(dpy.get());
    return true;
}

// Under Wayland and Qt's other platforms the windows of other programs cannot be listed.
std::unique_ptr<InstanceFinder> makeWindowListFinder() {
    if (QGuiApplication::platformName() == "xcb") return std::make_unique<X11InstanceFinder>();
    return nullptr;
}

}  // namespace kvr
