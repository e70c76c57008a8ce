#pragma once
// What the books' screen and command say, without windows: the checks of the
// year and the quarter, and the texts of the outcome.
#include "dominio/libros/ArchivoLibros.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace TextoLibros {
extern const QString AnioNoValido;       // "El año no es válido."
extern const QString Cancelada;          // nothing was written
// Around the list of the invoices the books cannot take as they are: the
// heading, what the screen offers, what the command does.
extern const QString CabeceraIncidencias;
extern const QString PieIncidencias;
extern const QString PieIncidenciasOrden;
// With IGIC configured, before writing: the agency's import is for VAT.
extern const QString SoloIva;
}  // namespace TextoLibros

// The year typed ("2026", or "26" for 2026); nothing for one that is not a year.
std::optional<int> LeeAnioLibros(const QString& texto);
// "1" to "4" as the quarter index 0..3; nothing otherwise.
std::optional<int> LeeTrimestreLibros(const QString& texto);

// "Libros registro de 2026, del 01/01/2026 al 31/03/2026: 3 facturas emitidas
// y 2 recibidas, en <archivos>."
QString ResumenLibros(const DatosLibros& datos, const QStringList& archivos);
// A workbook larger than the agency takes; empty when it is not.
QString AvisoTamanoLibros(const QStringList& archivos, FormatoLibros formato);
