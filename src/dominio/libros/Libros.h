#pragma once
// The VAT record books without windows: the invoices of a year, up to the end
// of a quarter, laid out as the tax agency's electronic format has them
// (sheet EXPEDIDAS for the collected invoices, RECIBIDAS for the paid ones).
// The books write the figures as they are stored, as the return reads them:
// nothing is completed, and what the agency would refuse is listed first.
#include "dominio/facturas/TiposVigentes.h"
#include "dominio/facturas/Trimestres.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

class ConexionBD;
class Registros;

// What the books carry of the company.
struct EmpresaLibros {
    QString nif;  // normalised
    QString nombre;
    QString codigoActividad, tipoActividad, epigrafe;
};

// One invoice as it is stored.
struct FacturaLibro {
    bool expedida = false;  // collected ("Cobros"): the book of issued invoices
    QDate fecha;
    QDate fechaOperacion;   // invalid when there is none
    QString codigo, nif, nombre;
    QString pais;           // two letters; empty or "ES" for Spain
    QString tipoId;         // a foreign identifier's type, "02" to "06"
    // To the cent, the rate in hundredths of a percent; nothing where the
    // invoice has none.
    std::optional<qint64> total, base, tipo, cuota;

    bool Extranjera() const;
    // A negative total: a rectifying invoice.
    bool Negativa() const { return total.value_or(0) < 0; }
    // The date that places it in its quarter (the reception date of a paid one).
    QDate Declaracion() const;
};

struct DatosLibros {
    int anio = 0;
    int trimestre = -1;  // 0..3; -1 for the whole year
    RangoFechas rango;   // "01/01/aaaa" to the end of the quarter or of the year
    Impuesto impuesto = Impuesto::IVA;
    EmpresaLibros empresa;
    std::vector<FacturaLibro> facturas;  // in date order, then by code
    int Expedidas() const;
    int Recibidas() const;
};

// From 1 January to the end of quarter `trimestre` (0..3), or of the year for -1.
RangoFechas RangoLibros(int anio, int trimestre);
// The invoices that may belong to the range: dated in it, or with their
// operation date in it when the table has that column; in date order and
// then by code.
QString SqlFacturasLibros(const RangoFechas& rango, bool conFechaOperacion);
// Reads the company and the invoices whose quarter (FechaDeclaracion) falls in
// the range. A file of an earlier layout, opened only to read, has no
// counterparty: it reads as empty. Throws ErrorBD.
DatosLibros LeeDatosLibros(ConexionBD& con, int anio, int trimestre, Impuesto impuesto = Impuesto::IVA);
// The company's row (the first; empty when there is none).
EmpresaLibros LeeEmpresaLibros(const Registros& rs);

// An invoice the books cannot take as it is, and why.
struct IncidenciaLibro {
    QString tipo;  // "Cobros" or "Pagos"
    QString fecha, codigo, total;
    QString motivo;
};
// Missing amounts, and every row the agency's validation refuses: a rate not
// in force on the operation date, a cuota more than a cent from base by
// rate, a total that is not base plus cuota (rectifying invoices aside), a
// paid invoice without the supplier's identifier, an operation date after the
// issue date of a collected one, a foreign identifier without its type; also
// a collected invoice above 400 € without NIF, a Spanish NIF that fails its
// check and a number cut to fit.
std::vector<IncidenciaLibro> IncidenciasLibros(const std::vector<FacturaLibro>& facturas, Impuesto impuesto);
// "Cobros 15/01/2026 C-001 (total 1.210,00): sin NIF del cliente, ..."
QString LineaIncidencia(const IncidenciaLibro& i);

// The agency's name for the file, without extension: the year, the
// company's NIF, "C" (all the VAT books) and the company's name, less the
// characters a file name cannot hold.
QString NombreArchivoLibros(int anio, const EmpresaLibros& empresa);

// ---- The sheets --------------------------------------------------------------

// What a column of a sheet takes from the invoice.
enum class CampoLibro {
    Nada, Ejercicio, Periodo, CodigoActividad, TipoActividad, Epigrafe, TipoFactura, FechaExpedicion,
    FechaOperacion, FechaRecepcion, Numero, TipoId, Pais, Nif, Nombre, Clave, Calificacion, No, Total, Base,
    TipoIva, Cuota,
};

// Rows 1 to 3 are the agency's template's own texts.
struct ColumnaLibro {
    const char* grupo;       // header row 1
    const char* subcolumna;  // header row 2; "" for a column of its own
    const char* formato;     // header row 3
    int longitud;            // texts are cut to it; 0 for the others
    CampoLibro campo;
};

struct HojaLibro {
    const char* nombre;  // "EXPEDIDAS", "RECIBIDAS"
    std::vector<ColumnaLibro> columnas;
};
const HojaLibro& HojaExpedidas();
const HojaLibro& HojaRecibidas();
const HojaLibro& HojaDe(const FacturaLibro& f);

// The header of a column in a single line (CSV): "Autoliquidación - Ejercicio".
QString TituloColumna(const ColumnaLibro& c);

// The cells of one invoice's row on its own sheet (CeldasLibros.h lays them out).
struct CeldaLibro {
    enum class Clase { Vacia, Texto, Entero, Centesimas, Fecha };  // a code is a text
    Clase clase = Clase::Vacia;
    QString texto;   // already cut
    qint64 numero = 0;
    QDate fecha;
};
std::vector<CeldaLibro> CeldasLibro(const FacturaLibro& f, const EmpresaLibros& empresa,
                                    Impuesto impuesto = Impuesto::IVA);
// The first `longitud` whole characters of `texto` (a lone half of a character
// is none).
QString CortaTexto(QStringView texto, int longitud);
