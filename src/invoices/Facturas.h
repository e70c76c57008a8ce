#pragma once
// The invoice editor's rules: the field set, completing the amounts from the
// total, the date check and the four statements.
#include "data/Valor.h"

#include <QString>
#include <array>
#include <optional>

class ConexionBD;
class Registros;

// The seven text fields, index 0 to 6.
using CamposFactura = std::array<QString, 7>;

extern const std::array<const char*, 7> ColumnasFactura;  // COD_FACTURA, FECHA_FACTURA, ...
extern const std::array<int, 7> LongitudesFactura;         // 50, 10, 12, 12, 12, 2, 255

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

// The invoice as the editor read it: the columns of fields 0 to 6, then TIPO.
using FilaFactura = std::array<Valor, 8>;
// From the first row of SqlLeeFactura.
FilaFactura LeeFilaFactura(const Registros& rs);

// The update of SqlActualizaFactura, changing the row only while every column
// still holds what `leida` holds.
QString SqlActualizaFacturaSinCambios(const CamposFactura& campos, const QString& textoTipo, const QString& id,
                                      const FilaFactura& leida);

enum class Grabacion {
    Hecha,
    NoGrabada,     // the database took the statement and stored nothing
    NoEncontrada,  // the invoice is no longer there
    Cambiada,      // someone else changed it since it was read
};
// Stores a new invoice, or the changes to invoice `id` read as `leida`.
// Throws ErrorBD when the database refuses the statement.
Grabacion GrabaFacturaNueva(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo);
Grabacion GrabaCambiosFactura(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo,
                              const QString& id, const FilaFactura& leida);
