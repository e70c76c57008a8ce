#include "dominio/libros/Libros.h"

#include "dominio/libros/CeldasLibros.h"

#include "datos/ConexionBD.h"
#include "datos/motor/Registros.h"
#include "base/Formatos.h"
#include "base/TextosAdmitidos.h"
#include "dominio/facturas/Facturas.h"
#include "dominio/facturas/Nif.h"

#include <cstdlib>

namespace {

using K = CampoLibro;

// Above this total a collected invoice cannot be a simplified one.
constexpr qint64 kLimiteSimplificada = 40000;

std::optional<qint64> Centesimas(const Valor& v) {
    if (v.EsNulo())
        return std::nullopt;
    if (v.tipo() == Valor::Tipo::Entero)
        return v.entero() * 100;
    if (v.tipo() == Valor::Tipo::Decimal)
        return Centimos(v.decimal());
    const auto n = LeeNumero(v.Texto());
    return n ? std::optional<qint64>(Centimos(*n)) : std::nullopt;
}

QDate Fecha(const Valor& v) {
    if (v.tipo() == Valor::Tipo::Fecha)
        return v.fecha();
    return v.EsNulo() ? QDate() : LeeFecha(v.Texto()).value_or(QDate());
}

QString Texto(const Registros& rs, int fila, int columna) {
    return columna < 0 ? QString() : rs.Celda(fila, columna).Texto();
}

using libros_detalle::Vacio;

int LongitudDe(const HojaLibro& hoja, CampoLibro campo) {
    for (const ColumnaLibro& c : hoja.columnas)
        if (c.campo == campo)
            return c.longitud;
    return 0;
}

// "21", "9,5", "0": a rate in hundredths of a percent, as a person writes it.
QString Porcentaje(qint64 tipo) {
    QString t = FormatoCentimos(tipo);
    while (t.endsWith(QLatin1Char('0')))
        t.chop(1);
    if (t.endsWith(QLatin1Char(',')))
        t.chop(1);
    return t;
}

// "a", "a y b", "a, b y c".
QString Enumera(const QStringList& partes) {
    if (partes.size() < 2)
        return partes.join(QString());
    return QStringList(partes.mid(0, partes.size() - 1)).join(QStringLiteral(", ")) + QStringLiteral(" y ") +
           partes.last();
}

}  // namespace

namespace libros_detalle {
bool Vacio(const QString& t) { return QStringView(t).trimmed().isEmpty(); }
const QString ConsumidorFinal = QStringLiteral("VENTAS A CONSUMIDOR FINAL");
}  // namespace libros_detalle

bool FacturaLibro::Extranjera() const {
    const QStringView p = QStringView(pais).trimmed();
    return !p.isEmpty() && p.compare(QLatin1String("ES"), Qt::CaseInsensitive) != 0;
}

QDate FacturaLibro::Declaracion() const { return FechaDeclaracion(expedida, fecha, fechaOperacion, Negativa()); }

int DatosLibros::Expedidas() const {
    int n = 0;
    for (const FacturaLibro& f : facturas)
        n += f.expedida ? 1 : 0;
    return n;
}

int DatosLibros::Recibidas() const { return static_cast<int>(facturas.size()) - Expedidas(); }

RangoFechas RangoLibros(int anio, int trimestre) {
    const QString a = QString::number(anio);
    const auto fin = FechasTrimestre(trimestre < 0 ? 3 : trimestre, a);
    return {QStringLiteral("01/01/") + a, fin->hasta};
}

QString SqlFacturasLibros(const RangoFechas& r, bool conFechaOperacion) {
    const QString entre = QStringLiteral(") Between DateValue('") + r.desde + QStringLiteral("') and DateValue('") +
                          r.hasta + QStringLiteral("')");
    QString sql = QStringLiteral("select * from FACTURAS where DateValue(FECHA_FACTURA") + entre;
    if (conFechaOperacion)
        sql += QStringLiteral(" or DateValue(FECHA_OPERACION") + entre;
    return sql + QStringLiteral(" order by FECHA_FACTURA, COD_FACTURA");
}

EmpresaLibros LeeEmpresaLibros(const Registros& rs) {
    EmpresaLibros e;
    if (rs.Fin())
        return e;
    auto campo = [&rs](const char* nombre) { return Texto(rs, 0, rs.IndiceColumna(QLatin1String(nombre))); };
    e.nif = NormalizaNif(campo("CIF"));
    e.nombre = campo("NOMBRE");
    e.codigoActividad = campo("COD_ACTIVIDAD");
    e.tipoActividad = campo("TIPO_ACTIVIDAD");
    e.epigrafe = campo("EPIGRAFE_IAE");
    return e;
}

DatosLibros LeeDatosLibros(ConexionBD& con, int anio, int trimestre, Impuesto impuesto) {
    DatosLibros d;
    d.anio = anio;
    d.trimestre = trimestre;
    d.rango = RangoLibros(anio, trimestre);
    d.impuesto = impuesto;
    d.empresa = LeeEmpresaLibros(*con.AbrirRegistros(QStringLiteral("select * from DATOS_EMPRESA")));
    // A file of the first layouts has no operation date to select by.
    const bool conFechaOperacion = con.AbrirRegistros(QStringLiteral("select * from FACTURAS where 1 = 0"))
                                       ->IndiceColumna(QStringLiteral("FECHA_OPERACION")) >= 0;
    auto rs = con.AbrirRegistros(SqlFacturasLibros(d.rango, conFechaOperacion));
    auto columna = [&rs](const char* nombre) { return rs->IndiceColumna(QLatin1String(nombre)); };
    const int cTipo = columna("TIPO"), cFecha = columna("FECHA_FACTURA"), cCodigo = columna("COD_FACTURA"),
              cTotal = columna("IMPORTE_TOTAL"), cBase = columna("IMPORTE_NETO"), cTipoIva = columna("IVA"),
              cCuota = columna("IMPORTE_IVA"), cNif = columna("NIF_TERCERO"), cNombre = columna("NOMBRE_TERCERO"),
              cOperacion = columna("FECHA_OPERACION"), cPais = columna("PAIS_TERCERO"),
              cTipoId = columna("TIPO_ID_TERCERO");
    const QDate desde = *LeeFecha(d.rango.desde), hasta = *LeeFecha(d.rango.hasta);
    d.facturas.reserve(static_cast<size_t>(rs->NumFilas()));
    for (int i = 0; i < rs->NumFilas(); ++i) {
        FacturaLibro f;
        f.expedida = Texto(*rs, i, cTipo) == QLatin1String("C");
        f.fecha = Fecha(rs->Celda(i, cFecha));
        if (cOperacion >= 0)
            f.fechaOperacion = Fecha(rs->Celda(i, cOperacion));
        f.total = Centesimas(rs->Celda(i, cTotal));
        const QDate declaracion = f.Declaracion();
        if (declaracion < desde || declaracion > hasta)
            continue;
        f.codigo = Texto(*rs, i, cCodigo);
        f.nif = Texto(*rs, i, cNif);
        f.nombre = Texto(*rs, i, cNombre);
        f.pais = Texto(*rs, i, cPais).trimmed().toUpper();
        f.tipoId = Texto(*rs, i, cTipoId).trimmed();
        f.base = Centesimas(rs->Celda(i, cBase));
        f.tipo = Centesimas(rs->Celda(i, cTipoIva));
        f.cuota = Centesimas(rs->Celda(i, cCuota));
        d.facturas.push_back(std::move(f));
    }
    return d;
}

std::vector<IncidenciaLibro> IncidenciasLibros(const std::vector<FacturaLibro>& facturas, Impuesto impuesto) {
    const QString palabra = impuesto == Impuesto::IGIC ? QStringLiteral("IGIC") : QStringLiteral("IVA");
    std::vector<IncidenciaLibro> r;
    for (const FacturaLibro& f : facturas) {
        QStringList motivos;
        const QString tercero = f.expedida ? QStringLiteral("cliente") : QStringLiteral("proveedor");
        if (Vacio(f.nif)) {
            if (!f.expedida)
                motivos << QStringLiteral("sin NIF del proveedor");
            else if (std::llabs(f.total.value_or(0)) > kLimiteSimplificada)
                motivos << QStringLiteral("sin NIF del cliente y con un total de más de 400 €, que no puede ser el de "
                                          "una factura simplificada");
        } else if (f.Extranjera()) {
            const QString t = f.tipoId;
            if (t.size() != 2 || t < QLatin1String("02") || t > QLatin1String("06"))
                motivos << QStringLiteral("el ") + tercero + QStringLiteral(" es extranjero (") + f.pais +
                               QStringLiteral(") y falta el tipo de su identificación (de 02 a 06)");
        } else if (const QString m = MotivoNif(f.nif, tercero); !m.isEmpty()) {
            motivos << m;
        }

        QStringList faltan;
        if (!f.total)
            faltan << QStringLiteral("el total");
        if (!f.base)
            faltan << QStringLiteral("la base imponible");
        if (!f.tipo)
            faltan << QStringLiteral("el tipo de ") + palabra;
        if (!f.cuota)
            faltan << QStringLiteral("el importe del ") + palabra;
        if (!faltan.isEmpty())
            motivos << (faltan.size() == 1 ? QStringLiteral("le falta ") : QStringLiteral("le faltan ")) +
                           Enumera(faltan) + QStringLiteral(", que los libros no calculan");
        const QDate operacion = f.fechaOperacion.isValid() ? f.fechaOperacion : f.fecha;
        if (f.tipo && !EsTipoVigente(impuesto, *f.tipo, operacion))
            motivos << QStringLiteral("el %1 % no es un tipo de %2 vigente el %3")
                           .arg(Porcentaje(*f.tipo), palabra, EscribeFecha(operacion));
        if (f.base && f.tipo && f.cuota && CuotaDescuadra(*f.base, *f.tipo, *f.cuota))
            motivos << QStringLiteral("la cuota (%1) no es la base por el tipo (%2)")
                           .arg(FormatoCentimos(*f.cuota), FormatoCentimos(CuotaDeTipo(*f.base, *f.tipo)));
        if (!f.Negativa() && f.total && f.base && f.cuota && *f.total != *f.base + *f.cuota)
            motivos << QStringLiteral("el total (%1) no es la base más la cuota (%2)")
                           .arg(FormatoCentimos(*f.total), FormatoCentimos(*f.base + *f.cuota));
        if (f.expedida && f.fechaOperacion.isValid() && f.fechaOperacion > f.fecha)
            motivos << QStringLiteral("la fecha de la operación (%1) es posterior a la de expedición, lo que la "
                                      "Agencia Tributaria no admite")
                           .arg(EscribeFecha(f.fechaOperacion));
        const int largo = LongitudDe(HojaDe(f), K::Numero);
        if (LongitudEnCaracteres(f.codigo) > largo)
            motivos << QStringLiteral("el número tiene más de %1 caracteres y el libro lo lleva cortado: ").arg(largo) +
                           CortaTexto(f.codigo, largo);
        if (motivos.isEmpty())
            continue;
        r.push_back({f.expedida ? TipoCobros : TipoPagos, EscribeFecha(f.fecha), f.codigo,
                     f.total ? FormatoCentimos(*f.total) : QString(), motivos.join(QStringLiteral("; "))});
    }
    return r;
}

QString LineaIncidencia(const IncidenciaLibro& i) {
    return i.tipo + QLatin1Char(' ') + i.fecha + QLatin1Char(' ') +
           (i.codigo.isEmpty() ? QStringLiteral("(sin número)") : i.codigo) +
           (i.total.isEmpty() ? QString() : QStringLiteral(" (total ") + i.total + QLatin1Char(')')) +
           QStringLiteral(": ") + i.motivo + QLatin1Char('.');
}

QString NombreArchivoLibros(int anio, const EmpresaLibros& empresa) {
    QString nombre;
    for (const QChar c : empresa.nombre)
        if (!c.isNull() && c.category() != QChar::Other_Control && !QStringLiteral("/\\:*?\"<>|").contains(c))
            nombre += c;
    return QString::number(anio) + empresa.nif + QLatin1Char('C') + nombre.trimmed();
}

const HojaLibro& HojaExpedidas() {
    static const HojaLibro h{"EXPEDIDAS", {std::begin(kColumnasExpedidas), std::end(kColumnasExpedidas)}};
    return h;
}
const HojaLibro& HojaRecibidas() {
    static const HojaLibro h{"RECIBIDAS", {std::begin(kColumnasRecibidas), std::end(kColumnasRecibidas)}};
    return h;
}
const HojaLibro& HojaDe(const FacturaLibro& f) { return f.expedida ? HojaExpedidas() : HojaRecibidas(); }

QString TituloColumna(const ColumnaLibro& c) {
    const QString grupo = QString::fromUtf8(c.grupo).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return *c.subcolumna ? grupo + QStringLiteral(" - ") + QString::fromUtf8(c.subcolumna) : grupo;
}

namespace {
class CeldasGuardadas {
public:
    std::vector<CeldaLibro> celdas;
    void Vacia(int) { celdas.emplace_back(); }
    void TextoFijo(int i, QStringView t, int longitud) { Texto(i, t, longitud); }
    void Codigo(int i, const char* ascii, int n) { Texto(i, QString::fromLatin1(ascii, n), 0); }
    void Texto(int, QStringView t, int longitud) {
        CeldaLibro c;
        c.clase = CeldaLibro::Clase::Texto;
        c.texto = CortaTexto(t, longitud);
        celdas.push_back(std::move(c));
    }
    void Entero(int, qint64 n) { Numero(CeldaLibro::Clase::Entero, n); }
    void Centesimas(int, qint64 n) { Numero(CeldaLibro::Clase::Centesimas, n); }
    void Fecha(int, const QDate& d) {
        CeldaLibro c;
        c.clase = CeldaLibro::Clase::Fecha;
        c.fecha = d;
        celdas.push_back(std::move(c));
    }

private:
    void Numero(CeldaLibro::Clase clase, qint64 n) {
        CeldaLibro c;
        c.clase = clase;
        c.numero = n;
        celdas.push_back(std::move(c));
    }
};
}  // namespace

std::vector<CeldaLibro> CeldasLibro(const FacturaLibro& f, const EmpresaLibros& empresa, Impuesto impuesto) {
    CeldasGuardadas g;
    RecorreCeldas(f, empresa, impuesto, g);
    return std::move(g.celdas);
}

QString CortaTexto(QStringView texto, int longitud) {
    QString r;
    int n = 0;
    for (qsizetype i = 0; i < texto.size() && (longitud <= 0 || n < longitud); ++i) {
        const QChar c = texto[i];
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate()) {
            r += c;
            r += texto[++i];
        } else if (!c.isSurrogate()) {
            r += c;
        } else {
            continue;
        }
        ++n;
    }
    return r;
}
