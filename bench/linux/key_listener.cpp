// The reference for the hot-key latency: a program that only listens for
// keys, as Morvane's global keyboard does (XInput2 raw events on the root
// window), but waits on the X connection instead of sampling it. Prints
// "ready", then "keycode monotonic-ns" for every key press it sees.

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cstdio>
#include <ctime>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    int opcode = 0, first_event = 0, first_error = 0, major = 2, minor = 1;
    if (display == nullptr || !XQueryExtension(display, "XInputExtension", &opcode, &first_event, &first_error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        std::fprintf(stderr, "key listener: no X display with XInput 2\n");
        return 1;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);  // steady_clock in the driver
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != opcode || !XGetEventData(display, &cookie)) continue;
        if (cookie.evtype == XI_RawKeyPress) {
            std::printf("%d %lld\n", static_cast<const XIRawEvent*>(cookie.data)->detail,
                        static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec);
            std::fflush(stdout);
        }
        XFreeEventData(display, &cookie);
    }
}
