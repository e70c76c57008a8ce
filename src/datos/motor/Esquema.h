#pragma once
// What the program's tables hold, as the data layer needs to know it: the
// kind of each typed column (so that regional texts written into it are
// converted) and the engine-neutral description of the tables.
#include <QString>
#include <optional>
#include <vector>

enum class ClaseColumna { Texto, Entero, Numero, Fecha };

struct ColumnaEsquema {
    const char* nombre;
    ClaseColumna clase;
    int longitud;  // texts: the declared length; 0 for the rest
};

struct TablaEsquema {
    const char* nombre;
    std::vector<ColumnaEsquema> columnas;
    bool conId;  // an identity column ID comes first
};

// The three tables, as the current version of the program keeps them.
const std::vector<TablaEsquema>& TablasPrograma();

// The kind of a column of a table of the program (names case-insensitive);
// nothing for a table or column it does not know.
std::optional<ClaseColumna> ClaseDeColumna(const QString& tabla, const QString& columna);

// The version of the stored layout that this program writes.
constexpr int VersionEstructura = 4;
