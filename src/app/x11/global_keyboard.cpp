#include "app/x11/global_keyboard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <utility>
#include <vector>

#include "app/x11/key_states.h"

namespace morvane::x11 {

namespace {

// The keys of each action, each key by the keysyms that stand for it.
// Shift and Ctrl answer as either side and as each side, as on Windows.
// Keypad 0 is KP_Insert while NumLock is off; both usually sit on the same
// keycode.
struct ActionKeys {
    HotKey action;
    std::vector<std::vector<KeySym>> keys;
};

const ActionKeys kActionKeys[] = {
    {HotKey::Previous, {{XK_u}}},
    {HotKey::Play, {{XK_p}}},
    {HotKey::Pause, {{XK_h}}},
    {HotKey::Stop, {{XK_s}}},
    {HotKey::Next, {{XK_n}}},
    {HotKey::Back, {{XK_comma}}},
    {HotKey::Forward, {{XK_period}}},
    {HotKey::Mark, {{XK_Control_L, XK_Control_R}, {XK_Control_L}, {XK_Control_R}}},
    {HotKey::Repeat, {{XK_Shift_L, XK_Shift_R}, {XK_Shift_L}, {XK_Shift_R}}},
    {HotKey::Record, {{XK_KP_0, XK_KP_Insert}}},
};

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

KeyTable ReadKeyTable(Display* display)
{
    KeyTable table;
    for (const ActionKeys& action : kActionKeys) {
        for (const auto& keysyms : action.keys) {
            KeyCodes keycodes;
            for (const KeySym keysym : keysyms) {
                const KeyCode keycode = XKeysymToKeycode(display, keysym);
                if (keycode != 0) keycodes.push_back(keycode);  // 0: not on this keyboard
            }
            table[action.action].push_back(std::move(keycodes));
        }
    }
    return table;
}

class RawKeyboard final : public HotKeys {
public:
    RawKeyboard(DisplayPtr display, int xi_opcode)
        : display_(std::move(display)), xi_opcode_(xi_opcode), states_(ReadKeyTable(display_.get()))
    {
    }

    bool Pressed(HotKey action) override
    {
        Drain();
        return states_.Pressed(action);
    }

    bool Down(HotKey action) override
    {
        Drain();
        return states_.Down(action);
    }

private:
    // Reads every event that has come in since the previous query, without
    // waiting for more.
    void Drain()
    {
        Display* display = display_.get();
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MappingNotify) {
                XRefreshKeyboardMapping(&event.xmapping);
                if (event.xmapping.request == MappingKeyboard) states_.SetTable(ReadKeyTable(display));
                continue;
            }
            XGenericEventCookie& cookie = event.xcookie;
            if (cookie.type != GenericEvent || cookie.extension != xi_opcode_) continue;
            if (!XGetEventData(display, &cookie)) continue;
            const int keycode = static_cast<const XIRawEvent*>(cookie.data)->detail;
            if (cookie.evtype == XI_RawKeyPress) states_.Press(keycode);
            if (cookie.evtype == XI_RawKeyRelease) states_.Release(keycode);
            XFreeEventData(display, &cookie);
        }
    }

    DisplayPtr display_;
    int xi_opcode_;
    KeyStates states_;
};

} // namespace

GlobalKeyboard OpenGlobalKeyboard()
{
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return {nullptr, "no X display to read the keys from"};

    int xi_opcode = 0;
    int first_event = 0;
    int first_error = 0;
    if (!XQueryExtension(display.get(), "XInputExtension", &xi_opcode, &first_event, &first_error)) {
        return {nullptr, "the X server has no XInput extension"};
    }
    // Announcing 2.1 gets raw events even while another program grabs the
    // keyboard; a 2.0 server serves the rest.
    int major = 2;
    int minor = 1;
    if (XIQueryVersion(display.get(), &major, &minor) != Success || major < 2) {
        return {nullptr, "the X server has no XInput 2"};
    }

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    if (XISelectEvents(display.get(), DefaultRootWindow(display.get()), &mask, 1) != Success) {
        return {nullptr, "the X server refused raw key events"};
    }
    // Keys pressed from here on are seen, even before the first query.
    XSync(display.get(), False);
    return {std::make_unique<RawKeyboard>(std::move(display), xi_opcode), {}};
}

} // namespace morvane::x11
