#pragma once

// Dialog-control identifiers and window class names, shared by the program,
// its resources and the end-to-end test driver. Plain macros so the
// resource compiler can read them too.

#include "app/layout/control_ids.h"

#define MORVANE_MAIN_CLASS L"Morvane.MainForm"

// The note prompt dialog.
#define IDD_PROMPT 200
#define IDC_PROMPT_MESSAGE 201
#define IDC_PROMPT_EDIT 202

#define IDI_MORVANE 100
