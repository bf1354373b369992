#pragma once

#include <cstdint>

namespace morvane {

// The system-wide keyboard, sampled rather than listened to.
class Keyboard {
public:
    virtual ~Keyboard() = default;
    // GetAsyncKeyState's answer for a virtual-key code: bit 15 set while the
    // key is down, bit 0 set when it was pressed since the previous query of
    // that same code. Each query consumes the "pressed since" bit.
    virtual std::int16_t Get_Async_Key_State(int virtual_key) = 0;
};

} // namespace morvane
