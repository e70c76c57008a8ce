#pragma once
// The program's pictures (icons) live in the UI library's resources.
#include <QIcon>

void IniciaRecursos();
// The application icon, also shown by the about box.
QIcon IconoAplicacion();
