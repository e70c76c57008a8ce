#pragma once
// The invoice editor's rules: the field set, completing the amounts from the
// total, the date check and the four statements.
#include "datos/motor/Valor.h"
#include "dominio/facturas/TiposVigentes.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>

class ConexionBD;
class Registros;

// The seven text fields, index 0 to 6.
using CamposFactura = std::array<QString, 7>;

extern const std::array<const char*, 7> ColumnasFactura;  // COD_FACTURA, FECHA_FACTURA, ...
extern const std::array<int, 7> LongitudesFactura;         // 50, 10, 12, 12, 12, 5, 255

// The counterparty fields that follow the seven: the customer of a collected
// invoice, the supplier of a paid one, and the date of the operation when it
// is not the invoice's; then the counterparty's country and, for a foreign
// one, the kind of its identifier. Spain is stored as Null, as in the rows
// written before the country was kept.
using CamposTercero = std::array<QString, 5>;
// NIF_TERCERO, FECHA_OPERACION, NOMBRE_TERCERO, PAIS_TERCERO, TIPO_ID_TERCERO
extern const std::array<const char*, 5> ColumnasTercero;
extern const std::array<int, 5> LongitudesTercero;  // 20, 10, 40, 2, 2

extern const QString PaisEspana;  // "ES"
// The kinds of a foreign identifier: "02" NIF-IVA to "06" otro.
struct TipoIdentificacion {
    const char* codigo;
    const char* nombre;  // as the editor lists it
};
extern const std::array<TipoIdentificacion, 5> TiposIdentificacion;
// A country other than Spain: two letters that are not ES (any case, blanks
// around them); an empty country is Spain.
bool EsPaisExtranjero(const QString& pais);
// Empty (Spain) or two letters.
bool PaisValido(const QString& pais);

extern const QString TipoCobros;  // "Cobros"
extern const QString TipoPagos;   // "Pagos"

// The texts of fields 2 (VAT amount), 3 (total), 4 (net) and 5 (percentage).
struct Importes {
    QString iva;
    QString total;
    QString neto;
    QString porcentaje;
    bool operator==(const Importes& o) const {
        return iva == o.iva && total == o.total && neto == o.neto && porcentaje == o.porcentaje;
    }
};

// Rule A (total and VAT amount): net and percentage. Rule B (total and
// percentage, no VAT amount): net and VAT amount. A field that does not read
// as a number or a zero divisor leaves every field unchanged.
Importes CalculaImportes(const Importes& entrada);
// The same with the rates in force: Rule A writes the rate of `impuesto` in
// force on `fecha` that gives the VAT amount to the cent from the net (the
// nearest to the exact percentage when several do), and the whole number
// above only when none does.
Importes CalculaImportes(const Importes& entrada, Impuesto impuesto, const QDate& fecha);

// The date whose rates apply to an invoice: its operation date when it has
// one, else its own date; nothing without either.
std::optional<QDate> FechaDelTipo(const CamposFactura& campos, const CamposTercero& tercero);

// What an invoice lacks when it is saved.
enum class FaltaEnImportes {
    Nada,
    Total,       // no total: it is not saved
    Iva,         // a total and a rate, no VAT amount: Rule B would complete it
    Neto,        // a total and a VAT amount, no net: Rule A would
    Porcentaje,  // a total, a VAT amount and a net, no rate: Rule A would
};
FaltaEnImportes QueFaltaEnImportes(const Importes& importes);
// The question asked for Iva, Neto and Porcentaje, with the tax word; empty
// for the others.
QString PreguntaImportesIncompletos(FaltaEnImportes falta, const QString& palabra);
// "El campo '" + caption + "' no puede quedar vacío."
QString AvisoCampoVacio(const QString& etiqueta);
// The question asked before saving a rate that is not one of the tax word's
// in force on `fecha`; empty for a rate in force, an empty field, a text
// that is not a number, and without a date.
QString PreguntaTipoNoVigente(const QString& porcentaje, const QString& palabra, const std::optional<QDate>& fecha);

// "" stays ""; a date is rewritten "dd/mm/yyyy"; nothing when not a date.
std::optional<QString> CompruebaFecha(const QString& texto);

// "Cobros" -> "C", "Pagos" -> "P", "" -> "".
QString CodigoTipo(const QString& textoTipo);
// "C" -> "Cobros", anything else (Null included) -> "Pagos".
QString NombreTipo(const Valor& tipo);

QString SqlLeeFactura(const QString& id);
QString SqlInsertaFactura(const CamposFactura& campos, const QString& textoTipo);
QString SqlActualizaFactura(const CamposFactura& campos, const QString& textoTipo, const QString& id);
QString SqlBorraFactura(const QString& id);
// The same statements naming the counterparty columns too, after the others.
QString SqlInsertaFactura(const CamposFactura& campos, const QString& textoTipo, const CamposTercero& tercero);
QString SqlActualizaFactura(const CamposFactura& campos, const QString& textoTipo, const CamposTercero& tercero,
                            const QString& id);

// The counterparty as it is stored: the NIF normalised, no operation date
// when it is the invoice's own, the country in capitals, and for Spain
// neither country nor kind of identifier.
// The upsert that keeps the counterparty's row as its latest invoice names
// it; nothing for an invoice without NIF.
std::optional<QString> SqlGuardaTercero(const CamposTercero& tercero);

// The counterparty kept for a NIF, which the editor offers for a name not
// typed yet: its name, its country ("" for Spain) and kind of identifier.
struct TerceroConocido {
    QString nombre, pais, tipoId;
};
// Nothing for an empty or unknown NIF. Throws ErrorBD.
std::optional<TerceroConocido> BuscaTerceroConocido(ConexionBD& con, const QString& nif);
// What the editor fills from it: nothing once a name is typed; the country
// (with its kind of identifier) only while the box holds Spain, its default,
// so that a country typed stays.
std::optional<TerceroConocido> RellenoDeTercero(const std::optional<TerceroConocido>& conocido,
                                                const QString& nombreEscrito, const QString& paisEscrito);

CamposTercero TerceroParaGrabar(const CamposFactura& campos, const CamposTercero& tercero);

// The invoice as the editor read it: the columns of fields 0 to 6, TIPO, then
// the counterparty's columns.
using FilaFactura = std::array<Valor, 13>;
// From the first row of SqlLeeFactura. A column the database lacks (an
// earlier layout read as it is) reads as Null.
FilaFactura LeeFilaFactura(const Registros& rs);

// The update of SqlActualizaFactura, changing the row only while every column
// still holds what `leida` holds.
QString SqlActualizaFacturaSinCambios(const CamposFactura& campos, const QString& textoTipo,
                                      const CamposTercero& tercero, const QString& id, const FilaFactura& leida);

// Another invoice of the same type that looks like this one: the same NIF and
// code in the same year or, without a NIF, the same code, date and total.
// `id` is the invoice itself (empty for a new one). Nothing to look for
// without a code, nor without a NIF when the date or the total is missing.
std::optional<QString> SqlFacturaRepetida(const CamposFactura& campos, const QString& textoTipo,
                                          const CamposTercero& tercero, const QString& id);
// The question asked before saving such an invoice; empty when there is none.
// Throws ErrorBD.
QString PreguntaFacturaRepetida(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo,
                                const CamposTercero& tercero, const QString& id);

enum class Grabacion {
    Hecha,
    NoGrabada,     // the database took the statement and stored nothing
    NoEncontrada,  // the invoice is no longer there
    Cambiada,      // someone else changed it since it was read
};
// Stores a new invoice, or the changes to invoice `id` read as `leida`.
// Throws ErrorBD when the database refuses the statement.
Grabacion GrabaFacturaNueva(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo,
                            const CamposTercero& tercero);
Grabacion GrabaCambiosFactura(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo,
                              const CamposTercero& tercero, const QString& id, const FilaFactura& leida);
