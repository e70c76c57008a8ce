#include "invoices/Facturas.h"

#include "data/comun/Formatos.h"
#include "data/Comillas.h"
#include "data/ConexionBD.h"
#include "data/Valor.h"
#include "invoices/Nif.h"
#include "invoices/Trimestres.h"
#include "data/Registros.h"

#include <cmath>

const std::array<const char*, 7> ColumnasFactura{"COD_FACTURA",  "FECHA_FACTURA", "IMPORTE_IVA", "IMPORTE_TOTAL",
                                                  "IMPORTE_NETO", "IVA",           "DESCRIPCION"};
const std::array<int, 7> LongitudesFactura{50, 10, 12, 12, 12, 2, 255};
const std::array<const char*, 3> ColumnasTercero{"NIF_TERCERO", "FECHA_OPERACION", "NOMBRE_TERCERO"};
const std::array<int, 3> LongitudesTercero{20, 10, 40};

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

namespace {

// The insert, with the counterparty's columns after the others when given.
QString Inserta(const CamposFactura& c, const QString& textoTipo, const CamposTercero* t) {
    QString columnas = QStringLiteral("       (COD_FACTURA, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL, IMPORTE_NETO, IVA, "
                                      "DESCRIPCION, TIPO");
    QString valores = QStringLiteral("values (") + ValorSQL(c[0]) + ',' + ValorSQL(c[1]) + ',' + ValorSQL(c[2]) + ',' +
                      ValorSQL(c[3]) + QStringLiteral("       ,") + ValorSQL(c[4]) + ',' + ValorSQL(c[5]) + ',' +
                      ValorSQL(c[6]) + ',' + ValorSQL(CodigoTipo(textoTipo));
    for (size_t i = 0; t && i < t->size(); ++i) {
        columnas += QStringLiteral(", ") + QLatin1String(ColumnasTercero[i]);
        valores += ',' + ValorSQL((*t)[i]);
    }
    return QStringLiteral("insert into ") + QStringLiteral("FACTURAS") + columnas + QStringLiteral(") ") + valores + ')';
}

QString Actualiza(const CamposFactura& c, const QString& textoTipo, const CamposTercero* t, const QString& id) {
    QString sql = QStringLiteral("update ") + QStringLiteral("FACTURAS") + QStringLiteral("   set COD_FACTURA = ") +
                  ValorSQL(c[0]) + QStringLiteral("     , FECHA_FACTURA = ") + ValorSQL(c[1]) +
                  QStringLiteral("     , IMPORTE_IVA = ") + ValorSQL(c[2]) + QStringLiteral("     , IMPORTE_TOTAL = ") +
                  ValorSQL(c[3]) + QStringLiteral("     , IMPORTE_NETO = ") + ValorSQL(c[4]) +
                  QStringLiteral("     , IVA = ") + ValorSQL(c[5]) + QStringLiteral("     , DESCRIPCION = ") +
                  ValorSQL(c[6]) + QStringLiteral("     , TIPO = ") + ValorSQL(CodigoTipo(textoTipo));
    for (size_t i = 0; t && i < t->size(); ++i)
        sql += QStringLiteral("     , ") + QLatin1String(ColumnasTercero[i]) + QStringLiteral(" = ") + ValorSQL((*t)[i]);
    return sql + QStringLiteral(" where ID = ") + id;
}

}  // namespace

QString SqlInsertaFactura(const CamposFactura& c, const QString& textoTipo) { return Inserta(c, textoTipo, nullptr); }

QString SqlInsertaFactura(const CamposFactura& c, const QString& textoTipo, const CamposTercero& t) {
    return Inserta(c, textoTipo, &t);
}

QString SqlActualizaFactura(const CamposFactura& c, const QString& textoTipo, const QString& id) {
    return Actualiza(c, textoTipo, nullptr, id);
}

QString SqlActualizaFactura(const CamposFactura& c, const QString& textoTipo, const CamposTercero& t,
                            const QString& id) {
    return Actualiza(c, textoTipo, &t, id);
}

CamposTercero TerceroParaGrabar(const CamposFactura& c, const CamposTercero& t) {
    CamposTercero r = t;
    r[0] = NormalizaNif(t[0]);
    const auto operacion = LeeFecha(t[1]);
    if (operacion && operacion == LeeFecha(c[1]))
        r[1].clear();
    return r;
}

QString SqlBorraFactura(const QString& id) {
    return QStringLiteral("delete from ") + QStringLiteral("FACTURAS") + QStringLiteral(" where ID = ") + id;
}

namespace {
const QString kColumnaTipo = QStringLiteral("TIPO");
QString ColumnaFila(size_t i) {
    if (i < ColumnasFactura.size())
        return QString::fromLatin1(ColumnasFactura[i]);
    if (i == ColumnasFactura.size())
        return kColumnaTipo;
    return QString::fromLatin1(ColumnasTercero[i - ColumnasFactura.size() - 1]);
}
}  // namespace

FilaFactura LeeFilaFactura(const Registros& rs) {
    FilaFactura f;
    for (size_t i = 0; i < f.size(); ++i)
        f[i] = rs.Campo(ColumnaFila(i));
    return f;
}

QString SqlActualizaFacturaSinCambios(const CamposFactura& c, const QString& textoTipo, const CamposTercero& t,
                                      const QString& id, const FilaFactura& leida) {
    QString sql = SqlActualizaFactura(c, textoTipo, t, id);
    for (size_t i = 0; i < leida.size(); ++i)
        sql += QStringLiteral("   and ") + CondicionIgualSQL(ColumnaFila(i), leida[i]);
    return sql;
}

std::optional<QString> SqlFacturaRepetida(const CamposFactura& c, const QString& textoTipo, const CamposTercero& t,
                                          const QString& id) {
    if (c[0].isEmpty())
        return std::nullopt;
    const QString nif = NormalizaNif(t[0]);
    const auto fecha = LeeFecha(c[1]);
    QString sql = QStringLiteral("select COD_FACTURA, FECHA_FACTURA, IMPORTE_TOTAL, NIF_TERCERO from FACTURAS where ") +
                  (CodigoTipo(textoTipo) == QLatin1String("C") ? QStringLiteral("TIPO = 'C'")
                                                              : QStringLiteral("(TIPO is Null or TIPO <> 'C')")) +
                  QStringLiteral(" and COD_FACTURA = ") + ValorSQL(c[0]);
    if (!nif.isEmpty()) {
        sql += QStringLiteral(" and NIF_TERCERO = ") + ValorSQL(nif);
        if (fecha)
            sql += QStringLiteral(" and DateValue(FECHA_FACTURA) Between DateValue('01/01/%1') and DateValue('31/12/%1')")
                       .arg(fecha->year());
        else
            sql += QStringLiteral(" and FECHA_FACTURA is Null");
    } else {
        const auto total = LeeNumero(c[3]);
        if (!fecha || !total)
            return std::nullopt;
        sql += QStringLiteral(" and DateValue(FECHA_FACTURA) = DateValue('") + EscribeFecha(*fecha) +
               QStringLiteral("') and IMPORTE_TOTAL = ") + ValorSQL(c[3]);
    }
    if (!id.isEmpty())
        sql += QStringLiteral(" and ID <> ") + id;
    return sql;
}

QString PreguntaFacturaRepetida(ConexionBD& con, const CamposFactura& c, const QString& textoTipo,
                                const CamposTercero& t, const QString& id) {
    const auto sql = SqlFacturaRepetida(c, textoTipo, t, id);
    if (!sql)
        return QString();
    auto rs = con.AbrirRegistros(*sql);
    if (rs->Fin())
        return QString();
    const QString nif = NormalizaNif(t[0]);
    QString texto = QStringLiteral("Ya existe una factura de ") + NombreTipo(Valor::DeTexto(CodigoTipo(textoTipo)));
    if (!nif.isEmpty()) {
        const auto fecha = LeeFecha(c[1]);
        texto += QStringLiteral(" del NIF ") + nif + QStringLiteral(" con el código ") + c[0] +
                 (fecha ? QStringLiteral(" en el año %1.").arg(fecha->year()) : QStringLiteral(" y sin fecha."));
    } else {
        texto += QStringLiteral(" con el código ") + c[0] + QStringLiteral(", la fecha ") +
                 EscribeFecha(*LeeFecha(c[1])) + QStringLiteral(" y el total ") +
                 FormatoImporte(*LeeNumero(c[3])) + QLatin1Char('.');
    }
    return texto + QStringLiteral("\n\n¿Desea grabarla de todas formas?");
}

Grabacion GrabaFacturaNueva(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo,
                            const CamposTercero& tercero) {
    return con.Ejecutar(SqlInsertaFactura(campos, textoTipo, tercero)) > 0 ? Grabacion::Hecha : Grabacion::NoGrabada;
}

Grabacion GrabaCambiosFactura(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo,
                              const CamposTercero& tercero, const QString& id, const FilaFactura& leida) {
    if (con.Ejecutar(SqlActualizaFacturaSinCambios(campos, textoTipo, tercero, id, leida)) > 0)
        return Grabacion::Hecha;
    return con.AbrirRegistros(SqlLeeFactura(id))->Fin() ? Grabacion::NoEncontrada : Grabacion::Cambiada;
}
