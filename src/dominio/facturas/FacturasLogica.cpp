#include "dominio/facturas/FacturasLogica.h"

#include "dominio/facturas/Facturas.h"
#include "dominio/facturas/Trimestres.h"

namespace TextoFacturas {
const QString FechaNoValida = QStringLiteral("Esa fecha no es válida.");
const QString FaltaAnio = QStringLiteral("El campo año debe estar cubierto.");
const QString FaltanFechas = QStringLiteral("Seleccione las fechas entre las que visualizar los datos.");
const QString NingunaSeleccionada = QStringLiteral("No ha seleccionado ninguna Factura.");
const QString NoEncontrada = QStringLiteral("No se encontró la información de la factura.");
const QString ConfirmaBorrado = QStringLiteral("¿Seguro que desea borrar esta factura?");
const QString TotalInicial = QStringLiteral("9,999,999.00");
const QString DiferenciaInicial = QStringLiteral("9,999,999.99");
const QString AnioNoValido = QStringLiteral("El año no es válido.");
const QString FaltaTipo = QStringLiteral("Indique si la factura es de Pagos o de Cobros.");
const QString NoGrabada = QStringLiteral("No se ha podido grabar la factura.");
const QString CambiadaPorOtro = QStringLiteral(
    "Otro usuario ha modificado esta factura mientras usted la tenía abierta, "
    "y sus cambios no se han grabado.\n\n"
    "¿Desea cargar la factura tal como está guardada ahora? Se perderá lo que ha escrito.");
const QString PaisNoValido =
    QStringLiteral("Escriba el país con las dos letras de su código (ES para España, FR para Francia...).");
const QString FaltaTipoId = QStringLiteral("Indique el tipo de identificación del tercero de otro país.");
}  // namespace TextoFacturas

const std::array<ColumnaFacturas, 7> ColumnasRejillaFacturas{{
    {"ID", "Id", 315},
    {"FECHA_FACTURA", "Fecha", 1200},
    {"COD_FACTURA", "Factura", 1410},
    {"IMPORTE_NETO", "Total Neto", 975},
    {"IVA", "IVA", 495},
    {"IMPORTE_IVA", "Importe IVA", 990},
    {"IMPORTE_TOTAL", "Total Factura", 1155},
}};

QVector<ColumnaRejilla> ColumnasModeloFacturas() {
    QVector<ColumnaRejilla> r;
    for (const ColumnaFacturas& c : ColumnasRejillaFacturas)
        r.append(ColumnaRejilla{QString::fromLatin1(c.campo), QString::fromUtf8(c.titulo), Qt::AlignLeft, QString()});
    return r;
}

QVector<AjusteColumna> AjustesRejillaFacturas() {
    return {
        {QStringLiteral("Fecha"), Qt::AlignHCenter, QString()},
        {QStringLiteral("Factura"), Qt::AlignLeft, QString()},
        {QStringLiteral("IVA"), Qt::AlignRight, QString()},
        {QStringLiteral("Total Neto"), Qt::AlignRight, FormatoMiles},
        {QStringLiteral("Importe IVA"), Qt::AlignRight, FormatoMiles},
        {QStringLiteral("Total Factura"), Qt::AlignRight, FormatoMiles},
    };
}

QString TituloImporteImpuesto(const QString& palabra) { return QStringLiteral("Importe ") + palabra; }
QString TituloDiferenciaImpuesto(const QString& palabra) { return palabra + QStringLiteral(":"); }
QString TituloTotalIncluido(const QString& palabra) {
    return QStringLiteral("Importe Total (") + palabra + QStringLiteral(" incluido)");
}
QString TituloPorcentajeImpuesto(const QString& palabra) { return QStringLiteral("% del ") + palabra; }

namespace {
QString DelTercero(const QString& que, const QString& textoTipo) {
    if (textoTipo == TipoCobros)
        return que + QStringLiteral(" Cliente");
    if (textoTipo == TipoPagos)
        return que + QStringLiteral(" Proveedor");
    return que;
}
}  // namespace

QString TituloNifTercero(const QString& textoTipo) { return DelTercero(QStringLiteral("NIF"), textoTipo); }
QString TituloNombreTercero(const QString& textoTipo) { return DelTercero(QStringLiteral("Nombre"), textoTipo); }

Busqueda CompruebaBusqueda(const QString& desde, const QString& hasta) {
    if (desde.isEmpty() || hasta.isEmpty())
        return Busqueda::FaltanFechas;
    if (!NormalizaFecha(desde) || !NormalizaFecha(hasta))
        return Busqueda::FechaNoValida;
    return Busqueda::Valida;
}

bool AnioValido(const QString& anio) { return NormalizaFecha(QStringLiteral("01/01/") + anio).has_value(); }

int CampoSiguiente(int i) {
    static const int recorrido[CamposEditor] = {0, 1, 2, 3, 4, 5, 6, CampoPais, 7, 8, 9};
    for (int n = 0; n + 1 < CamposEditor; ++n)
        if (recorrido[n] == i)
            return recorrido[n + 1];
    return -1;
}

FiltroCampo FiltroDeCampo(int i) {
    switch (i) {
    case 1:
    case 8: return FiltroCampo::Fecha;
    case 2:
    case 3:
    case 4: return FiltroCampo::Importe;
    case 5: return FiltroCampo::Porcentaje;
    case CampoPais: return FiltroCampo::Pais;
    default: return FiltroCampo::Ninguno;
    }
}

