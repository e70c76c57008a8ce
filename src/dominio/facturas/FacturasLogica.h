#pragma once
// The window-free part of the quarter browser and the invoice editor: the
// grids' columns, the captions that carry the tax word, the search check and
// the editor's walk through its fields.
#include "dominio/comun/RejillaLogica.h"

#include <QString>
#include <QVector>
#include <array>

namespace TextoFacturas {
extern const QString FechaNoValida;        // "Esa fecha no es válida."
extern const QString FaltaAnio;            // "El campo año debe estar cubierto."
extern const QString FaltanFechas;         // "Seleccione las fechas entre las que visualizar los datos."
extern const QString NingunaSeleccionada;  // "No ha seleccionado ninguna Factura."
extern const QString NoEncontrada;         // "No se encontró la información de la factura."
extern const QString ConfirmaBorrado;      // "¿Seguro que desea borrar esta factura?"
extern const QString TotalInicial;         // "9,999,999.00"
extern const QString DiferenciaInicial;    // "9,999,999.99"
extern const QString AnioNoValido;         // "El año no es válido."
extern const QString FaltaTipo;            // asks for "Pagos" or "Cobros"
extern const QString NoGrabada;            // the database stored nothing
extern const QString CambiadaPorOtro;      // changed elsewhere; asks whether to read it again
extern const QString PaisNoValido;         // the country is not two letters
extern const QString FaltaTipoId;          // a foreign NIF without the kind of identifier
}  // namespace TextoFacturas

// One column of the browser's grids: data field, caption, width in twips.
struct ColumnaFacturas {
    const char* campo;
    const char* titulo;
    int ancho;
};
extern const std::array<ColumnaFacturas, 7> ColumnasRejillaFacturas;

// The grids' model columns as designed: captions and fields only, left
// aligned and without format until the screen presents them.
QVector<ColumnaRejilla> ColumnasModeloFacturas();

// What the browser sets by caption after the common grid form.
struct AjusteColumna {
    QString titulo;
    Qt::Alignment alineacion;
    QString formato;  // "" leaves the column's format alone
};
QVector<AjusteColumna> AjustesRejillaFacturas();

QString TituloImporteImpuesto(const QString& palabra);     // "Importe IVA"
QString TituloDiferenciaImpuesto(const QString& palabra);  // "IVA:"
QString TituloTotalIncluido(const QString& palabra);       // "Importe Total (IVA incluido)"
QString TituloPorcentajeImpuesto(const QString& palabra);  // "% del IVA"
// The counterparty's captions follow the type: "NIF Cliente" for "Cobros",
// "NIF Proveedor" for "Pagos", "NIF" before a type is chosen.
QString TituloNifTercero(const QString& textoTipo);
QString TituloNombreTercero(const QString& textoTipo);

enum class Busqueda { Valida, FaltanFechas, FechaNoValida };
// Both dates present and both real dates; a date that does not read as one
// never reaches the statements.
Busqueda CompruebaBusqueda(const QString& desde, const QString& hasta);

// A year that forms a date with "01/01/" in front (0000 does not).
bool AnioValido(const QString& anio);

// The editor's text fields: the seven of the invoice, then the counterparty's
// NIF, operation date and name (7 to 9) and its country (10).
constexpr int CamposEditor = 11;
constexpr int CampoPais = 10;
// Where Enter in editor field i sends the focus: the next field, or -1 for
// "&Grabar". The country comes before the NIF, whose check it decides.
int CampoSiguiente(int i);

enum class FiltroCampo { Ninguno, Fecha, Importe, Porcentaje, Pais };
FiltroCampo FiltroDeCampo(int i);

