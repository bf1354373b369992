#include "app/x11/global_keyboard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <span>
#include <utility>
#include <vector>

#include "app/x11/key_states.h"
#include "app/x11/keysyms.h"

namespace morvane::x11 {

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

KeyCodes Keycodes(Display* display, std::span<const unsigned long> keysyms)
{
    KeyCodes keycodes;
    for (const unsigned long keysym : keysyms) {
        const KeyCode keycode = XKeysymToKeycode(display, keysym);
        if (keycode != 0) keycodes.push_back(keycode);  // 0: not on this keyboard
    }
    return keycodes;
}

// Each action's key by the keycodes of its keysyms. Shift and Ctrl answer as
// either side and as each side, as on Windows; keypad 0 is KP_Insert while
// Num Lock is off, usually on the same keycode.
KeyTable ReadKeyTable(Display* display, const keys::KeyMap& map)
{
    KeyTable table;
    for (HotKey action : kAllHotKeys) {
        const auto& chord = map[action].chord;
        if (!chord) continue;
        const std::vector<unsigned long> keysyms = Keysyms(chord->key);
        table[action].push_back(Keycodes(display, keysyms));
        if (keys::OwnModifier(chord->key) != 0)
            for (const unsigned long side : keysyms) table[action].push_back(Keycodes(display, std::span(&side, 1)));
    }
    return table;
}

ModifierCodes ReadModifierCodes(Display* display)
{
    ModifierCodes codes;
    for (const keys::Modifiers bit : {keys::kCtrl, keys::kAlt, keys::kShift, keys::kSuper})
        codes[bit] = Keycodes(display, ModifierKeysyms(bit));
    return codes;
}

class RawKeyboard final : public HotKeys {
public:
    RawKeyboard(DisplayPtr display, int xi_opcode, const keys::KeyMap& map)
        : display_(std::move(display)),
          xi_opcode_(xi_opcode),
          map_(map),
          states_(ReadKeyTable(display_.get(), map), map, ReadModifierCodes(display_.get()))
    {
    }

    bool Pressed(HotKey action) override
    {
        Drain();
        return states_.Pressed(action);
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
                if (event.xmapping.request == MappingKeyboard) states_.SetTable(ReadKeyTable(display, map_), ReadModifierCodes(display));
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
    keys::KeyMap map_;
    KeyStates states_;
};

} // namespace

std::unique_ptr<HotKeys> OpenGlobalKeyboard(const keys::KeyMap& map)
{
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return nullptr;

    int xi_opcode = 0;
    int first_event = 0;
    int first_error = 0;
    if (!XQueryExtension(display.get(), "XInputExtension", &xi_opcode, &first_event, &first_error)) return nullptr;
    // Announcing 2.1 gets raw events even while another program grabs the
    // keyboard; a 2.0 server serves the rest.
    int major = 2;
    int minor = 1;
    if (XIQueryVersion(display.get(), &major, &minor) != Success || major < 2) return nullptr;

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    if (XISelectEvents(display.get(), DefaultRootWindow(display.get()), &mask, 1) != Success) return nullptr;
    // Keys pressed from here on are seen, even before the first query.
    XSync(display.get(), False);
    return std::make_unique<RawKeyboard>(std::move(display), xi_opcode, map);
}

} // namespace morvane::x11
