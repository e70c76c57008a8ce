#pragma once
// The start-up sequence with the program's windows plugged into its hooks.
#include "arranque/Arranque.h"

// First run: the company data and configuration screens, modal. Otherwise the
// main window, which then takes the stored size and state.
Arranque ArranqueConVentanas();
