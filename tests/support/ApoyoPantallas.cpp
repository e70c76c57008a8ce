#include "ApoyoPantallas.h"
