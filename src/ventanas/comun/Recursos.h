#pragma once
// The program's pictures (icons) live in the UI library's resources.
#include <QIcon>
#include <QPixmap>

void IniciaRecursos();
// A PNG picture of the resources (or any PNG file).
QPixmap PixmapPng(const QString& ruta);
// The application icon at every size it is drawn in, also shown by the about box.
QIcon IconoAplicacion();
// Installs, over Qt's built-in styles, a proxy that reads the few icons they
// keep as PNG files (the menu bar's overflow arrow, a sub-window's menu
// button) as PNG by name: Qt guesses their format, and guessing loads every
// picture plugin before the first window is painted. Other styles, such as a
// desktop's own, are left as they are.
void InstalaEstiloIconos();
