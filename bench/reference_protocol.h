#pragma once

// The reference program's window class and its one private message: the
// benchmark driver asks it how many timer ticks it has handled.

#define BENCH_REFERENCE_CLASS L"MorvaneBenchReference"
#define BENCH_GET_TICKS (0x8000 + 0x40) /* WM_APP + 0x40 */
