#pragma once
// The VAT record books without windows: the invoices of a year, up to the end
// of a quarter, laid out as the tax agency's electronic format has them
// (sheet EXPEDIDAS for the collected invoices, RECIBIDAS for the paid ones).
#include "invoices/Trimestres.h"

#include <QDate>
#include <QString>
#include <QStringList>
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
    std::optional<double> total, base, tipo, cuota;
};

struct DatosLibros {
    int anio = 0;
    int trimestre = -1;  // 0..3; -1 for the whole year
    RangoFechas rango;   // "01/01/aaaa" to the end of the quarter or of the year
    EmpresaLibros empresa;
    std::vector<FacturaLibro> facturas;  // in date order, then by code
    int Expedidas() const;
    int Recibidas() const;
};

// From 1 January to the end of quarter `trimestre` (0..3), or of the year for -1.
RangoFechas RangoLibros(int anio, int trimestre);
// The invoices of the range, in date order and then by code.
QString SqlFacturasLibros(const RangoFechas& rango);
// Reads the company and the invoices. A file of an earlier layout, opened
// only to read, has no counterparty: it reads as empty. Throws ErrorBD.
DatosLibros LeeDatosLibros(ConexionBD& con, int anio, int trimestre);
// The company's row (the first; empty when there is none).
EmpresaLibros LeeEmpresaLibros(const Registros& rs);

// The amounts the books write, those missing completed from the others as
// the editor completes them; nothing where they cannot be.
struct ImportesLibro {
    std::optional<double> total, base, tipo, cuota;
    bool Completos() const { return total && base && tipo && cuota; }
};
ImportesLibro ImportesDe(const FacturaLibro& f);

// F1 with a NIF, F2 without (a simplified invoice); R4 and R5 the same for a
// negative total (rectifying invoices).
QString TipoFacturaLibro(const FacturaLibro& f);
// "1T" .. "4T": the quarter of the invoice's date.
QString PeriodoLibro(const QDate& fecha);

// An invoice the books cannot take as it is, and why.
struct IncidenciaLibro {
    QString tipo;  // "Cobros" or "Pagos"
    QString fecha, codigo, total;
    QString motivo;
};
// No NIF on a collected invoice above 400 € (only a simplified invoice may
// lack it), a NIF that fails its check, amounts that cannot be completed.
std::vector<IncidenciaLibro> IncidenciasLibros(const std::vector<FacturaLibro>& facturas);
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
    FechaOperacion, Numero, Nif, Nombre, Clave, Calificacion, No, Total, Base, TipoIva, Cuota,
};
enum class ClaseColumnaLibro { Texto, Entero, Importe };

struct ColumnaLibro {
    const char* grupo;       // header row 1
    const char* subcolumna;  // header row 2; "" for a column of its own
    const char* formato;     // header row 3
    int longitud;            // texts are cut to it; 0 for numbers
    ClaseColumnaLibro clase;
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

struct CeldaLibro {
    enum class Clase { Vacia, Texto, Numero };
    Clase clase = Clase::Vacia;
    QString texto;
    double numero = 0;  // amounts already rounded to cents
};
// The cells of one invoice's row on its own sheet, one per column.
// `celdas` is reused from row to row.
void CeldasLibro(const FacturaLibro& f, const EmpresaLibros& empresa, std::vector<CeldaLibro>& celdas);
