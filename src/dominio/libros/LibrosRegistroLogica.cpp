#include "dominio/libros/LibrosRegistroLogica.h"

#include "base/Formatos.h"

#include <QDir>
#include <QFileInfo>

namespace TextoLibros {
const QString AnioNoValido = QStringLiteral("El año no es válido.");
const QString Cancelada = QStringLiteral("Se ha cancelado la exportación: no se ha escrito ningún archivo.");
const QString CabeceraIncidencias =
    QStringLiteral("Estas facturas no se pueden llevar a los libros tal como están:");
const QString PieIncidencias = QStringLiteral(
    "Puede corregirlas en Facturas y volver a exportar, o exportar los libros con ellas tal como están.");
const QString PieIncidenciasOrden = QStringLiteral("Los libros se escriben con ellas tal como están.");
const QString SoloIva = QStringLiteral(
    "El impuesto configurado es el IGIC, y la importación de libros registro de la Agencia Tributaria (servicio "
    "Pre303) sirve solo para el IVA. Los libros llevan las facturas como operaciones sujetas al IGIC (clave de "
    "operación 08, no sujetas al IVA): la base, sin tipo ni cuota de IVA.");
}  // namespace TextoLibros

std::optional<int> LeeAnioLibros(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.isEmpty() || t.size() > 4)
        return std::nullopt;
    for (const QChar c : t)
        if (!c.isDigit())
            return std::nullopt;
    const auto fecha = LeeFecha(QStringLiteral("01/01/") + t);
    if (!fecha)
        return std::nullopt;
    return fecha->year();
}

std::optional<int> LeeTrimestreLibros(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.size() == 1 && t[0] >= QLatin1Char('1') && t[0] <= QLatin1Char('4'))
        return t[0].digitValue() - 1;
    return std::nullopt;
}

namespace {
QString Facturas(int n, const char* singular, const char* plural) {
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? singular : plural);
}
}  // namespace

QString ResumenLibros(const DatosLibros& d, const QStringList& archivos) {
    QStringList nombres;
    for (const QString& a : archivos)
        nombres << QDir::toNativeSeparators(a);
    return QStringLiteral("Libros registro de %1, del %2 al %3: ").arg(d.anio).arg(d.rango.desde, d.rango.hasta) +
           Facturas(d.Expedidas(), "factura emitida", "facturas emitidas") + QStringLiteral(" y ") +
           Facturas(d.Recibidas(), "recibida", "recibidas") + QStringLiteral(", en ") +
           nombres.join(QStringLiteral(" y ")) + QLatin1Char('.');
}

QString AvisoTamanoLibros(const QStringList& archivos, FormatoLibros formato) {
    if (formato != FormatoLibros::Xlsx || archivos.isEmpty())
        return QString();
    const qint64 tamano = QFileInfo(archivos.first()).size();
    if (tamano <= TamanoMaximoLibros)
        return QString();
    return QStringLiteral("El archivo ocupa ") + FormatoDosDecimales(tamano / (1024.0 * 1024.0)) +
           QStringLiteral(" MB y la Agencia Tributaria no admite archivos de más de 4 MB.");
}
