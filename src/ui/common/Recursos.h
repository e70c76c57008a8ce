#pragma once
// The program's pictures (icons) live in the UI library's resources.
#include <QIcon>

void IniciaRecursos();
// The application icon at every size it is drawn in, also shown by the about box.
QIcon IconoAplicacion();
