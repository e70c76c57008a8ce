#pragma once
// The customers and suppliers kept once (TERCEROS) as their screen lists and
// changes them: each with its invoices and its totals of a year, by the same
// period rule as the Modelo 347; a search by NIF or name; the checks of a
// change and its statement.
#include "dominio/comun/RejillaLogica.h"
#include "dominio/declaraciones/Modelo347.h"

#include <QVector>
#include <memory>
#include <vector>

class ConexionBD;
class Registros;

struct FilaTercero {
    QString nif;  // as kept
    DatosTercero datos;
    int facturas = 0;      // of the year
    qint64 cobrado = 0;    // cents, VAT included
    qint64 pagado = 0;
};

// One row per kept counterparty, in NIF order, with the year's invoices.
std::vector<FilaTercero> ResumenTerceros(int anio, const std::vector<FacturaTercero>& facturas,
                                         const std::map<QString, DatosTercero>& terceros);
// The same from the database. Throws ErrorBD.
std::vector<FilaTercero> LeeResumenTerceros(ConexionBD& con, int anio);

// Whether the row's NIF or name holds `texto`, letter case and accents aside
// ("perez" finds "Pérez", "b-1234" the NIF B1234...); an empty text finds all.
bool CoincideBusqueda(const FilaTercero& fila, const QString& texto);

// The grid's columns: NIF, name, postal code, country, invoices, collected, paid.
QVector<ColumnaRejilla> ColumnasTerceros();
std::unique_ptr<Registros> RegistrosTerceros(const std::vector<const FilaTercero*>& filas);

// A Spanish counterparty's NIF that fails its check, as a sentence; empty
// when it is right or belongs to another country.
QString AvisoNifTercero(const QString& nif, const QString& pais);

// The change as it will be kept (texts trimmed, the country in capitals,
// empty for Spain), or the Spanish reason it cannot be.
struct CambioTercero {
    DatosTercero datos;
    QString error;
};
CambioTercero CompruebaTercero(const DatosTercero& escrito);
// Whether the boxes hold other texts than those they were given.
bool TerceroCambiado(const DatosTercero& mostrado, const DatosTercero& escrito);
// The question asked before leaving a changed counterparty.
QString PreguntaCambiosTercero(const QString& nif);

// Keeps the change of the counterparty `nif`, in one transaction; false
// when the row is no longer there. Throws ErrorBD.
bool GuardaTercero(ConexionBD& con, const QString& nif, const DatosTercero& datos);
