#include "invoices/Facturas.h"

#include "data/comun/Formatos.h"
#include "data/Comillas.h"
#include "data/ConexionBD.h"
#include "data/Valor.h"
#include "invoices/Trimestres.h"

#include <cmath>

const std::array<const char*, 7> ColumnasFactura{"COD_FACTURA",  "FECHA_FACTURA", "IMPORTE_IVA", "IMPORTE_TOTAL",
                                                  "IMPORTE_NETO", "IVA",           "DESCRIPCION"};
const std::array<int, 7> LongitudesFactura{50, 10, 12, 12, 12, 2, 255};

const QString TipoCobros = QStringLiteral("Cobros");
const QString TipoPagos = QStringLiteral("Pagos");

Importes CalculaImportes(const Importes& e) {
    Importes r = e;
    if (!e.total.isEmpty() && !e.iva.isEmpty()) {
        auto total = LeeNumero(e.total);
        auto iva = LeeNumero(e.iva);
        if (!total || !iva)
            return e;
        double neto = *total - *iva;
        QString textoNeto = TextoNumero(neto);
        double netoLeido = LeeNumero(textoNeto).value_or(neto);
        if (netoLeido == 0)
            return e;
        r.neto = textoNeto;
        r.porcentaje = FormatoEntero(*iva / netoLeido * 100);
        return r;
    }
    if (e.iva.isEmpty() && !e.total.isEmpty() && !e.porcentaje.isEmpty()) {
        auto total = LeeNumero(e.total);
        auto pct = LeeNumero(e.porcentaje);
        if (!total || !pct || *pct + 100 == 0)
            return e;
        double neto = *total - *total * *pct / (*pct + 100);
        r.neto = FormatoDosDecimales(neto);
        double netoLeido = LeeNumero(r.neto).value_or(neto);
        r.iva = FormatoImporte(*total - netoLeido);
        return r;
    }
    return r;
}

std::optional<QString> CompruebaFecha(const QString& texto) { return NormalizaFecha(texto); }

QString CodigoTipo(const QString& textoTipo) { return textoTipo.left(1); }

QString NombreTipo(const Valor& tipo) {
    return (!tipo.EsNulo() && tipo.Texto() == QLatin1String("C")) ? TipoCobros : TipoPagos;
}

QString SqlLeeFactura(const QString& id) {
    return QStringLiteral("select *") + QStringLiteral("  from ") + QStringLiteral("FACTURAS") +
           QStringLiteral(" where ID = ") + id;
}

QString SqlInsertaFactura(const CamposFactura& c, const QString& textoTipo) {
    return QStringLiteral("insert into ") + QStringLiteral("FACTURAS") +
           QStringLiteral("       (COD_FACTURA, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL, IMPORTE_NETO, IVA, "
                          "DESCRIPCION, TIPO) ") +
           QStringLiteral("values (") + ValorSQL(c[0]) + ',' + ValorSQL(c[1]) + ',' + ValorSQL(c[2]) + ',' +
           ValorSQL(c[3]) + QStringLiteral("       ,") + ValorSQL(c[4]) + ',' + ValorSQL(c[5]) + ',' +
           ValorSQL(c[6]) + ',' + ValorSQL(CodigoTipo(textoTipo)) + ')';
}

QString SqlActualizaFactura(const CamposFactura& c, const QString& textoTipo, const QString& id) {
    return QStringLiteral("update ") + QStringLiteral("FACTURAS") + QStringLiteral("   set COD_FACTURA = ") +
           ValorSQL(c[0]) + QStringLiteral("     , FECHA_FACTURA = ") + ValorSQL(c[1]) +
           QStringLiteral("     , IMPORTE_IVA = ") + ValorSQL(c[2]) + QStringLiteral("     , IMPORTE_TOTAL = ") +
           ValorSQL(c[3]) + QStringLiteral("     , IMPORTE_NETO = ") + ValorSQL(c[4]) +
           QStringLiteral("     , IVA = ") + ValorSQL(c[5]) + QStringLiteral("     , DESCRIPCION = ") +
           ValorSQL(c[6]) + QStringLiteral("     , TIPO = ") + ValorSQL(CodigoTipo(textoTipo)) +
           QStringLiteral(" where ID = ") + id;
}

QString SqlBorraFactura(const QString& id) {
    return QStringLiteral("delete from ") + QStringLiteral("FACTURAS") + QStringLiteral(" where ID = ") + id;
}

namespace {
const QString kColumnaTipo = QStringLiteral("TIPO");
QString ColumnaFila(size_t i) {
    return i < ColumnasFactura.size() ? QString::fromLatin1(ColumnasFactura[i]) : kColumnaTipo;
}
}  // namespace

FilaFactura LeeFilaFactura(const Registros& rs) {
    FilaFactura f;
    for (size_t i = 0; i < f.size(); ++i)
        f[i] = rs.Campo(ColumnaFila(i));
    return f;
}

QString SqlActualizaFacturaSinCambios(const CamposFactura& c, const QString& textoTipo, const QString& id,
                                      const FilaFactura& leida) {
    QString sql = SqlActualizaFactura(c, textoTipo, id);
    for (size_t i = 0; i < leida.size(); ++i)
        sql += QStringLiteral("   and ") + CondicionIgualSQL(ColumnaFila(i), leida[i]);
    return sql;
}

Grabacion GrabaFacturaNueva(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo) {
    return con.Ejecutar(SqlInsertaFactura(campos, textoTipo)) > 0 ? Grabacion::Hecha : Grabacion::NoGrabada;
}

Grabacion GrabaCambiosFactura(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo,
                              const QString& id, const FilaFactura& leida) {
    if (con.Ejecutar(SqlActualizaFacturaSinCambios(campos, textoTipo, id, leida)) > 0)
        return Grabacion::Hecha;
    return con.AbrirRegistros(SqlLeeFactura(id))->Fin() ? Grabacion::NoEncontrada : Grabacion::Cambiada;
}
