#include "app/x11/global_keyboard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <utility>

#include "app/x11/key_states.h"

namespace morvane::x11 {

namespace {

struct KeyName {
    int virtual_key;
    KeySym keysym;
};

// The keys the program asks about. Keypad 0 is KP_Insert while NumLock is
// off; both usually sit on the same keycode.
constexpr KeyName kKeyNames[] = {
    {80, XK_p},          {83, XK_s},          {72, XK_h},           {85, XK_u},
    {78, XK_n},          {16, XK_Shift_L},    {16, XK_Shift_R},     {160, XK_Shift_L},
    {161, XK_Shift_R},   {17, XK_Control_L},  {17, XK_Control_R},   {162, XK_Control_L},
    {163, XK_Control_R}, {188, XK_comma},     {190, XK_period},     {96, XK_KP_0},
    {96, XK_KP_Insert},
};

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

KeyTable ReadKeyTable(Display* display)
{
    KeyTable table;
    for (const KeyName& name : kKeyNames) {
        const KeyCode keycode = XKeysymToKeycode(display, name.keysym);
        if (keycode != 0) table[name.virtual_key].push_back(keycode);  // 0: not on this keyboard
    }
    return table;
}

class RawKeyboard final : public Keyboard {
public:
    RawKeyboard(DisplayPtr display, int xi_opcode)
        : display_(std::move(display)), xi_opcode_(xi_opcode), states_(ReadKeyTable(display_.get()))
    {
    }

    std::int16_t Get_Async_Key_State(int virtual_key) override
    {
        Drain();
        return states_.Query(virtual_key);
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
