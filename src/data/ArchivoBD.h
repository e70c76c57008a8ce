#pragma once
// Checks on a database file that is not the open one (a copy, a file to restore).
#include <QString>

// The engine's own check of every page and index of the file, read only:
// "" when the file is sound, otherwise the engine's report (for the log).
QString InformeIntegridad(const QString& ruta);
