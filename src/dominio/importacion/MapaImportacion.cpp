#include "dominio/importacion/MapaImportacion.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QSet>

namespace {

using K = CampoImportacion;

struct DatosCampo {
    const char* clave;
    const char* titulo;
};
const DatosCampo kCampos[NumCamposImportacion] = {
    {"TIPO", "Tipo (Cobros o Pagos)"},
    {"COD_FACTURA", "Código"},
    {"FECHA_FACTURA", "Fecha"},
    {"FECHA_OPERACION", "Fecha de operación"},
    {"IMPORTE_NETO", "Base imponible"},
    {"IVA", "% IVA"},
    {"IMPORTE_IVA", "Cuota de IVA"},
    {"IMPORTE_TOTAL", "Total"},
    {"DESCRIPCION", "Descripción"},
    {"NIF_TERCERO", "NIF"},
    {"NOMBRE_TERCERO", "Nombre"},
    {"PAIS_TERCERO", "País"},
    {"TIPO_ID_TERCERO", "Tipo de identificación"},
    {"SERIE", "Serie"},
    {"NUMERO_FINAL", "Número final"},
    {"FECHA_RECEPCION", "Fecha de recepción"},
    {"EXENTA", "Operación exenta"},
    {"CLAVE_OPERACION", "Clave de operación"},
};

// A header names a field when it holds every word wanted and none of those
// forbidden; an exact rule wants nothing else either. The first rule that
// finds a free column gives it its field; the more telling rules go first.
struct Regla {
    K campo;
    const char* quiere;
    const char* prohibe;
    bool exacta;
};
const Regla kReglas[] = {
    {K::FechaOperacion, "fecha operacion", "cobro pago caja", false},
    {K::FechaRecepcion, "fecha recepcion", "cobro pago caja", false},
    {K::Fecha, "fecha expedicion", "cobro pago caja", false},
    {K::Fecha, "fecha factura", "cobro pago caja", false},
    {K::Fecha, "fecha emision", "cobro pago caja", false},
    {K::Fecha, "fecha", "cobro pago caja inicio baja vencimiento operacion recepcion", false},
    {K::NumeroFinal, "numero final", "recepcion", false},
    {K::Codigo, "identificacion factura numero", "final recepcion", false},
    {K::Codigo, "numero factura", "final recepcion", false},
    {K::Codigo, "n factura", "", false},
    {K::Codigo, "no factura", "", false},
    {K::Codigo, "num factura", "", false},
    {K::Codigo, "cod factura", "", false},
    {K::Codigo, "codigo factura", "", false},
    {K::Codigo, "factura", "", true},
    {K::Codigo, "numero", "", true},
    {K::Codigo, "codigo", "", true},
    {K::Serie, "serie", "numero", false},
    {K::TipoIdentificacion, "nif tipo", "", false},
    {K::TipoIdentificacion, "tipo identificacion", "", false},
    {K::Pais, "pais", "", false},
    {K::Nif, "nif identificacion", "", false},
    {K::Nif, "nif", "tipo pais", false},
    {K::Nif, "cif", "", false},
    {K::Nif, "dni", "", false},
    {K::Nif, "nie", "", false},
    {K::Nombre, "nombre", "", false},
    {K::Nombre, "razon social", "", false},
    {K::Nombre, "cliente", "", false},
    {K::Nombre, "proveedor", "", false},
    {K::Nombre, "tercero", "", false},
    {K::Total, "total factura", "", false},
    {K::Total, "importe total", "", false},
    {K::Total, "total", "recargo retencion irpf", false},
    {K::Neto, "base imponible", "", false},
    {K::Neto, "base", "", false},
    {K::Neto, "neto", "", false},
    {K::Cuota, "cuota repercutida", "", false},
    {K::Cuota, "cuota soportado", "", false},
    {K::Cuota, "cuota soportada", "", false},
    {K::Cuota, "cuota iva", "deducible", false},
    {K::Cuota, "cuota igic", "deducible", false},
    {K::Cuota, "importe iva", "", false},
    {K::Cuota, "importe igic", "", false},
    {K::Cuota, "cuota", "deducible recargo retencion", false},
    {K::Porcentaje, "tipo iva", "recargo retencion", false},
    {K::Porcentaje, "tipo igic", "recargo retencion", false},
    {K::Porcentaje, "%", "recargo retencion", false},
    {K::Porcentaje, "porcentaje", "recargo retencion", false},
    {K::Porcentaje, "iva", "", true},
    {K::Porcentaje, "igic", "", true},
    {K::Exenta, "exenta", "", false},
    {K::ClaveOperacion, "clave operacion", "", false},
    {K::Descripcion, "descripcion", "", false},
    {K::Descripcion, "concepto", "ingreso gasto", false},
    {K::Descripcion, "detalle", "", false},
    {K::Tipo, "tipo", "", true},
    {K::Tipo, "cobro pago", "", false},
    {K::Tipo, "cobros pagos", "", false},
    {K::Tipo, "clase", "", true},
    {K::Tipo, "c p", "", true},
    {K::Total, "importe", "", true},
};

QSet<QString> Palabras(const char* texto) {
    QSet<QString> r;
    for (const QString& p : QString::fromLatin1(texto).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        r.insert(p);
    return r;
}

bool Cumple(const Regla& regla, const QSet<QString>& palabras) {
    const QSet<QString> quiere = Palabras(regla.quiere);
    if (!palabras.contains(quiere) || palabras.intersects(Palabras(regla.prohibe)))
        return false;
    return !regla.exacta || palabras.size() == quiere.size();
}

// A column as the map file names it: by number ("#3") or by header.
int ColumnaNombrada(const QString& valor, const QStringList& cabeceras) {
    if (valor.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const int n = valor.mid(1).trimmed().toInt(&ok);
        return ok && n >= 1 && n <= cabeceras.size() ? n - 1 : -1;
    }
    const QString buscado = valor.simplified();
    for (int i = 0; i < cabeceras.size(); ++i)
        if (cabeceras[i].simplified().compare(buscado, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

}  // namespace

QString ClaveCampo(CampoImportacion campo) { return QString::fromLatin1(kCampos[static_cast<int>(campo)].clave); }
QString TituloCampo(CampoImportacion campo) { return QString::fromUtf8(kCampos[static_cast<int>(campo)].titulo); }

QString MapaColumnas::Falta() const {
    QStringList faltan;
    if (!tipoFijo && (*this)[K::Tipo] < 0)
        faltan << QStringLiteral("el tipo (Cobros o Pagos)");
    if ((*this)[K::Fecha] < 0)
        faltan << QStringLiteral("la fecha");
    if ((*this)[K::Total] < 0 && (*this)[K::Neto] < 0)
        faltan << QStringLiteral("el total o la base");
    if (faltan.size() < 2)
        return faltan.join(QString());
    return faltan.mid(0, faltan.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" y ") + faltan.last();
}

QString NormalizaCabecera(const QString& texto) {
    QString r;
    for (const QChar c : texto.normalized(QString::NormalizationForm_KD)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.isLetterOrNumber())
            r += c.toLower();
        else if (c == QLatin1Char('%'))
            r += QStringLiteral(" % ");
        else
            r += QLatin1Char(' ');
    }
    return r.simplified();
}

MapaColumnas ProponeMapa(const QStringList& cabeceras) {
    MapaColumnas m;
    std::vector<QSet<QString>> palabras;
    for (const QString& c : cabeceras) {
        QSet<QString> p;
        for (const QString& w : NormalizaCabecera(c).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            p.insert(w);
        palabras.push_back(p);
    }
    std::vector<bool> usada(palabras.size(), false);
    for (const Regla& regla : kReglas) {
        if (m[regla.campo] >= 0)
            continue;
        for (size_t i = 0; i < palabras.size(); ++i)
            if (!usada[i] && !palabras[i].isEmpty() && Cumple(regla, palabras[i])) {
                m[regla.campo] = static_cast<int>(i);
                usada[i] = true;
                break;
            }
    }
    return m;
}

std::optional<bool> TipoDeLibro(const QString& nombre, const QStringList& cabeceras) {
    const QString n = NormalizaCabecera(nombre);
    for (const QString& p : n.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (p.startsWith(QLatin1String("expedidas")))
            return true;
        if (p.startsWith(QLatin1String("recibidas")))
            return false;
    }
    const QString todas = NormalizaCabecera(cabeceras.join(QLatin1Char(' ')));
    static const QRegularExpression cobros(QStringLiteral("\\b(destinatario|repercutida)\\b"));
    static const QRegularExpression pagos(QStringLiteral("\\b(expedidor|soportad[oa])\\b"));
    const bool c = todas.contains(cobros), p = todas.contains(pagos);
    if (c != p)
        return c;
    return std::nullopt;
}

LecturaMapa LeeMapa(const QString& texto, const QStringList& cabeceras) {
    LecturaMapa r;
    int numero = 0;
    for (const QString& bruta : texto.split(QLatin1Char('\n'))) {
        ++numero;
        const QString linea = bruta.trimmed();
        if (linea.isEmpty() || linea.startsWith(QLatin1Char('#')))
            continue;
        const int igual = linea.indexOf(QLatin1Char('='));
        const QString clave = linea.left(igual).trimmed().toUpper();
        const QString valor = linea.mid(igual + 1).trimmed();
        int campo = -1;
        for (int i = 0; i < NumCamposImportacion; ++i)
            if (clave == QLatin1String(kCampos[i].clave))
                campo = i;
        const QString donde = QStringLiteral("Línea %1 del mapa").arg(numero);
        if (igual < 0 || campo < 0) {
            r.error = donde + QStringLiteral(": '") + linea + QStringLiteral("' no es CAMPO=columna.");
            return r;
        }
        if (valor.isEmpty())
            continue;
        const auto k = static_cast<K>(campo);
        if (k == K::Tipo && (valor.compare(QLatin1String("Cobros"), Qt::CaseInsensitive) == 0 ||
                             valor.compare(QLatin1String("Pagos"), Qt::CaseInsensitive) == 0)) {
            r.mapa.tipoFijo = valor.compare(QLatin1String("Cobros"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const int columna = ColumnaNombrada(valor, cabeceras);
        if (columna < 0) {
            r.error = donde + QStringLiteral(": el archivo no tiene la columna '") + valor + QStringLiteral("'.");
            return r;
        }
        r.mapa[k] = columna;
    }
    return r;
}

QString EscribeMapa(const MapaColumnas& mapa, const QStringList& cabeceras) {
    QStringList lineas;
    for (int i = 0; i < NumCamposImportacion; ++i) {
        const auto k = static_cast<K>(i);
        QString valor;
        if (k == K::Tipo && mapa.tipoFijo)
            valor = *mapa.tipoFijo ? QStringLiteral("Cobros") : QStringLiteral("Pagos");
        else if (mapa[k] >= 0)
            // A header that appears twice, or none, goes by number.
            valor = cabeceras.value(mapa[k]).simplified().isEmpty() ||
                            ColumnaNombrada(cabeceras[mapa[k]], cabeceras) != mapa[k]
                        ? QStringLiteral("#%1").arg(mapa[k] + 1)
                        : cabeceras[mapa[k]].simplified();
        if (!valor.isEmpty() || i < NumCamposMapa)
            lineas << ClaveCampo(k) + QLatin1Char('=') + valor;
    }
    return lineas.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString ClaveMapaGuardado(const QStringList& cabeceras) {
    QStringList normalizadas;
    for (const QString& c : cabeceras)
        normalizadas << NormalizaCabecera(c);
    const QByteArray h = QCryptographicHash::hash(normalizadas.join(QLatin1Char('|')).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("MapaImportacion") + QString::fromLatin1(h.toHex().left(16));
}
