#pragma once
// Helpers for the Qt Test programs of the screens.
#include "ApoyoPruebas.h"
