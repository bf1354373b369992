#include <windows.h>

#include "app/win32/system_ports.h"

namespace morvane::win32 {

std::int16_t Async_Keyboard::Get_Async_Key_State(int virtual_key)
{
    return static_cast<std::int16_t>(GetAsyncKeyState(virtual_key));
}

} // namespace morvane::win32
