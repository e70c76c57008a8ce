#pragma once
// Bringing invoices in from a file: the tax agency's VAT books (the
// program's own workbook, the agency's unified one, or their CSV files) or
// any spreadsheet's CSV mapped column by column. Every row is read and
// checked before anything is written: new, repeated (the editor's rule) or
// refused with its reason; the new ones are then stored in one transaction,
// all or none.
#include "dominio/importacion/MapaImportacion.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class ConexionBD;

struct FilaImportacion {
    enum class Estado { Nueva, Repetida, Rechazada };
    Estado estado = Estado::Nueva;
    int linea = 0;      // the file's line or the sheet's row, from 1
    QString hoja;       // the sheet, in a workbook
    QString motivo;     // why it is refused or repeated, in Spanish
    QString completados;  // the amounts completed ("base y cuota"); empty when none
    bool sinImpuesto = false;  // IGIC books: the tax is not in them
    bool cobro = false;
    QString codigo, descripcion, nif, nombre, pais, tipoIdentificacion;
    QDate fecha, fechaOperacion;
    std::optional<double> neto, porcentaje, cuota, total;
    // A refused row's fields as the file wrote them, in the order of the
    // map's first thirteen: what it is saved with, to be mended.
    QStringList textos;
};

enum class FormatoImportacion { Xlsx, Csv };
// By the extension, whatever its case: ".xlsx", or ".csv" and ".txt".
std::optional<FormatoImportacion> FormatoImportable(const QString& ruta);

// A first look at the file, before its rows are read.
struct ExamenImportacion {
    QString error;          // in Spanish, when it cannot be read
    bool libros = false;    // VAT books: their columns are known
    QStringList cabeceras;  // otherwise, the columns to map
    MapaColumnas propuesto; // from the headers' words
    QString claveMapa;      // where the map of these headers is kept
};
ExamenImportacion ExaminaImportacion(const QString& ruta);

// How far the reading or the storing has gone, 0 to 1000; false to stop.
using ProgresoImportacion = std::function<bool(int permil)>;

struct Importacion {
    QString archivo;
    std::vector<FilaImportacion> filas;
    QString error;  // in Spanish: the file could not be read (no rows then)
    bool cancelada = false;
    int Cuenta(FilaImportacion::Estado estado) const;
    int Nuevas() const { return Cuenta(FilaImportacion::Estado::Nueva); }
    int Repetidas() const { return Cuenta(FilaImportacion::Estado::Repetida); }
    int Rechazadas() const { return Cuenta(FilaImportacion::Estado::Rechazada); }
};

// Reads every row of the file with the headers' `mapa` (a book's own
// columns are known: its map is not needed).
Importacion LeeImportacion(const QString& ruta, const MapaColumnas& mapa = {},
                           const ProgresoImportacion& progreso = {});

// Marks as repeated the new rows the database already holds, by the
// editor's rule (SqlFacturaRepetida). Throws ErrorBD.
void MarcaRepetidas(ConexionBD& con, Importacion& imp);

// Stores the new rows in one transaction and returns how many; nothing is
// stored when it throws ErrorBD or when the progress stops it (then -1).
int GrabaImportacion(ConexionBD& con, const Importacion& imp, const ProgresoImportacion& progreso = {});

// "Importadas 1.234 facturas; 12 repetidas no se importaron; 3 rechazadas."
QString ResumenImportacion(int importadas, int repetidas, int rechazadas);
// "1.234 facturas nuevas (5 con importes completados), 12 repetidas y 3 rechazadas."
QString CuentaImportacion(const Importacion& imp);

// The refused rows, with their reason, as a CSV the import reads again once
// mended; written whole or not at all. False, with the Spanish reason, when
// it cannot be written.
bool EscribeRechazadas(const QString& ruta, const Importacion& imp, QString* error = nullptr);
