#pragma once
// Writing the VAT books: the agency's XLSX workbook, or CSV files for a
// spreadsheet. Each file is written under a temporary name beside its place
// and put there whole at the end: a failed or cancelled export leaves nothing
// half written under the final name.
#include "dominio/libros/Libros.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

enum class FormatoLibros { Xlsx, Csv };

// By the extension, whatever its case: ".xlsx" or ".csv".
std::optional<FormatoLibros> FormatoDeArchivo(const QString& ruta);
// The files an export to `ruta` writes: the workbook itself; for CSV one file
// per book, "<name>_EXPEDIDAS.csv" and "<name>_RECIBIDAS.csv".
QStringList ArchivosLibros(const QString& ruta, FormatoLibros formato);

// The rows written so far, of how many; returns false to stop.
using ProgresoLibros = std::function<bool(int hechas, int total)>;

struct ResultadoLibros {
    enum class Estado { Hecho, Cancelado, Fallido };
    Estado estado = Estado::Hecho;
    QString error;         // in Spanish, when it failed
    QStringList archivos;  // those written
};
ResultadoLibros EscribeLibros(const QString& ruta, FormatoLibros formato, const DatosLibros& datos,
                              const ProgresoLibros& progreso = {});

// The agency takes workbooks of 4 MB at most.
constexpr qint64 TamanoMaximoLibros = 4 * 1024 * 1024;
