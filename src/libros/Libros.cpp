#include "libros/Libros.h"

#include "data/ConexionBD.h"
#include "data/Registros.h"
#include "data/comun/Formatos.h"
#include "data/comun/TextosAdmitidos.h"
#include "invoices/Facturas.h"
#include "invoices/Nif.h"

#include <cmath>

namespace {

using C = ClaseColumnaLibro;
using K = CampoLibro;

// The columns both sheets begin with, A to F.
const std::vector<ColumnaLibro> kPrimeras{
        {"Autoliquidación", "Ejercicio", "Decimal(4,0)", 0, C::Entero, K::Ejercicio},
        {"Autoliquidación", "Periodo", "A(2)", 2, C::Texto, K::Periodo},
        {"Actividad", "Código", "A(1)", 1, C::Texto, K::CodigoActividad},
        {"Actividad", "Tipo", "A(2)", 2, C::Texto, K::TipoActividad},
        {"Actividad", "Grupo o Epígrafe del IAE", "A(4)", 4, C::Texto, K::Epigrafe},
        {"Tipo de Factura", "", "A(2)", 2, C::Texto, K::TipoFactura},
};

// A sheet's columns: the first six, its own, then the twelve both end with,
// whose payment group is "Cobro" or "Pago".
std::vector<ColumnaLibro> Columnas(std::vector<ColumnaLibro> propias, const char* cobroOPago) {
    std::vector<ColumnaLibro> r = kPrimeras;
    r.insert(r.end(), propias.begin(), propias.end());
    const std::vector<ColumnaLibro> ultimas{
        {"Tipo de Recargo Eq.", "", "Decimal(4,2)", 0, C::Importe, K::Nada},
        {"Cuota Recargo Eq.", "", "Decimal(12,2)", 0, C::Importe, K::Nada},
        {cobroOPago, "Fecha", "dd/mm/yyyy", 10, C::Texto, K::Nada},
        {cobroOPago, "Importe", "Decimal(12,2)", 0, C::Importe, K::Nada},
        {cobroOPago, "Medio Utilizado", "A(2)", 2, C::Texto, K::Nada},
        {cobroOPago, "Identificación Medio Utilizado", "A(34)", 34, C::Texto, K::Nada},
        {"Tipo Retención del IRPF", "", "Decimal(4,2)", 0, C::Importe, K::Nada},
        {"Importe Retenido del IRPF", "", "Decimal(12,2)", 0, C::Importe, K::Nada},
        {"Registro Acuerdo Facturación", "", "A(15)", 15, C::Texto, K::Nada},
        {"Inmueble", "Situación", "A(1)", 1, C::Texto, K::Nada},
        {"Inmueble", "Referencia Catastral", "A(25)", 25, C::Texto, K::Nada},
        {"Referencia Externa", "", "A(40)", 40, C::Texto, K::Nada},
    };
    r.insert(r.end(), ultimas.begin(), ultimas.end());
    return r;
}

// The agency's template, column by column: A to F above, G to X here, Y to AJ above.
const HojaLibro kExpedidas{
    "EXPEDIDAS",
    Columnas({
        {"Concepto de Ingreso", "", "A(3)", 3, C::Texto, K::Nada},
        {"Ingreso Computable", "", "Decimal(12,2)", 0, C::Importe, K::Nada},
        {"Fecha Expedición", "", "dd/mm/yyyy", 10, C::Texto, K::FechaExpedicion},
        {"Fecha Operación", "", "dd/mm/yyyy", 10, C::Texto, K::FechaOperacion},
        {"Identificación de la Factura", "Serie", "A(20)", 20, C::Texto, K::Nada},
        {"Identificación de la Factura", "Número", "A(20)", 20, C::Texto, K::Numero},
        {"Identificación de la Factura", "Número-Final", "A(20)", 20, C::Texto, K::Nada},
        {"NIF Destinatario", "Tipo", "A(2)", 2, C::Texto, K::Nada},
        {"NIF Destinatario", "Código País", "A(2)", 2, C::Texto, K::Nada},
        {"NIF Destinatario", "Identificación", "A(20)", 20, C::Texto, K::Nif},
        {"Nombre Destinatario", "", "A(40)", 40, C::Texto, K::Nombre},
        {"Clave de Operación", "", "A(2)", 2, C::Texto, K::Clave},
        {"Calificación de la Operación", "", "A(2)", 2, C::Texto, K::Calificacion},
        {"Operación Exenta", "", "A(2)", 2, C::Texto, K::Nada},
        {"Total Factura", "", "Decimal(12,2)", 0, C::Importe, K::Total},
        {"Base Imponible", "", "Decimal(12,2)", 0, C::Importe, K::Base},
        {"Tipo de IVA", "", "Decimal(4,2)", 0, C::Importe, K::TipoIva},
        {"Cuota IVA Repercutida", "", "Decimal(12,2)", 0, C::Importe, K::Cuota},
    }, "Cobro")};

// A to F above, G to AD here, AE to AP above.
const HojaLibro kRecibidas{
    "RECIBIDAS",
    Columnas({
        {"Concepto de Gasto", "", "A(3)", 3, C::Texto, K::Nada},
        {"Gasto Deducible", "", "Decimal(12,2)", 0, C::Importe, K::Nada},
        {"Fecha Expedición", "", "dd/mm/yyyy", 10, C::Texto, K::FechaExpedicion},
        {"Fecha Operación", "", "dd/mm/yyyy", 10, C::Texto, K::FechaOperacion},
        {"Identificación Factura del Expedidor", "(Serie-Número)", "A(40)", 40, C::Texto, K::Numero},
        {"Identificación Factura del Expedidor", "Número-Final", "A(20)", 20, C::Texto, K::Nada},
        // Received the day it is dated: the program keeps no other date.
        {"Fecha Recepción", "", "dd/mm/yyyy", 10, C::Texto, K::FechaExpedicion},
        {"Número Recepción", "", "A(20)", 20, C::Texto, K::Nada},
        {"Número Recepción Final", "", "A(20)", 20, C::Texto, K::Nada},
        {"NIF Expedidor", "Tipo", "A(2)", 2, C::Texto, K::Nada},
        {"NIF Expedidor", "Código País", "A(2)", 2, C::Texto, K::Nada},
        {"NIF Expedidor", "Identificación", "A(20)", 20, C::Texto, K::Nif},
        {"Nombre Expedidor", "", "A(40)", 40, C::Texto, K::Nombre},
        {"Clave de Operación", "", "A(2)", 2, C::Texto, K::Clave},
        {"Bien de Inversión", "", "A(1)", 1, C::Texto, K::No},
        {"Inversión del Sujeto Pasivo", "", "A(1)", 1, C::Texto, K::No},
        {"Deducible en Periodo Posterior", "", "A(1)", 1, C::Texto, K::No},
        {"Periodo Deducción", "Ejercicio", "Decimal(4,0)", 0, C::Entero, K::Nada},
        {"Periodo Deducción", "Periodo", "A(2)", 2, C::Texto, K::Nada},
        {"Total Factura", "", "Decimal(12,2)", 0, C::Importe, K::Total},
        {"Base Imponible", "", "Decimal(12,2)", 0, C::Importe, K::Base},
        {"Tipo de IVA", "", "Decimal(4,2)", 0, C::Importe, K::TipoIva},
        {"Cuota IVA Soportado", "", "Decimal(12,2)", 0, C::Importe, K::Cuota},
        // The whole cuota is deducted: the program records no partial deduction.
        {"Cuota Deducible", "", "Decimal(12,2)", 0, C::Importe, K::Cuota},
    }, "Pago")};

// Above this total a collected invoice cannot be a simplified one.
constexpr double kLimiteSimplificada = 400;

std::optional<double> Numero(const Valor& v) {
    if (v.EsNulo())
        return std::nullopt;
    if (v.tipo() == Valor::Tipo::Decimal)
        return v.decimal();
    if (v.tipo() == Valor::Tipo::Entero)
        return static_cast<double>(v.entero());
    return LeeNumero(v.Texto());
}

QDate Fecha(const Valor& v) {
    if (v.tipo() == Valor::Tipo::Fecha)
        return v.fecha();
    return v.EsNulo() ? QDate() : LeeFecha(v.Texto()).value_or(QDate());
}

QString Texto(const Registros& rs, int fila, int columna) {
    return columna < 0 ? QString() : rs.Celda(fila, columna).Texto();
}

// Whole characters, from the end: an emoji is not cut in two.
QString Corta(const QString& t, int longitud) {
    if (longitud <= 0 || t.size() <= longitud)
        return t;
    QString r = t;
    int cursor = r.size();
    RecortaACaracteres(r, cursor, longitud);
    return r;
}

int LongitudDe(const HojaLibro& hoja, CampoLibro campo) {
    for (const ColumnaLibro& c : hoja.columnas)
        if (c.campo == campo)
            return c.longitud;
    return 0;
}

}  // namespace

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

QString SqlFacturasLibros(const RangoFechas& r) {
    return QStringLiteral("select * from FACTURAS where DateValue(FECHA_FACTURA) Between DateValue('") + r.desde +
           QStringLiteral("') and DateValue('") + r.hasta + QStringLiteral("') order by FECHA_FACTURA, COD_FACTURA");
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

DatosLibros LeeDatosLibros(ConexionBD& con, int anio, int trimestre) {
    DatosLibros d;
    d.anio = anio;
    d.trimestre = trimestre;
    d.rango = RangoLibros(anio, trimestre);
    d.empresa = LeeEmpresaLibros(*con.AbrirRegistros(QStringLiteral("select * from DATOS_EMPRESA")));
    auto rs = con.AbrirRegistros(SqlFacturasLibros(d.rango));
    const int cTipo = rs->IndiceColumna(QStringLiteral("TIPO")), cFecha = rs->IndiceColumna(QStringLiteral("FECHA_FACTURA")),
              cCodigo = rs->IndiceColumna(QStringLiteral("COD_FACTURA")),
              cTotal = rs->IndiceColumna(QStringLiteral("IMPORTE_TOTAL")),
              cBase = rs->IndiceColumna(QStringLiteral("IMPORTE_NETO")), cTipoIva = rs->IndiceColumna(QStringLiteral("IVA")),
              cCuota = rs->IndiceColumna(QStringLiteral("IMPORTE_IVA")),
              cNif = rs->IndiceColumna(QStringLiteral("NIF_TERCERO")),
              cNombre = rs->IndiceColumna(QStringLiteral("NOMBRE_TERCERO")),
              cOperacion = rs->IndiceColumna(QStringLiteral("FECHA_OPERACION"));
    d.facturas.reserve(static_cast<size_t>(rs->NumFilas()));
    for (int i = 0; i < rs->NumFilas(); ++i) {
        FacturaLibro f;
        f.expedida = Texto(*rs, i, cTipo) == QLatin1String("C");
        f.fecha = Fecha(rs->Celda(i, cFecha));
        if (cOperacion >= 0)
            f.fechaOperacion = Fecha(rs->Celda(i, cOperacion));
        f.codigo = Texto(*rs, i, cCodigo);
        f.nif = Texto(*rs, i, cNif);
        f.nombre = Texto(*rs, i, cNombre);
        f.total = Numero(rs->Celda(i, cTotal));
        f.base = Numero(rs->Celda(i, cBase));
        f.tipo = Numero(rs->Celda(i, cTipoIva));
        f.cuota = Numero(rs->Celda(i, cCuota));
        d.facturas.push_back(std::move(f));
    }
    return d;
}

ImportesLibro ImportesDe(const FacturaLibro& f) {
    ImportesLibro r{f.total, f.base, f.tipo, f.cuota};
    if (r.Completos())
        return r;
    if (!r.total && r.base && r.cuota)
        r.total = *r.base + *r.cuota;
    if (!r.cuota && r.total && r.base)
        r.cuota = *r.total - *r.base;
    // The rest as the editor completes them from the total.
    auto texto = [](const std::optional<double>& v) { return v ? TextoNumero(*v) : QString(); };
    const Importes c = CalculaImportes({texto(r.cuota), texto(r.total), texto(r.base), texto(r.tipo)});
    auto completa = [](std::optional<double>& v, const QString& t) {
        if (!v && !t.isEmpty())
            v = LeeNumero(t);
    };
    completa(r.cuota, c.iva);
    completa(r.base, c.neto);
    completa(r.tipo, c.porcentaje);
    // The editor writes a rate below one half as nothing; with no cuota it is none.
    if (!r.tipo && r.cuota && *r.cuota == 0 && r.base)
        r.tipo = 0;
    return r;
}

QString TipoFacturaLibro(const FacturaLibro& f) {
    const bool rectificativa = f.total.value_or(0) < 0;
    const bool conNif = !f.nif.isEmpty();
    if (rectificativa)
        return conNif ? QStringLiteral("R4") : QStringLiteral("R5");
    return conNif ? QStringLiteral("F1") : QStringLiteral("F2");
}

QString PeriodoLibro(const QDate& fecha) { return QString::number(TrimestreDeFecha(fecha) + 1) + QLatin1Char('T'); }

std::vector<IncidenciaLibro> IncidenciasLibros(const std::vector<FacturaLibro>& facturas) {
    std::vector<IncidenciaLibro> r;
    for (const FacturaLibro& f : facturas) {
        QStringList motivos;
        const QString tercero = f.expedida ? QStringLiteral("cliente") : QStringLiteral("proveedor");
        if (f.nif.isEmpty()) {
            if (f.expedida && std::fabs(f.total.value_or(0)) > kLimiteSimplificada)
                motivos << QStringLiteral("sin NIF del cliente y con un total de más de 400 €, que no puede ser el de "
                                          "una factura simplificada");
        } else if (const QString m = MotivoNif(f.nif, tercero); !m.isEmpty()) {
            motivos << m;
        }
        const int largo = LongitudDe(HojaDe(f), K::Numero);
        if (LongitudEnCaracteres(f.codigo) > largo)
            motivos << QStringLiteral("el número tiene más de %1 caracteres y el libro lo lleva cortado: ").arg(largo) +
                           Corta(f.codigo, largo);
        if (!ImportesDe(f).Completos())
            motivos << QStringLiteral("faltan importes para calcular la base, el tipo y la cuota");
        if (motivos.isEmpty())
            continue;
        r.push_back({f.expedida ? TipoCobros : TipoPagos, EscribeFecha(f.fecha), f.codigo,
                     f.total ? FormatoImporte(*f.total) : QString(), motivos.join(QStringLiteral("; "))});
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

const HojaLibro& HojaExpedidas() { return kExpedidas; }
const HojaLibro& HojaRecibidas() { return kRecibidas; }
const HojaLibro& HojaDe(const FacturaLibro& f) { return f.expedida ? kExpedidas : kRecibidas; }

QString TituloColumna(const ColumnaLibro& c) {
    const QString grupo = QString::fromUtf8(c.grupo);
    return *c.subcolumna ? grupo + QStringLiteral(" - ") + QString::fromUtf8(c.subcolumna) : grupo;
}

void CeldasLibro(const FacturaLibro& f, const EmpresaLibros& empresa, std::vector<CeldaLibro>& celdas) {
    const HojaLibro& hoja = HojaDe(f);
    celdas.resize(hoja.columnas.size());
    const ImportesLibro importes = ImportesDe(f);
    const QString fecha = EscribeFecha(f.fecha);
    for (size_t k = 0; k < hoja.columnas.size(); ++k) {
        const ColumnaLibro& col = hoja.columnas[k];
        CeldaLibro& c = celdas[k];
        c.clase = CeldaLibro::Clase::Texto;
        c.numero = 0;
        std::optional<double> numero;
        switch (col.campo) {
        case K::Nada: c.texto.clear(); break;
        case K::Ejercicio: numero = f.fecha.year(); break;
        case K::Periodo: c.texto = PeriodoLibro(f.fecha); break;
        case K::CodigoActividad: c.texto = empresa.codigoActividad; break;
        case K::TipoActividad: c.texto = empresa.tipoActividad; break;
        case K::Epigrafe: c.texto = empresa.epigrafe; break;
        case K::TipoFactura: c.texto = TipoFacturaLibro(f); break;
        case K::FechaExpedicion: c.texto = fecha; break;
        case K::FechaOperacion:
            c.texto = f.fechaOperacion.isValid() && f.fechaOperacion != f.fecha ? EscribeFecha(f.fechaOperacion) : QString();
            break;
        case K::Numero: c.texto = f.codigo; break;
        case K::Nif: c.texto = f.nif; break;
        case K::Nombre: c.texto = f.nombre; break;
        case K::Clave: c.texto = QStringLiteral("01"); break;
        case K::Calificacion: c.texto = QStringLiteral("S1"); break;
        case K::No: c.texto = QStringLiteral("N"); break;
        case K::Total: numero = importes.total; break;
        case K::Base: numero = importes.base; break;
        case K::TipoIva: numero = importes.tipo; break;
        case K::Cuota: numero = importes.cuota; break;
        }
        if (col.clase != C::Texto) {
            c.texto.clear();
            c.clase = numero ? CeldaLibro::Clase::Numero : CeldaLibro::Clase::Vacia;
            if (numero)
                c.numero = col.clase == C::Importe ? RedondeaDosDecimales(*numero) : *numero;
            continue;
        }
        c.texto = Corta(c.texto, col.longitud);
        if (c.texto.isEmpty())
            c.clase = CeldaLibro::Clase::Vacia;
    }
}
