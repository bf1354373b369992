#pragma once

// Private messages of the stand-in player, for the end-to-end test driver.
// They are answered at once (no --delay) and never logged, so the driver can
// read the player's state without disturbing the log it checks.
// Plain numbers: WM_APP is 0x8000.

#define STANDIN_WM_APP 0x8000

#define STANDIN_GET_STATE (STANDIN_WM_APP + 0)      /* 1 playing, 3 paused, 0 stopped */
#define STANDIN_GET_POSITION_MS (STANDIN_WM_APP + 1)
#define STANDIN_GET_TRACK (STANDIN_WM_APP + 2)      /* 1-based */
#define STANDIN_HANG (STANDIN_WM_APP + 3)           /* post it: wParam ms, 0 = forever */
#define STANDIN_GET_LENGTH_SEC (STANDIN_WM_APP + 4)
/* wParam i (from 0): the position the i-th jump left, or how long the i-th
   pause lasted until playing on, in ms; -1 when there is none (yet). */
#define STANDIN_GET_JUMPED_FROM_MS (STANDIN_WM_APP + 5)
#define STANDIN_GET_PAUSE_MS (STANDIN_WM_APP + 6)

/* The playlist: three tracks, the second longer than 32767 s. */
#define STANDIN_TRACK_COUNT 3
#define STANDIN_LONG_TRACK 2
