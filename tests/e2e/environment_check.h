#pragma once

#include "harness.h"

namespace e2e {

// Reports whether Wine runs with the code page and fonts the program expects.
void check_environment(Checks& checks);

}  // namespace e2e
