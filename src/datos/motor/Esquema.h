#pragma once
// What the program's tables hold, as the data layer needs to know it: the
// kind of each typed column (so that regional texts written into it are
// converted), the engine-neutral description of the tables and indexes from
// which each engine writes its own, and the steps from each earlier layout.
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
    const char* clave = nullptr;  // the column that is the key, when it is not ID
    int desde = 1;                // the layout that added the table
};

// The program's tables, as the current version of the program keeps them.
const std::vector<TablaEsquema>& TablasPrograma();

struct IndiceEsquema {
    const char* nombre;
    const char* tabla;
    std::vector<const char*> clave;
    std::vector<const char*> incluidas;  // carried for reading from the index alone
    const char* condicion;               // a partial index's; nullptr for none
};

const std::vector<IndiceEsquema>& IndicesPrograma();

// The described table of that name (exact, upper case); nothing for another.
const TablaEsquema* TablaPrograma(const char* nombre);

// The kind of a column of a table of the program (names case-insensitive);
// nothing for a table or column it does not know.
std::optional<ClaseColumna> ClaseDeColumna(const QString& tabla, const QString& columna);

// The version of the stored layout that this program writes.
constexpr int VersionEstructura = 6;

// What an upgrade step asks of an engine, which does it in its own SQL
// inside the upgrade's one transaction.
class ObraEstructura {
public:
    virtual ~ObraEstructura() = default;
    // The first layout's conversion triggers go, its regional texts become
    // typed values; a value that does not convert stops the upgrade.
    virtual void QuitaConversiones() = 0;
    // Adds a column as described, unless the table has it already.
    virtual void AnadeColumna(const char* tabla, const char* columna) = 0;
    // The table's columns take the types described; rows and ids are kept.
    virtual void AjustaTipos(const char* tabla) = 0;
    // Writes a described table, unless the database has it already.
    virtual void AnadeTabla(const char* tabla) = 0;
    // One statement in the SQL both engines share.
    virtual void EjecutaComun(const QString& sql) = 0;
};

// Fills the empty TERCEROS from the invoices: each NIF once, as its latest
// invoice with a name names it.
QString SqlTercerosDeFacturas();

// Brings a database of layout `desde` to VersionEstructura, one step a
// layout, in order. The caller holds the transaction, then writes the
// described indexes that are missing and stamps the version.
void ActualizaEstructura(ObraEstructura& obra, int desde);
