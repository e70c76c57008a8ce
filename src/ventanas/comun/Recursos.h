#pragma once
// The program's pictures (icons) live in the UI library's resources.
#include <QIcon>
#include <QPixmap>

void IniciaRecursos();
// A PNG picture of the resources (or any PNG file).
QPixmap PixmapPng(const QString& ruta);
// The application icon at every size it is drawn in, also shown by the about box.
QIcon IconoAplicacion();
