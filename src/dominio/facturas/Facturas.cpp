#include "dominio/facturas/Facturas.h"

#include "base/Formatos.h"
#include "datos/motor/Comillas.h"
#include "datos/ConexionBD.h"
#include "datos/motor/Valor.h"
#include "dominio/facturas/Nif.h"
#include "dominio/facturas/Trimestres.h"
#include "datos/motor/Registros.h"
#include "datos/motor/TransaccionBD.h"

#include <cmath>

const std::array<const char*, 7> ColumnasFactura{"COD_FACTURA",  "FECHA_FACTURA", "IMPORTE_IVA", "IMPORTE_TOTAL",
                                                  "IMPORTE_NETO", "IVA",           "DESCRIPCION"};
const std::array<int, 7> LongitudesFactura{50, 10, 12, 12, 12, 5, 255};
const std::array<const char*, 5> ColumnasTercero{"NIF_TERCERO", "FECHA_OPERACION", "NOMBRE_TERCERO", "PAIS_TERCERO",
                                                 "TIPO_ID_TERCERO"};
const std::array<int, 5> LongitudesTercero{20, 10, 40, 2, 2};

const QString PaisEspana = QStringLiteral("ES");
const std::array<TipoIdentificacion, 5> TiposIdentificacion{{
    {"02", "NIF-IVA"},
    {"03", "Pasaporte"},
    {"04", "Documento oficial"},
    {"05", "Certificado de residencia"},
    {"06", "Otro"},
}};

bool PaisValido(const QString& pais) {
    const QString p = pais.trimmed();
    return p.isEmpty() || (p.size() == 2 && p.at(0).isLetter() && p.at(0).unicode() < 128 && p.at(1).isLetter() &&
                           p.at(1).unicode() < 128);
}

bool EsPaisExtranjero(const QString& pais) {
    const QString p = pais.trimmed();
    return !p.isEmpty() && p.compare(PaisEspana, Qt::CaseInsensitive) != 0;
}

const QString TipoCobros = QStringLiteral("Cobros");
const QString TipoPagos = QStringLiteral("Pagos");

namespace {

// Rule A picks among `tipos` when given; without them, the Part's whole number.
Importes Calcula(const Importes& e, const std::vector<qint64>* tipos) {
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
        const double exacto = *iva / netoLeido * 100;
        r.porcentaje = FormatoEntero(exacto);
        std::optional<qint64> elegido;
        for (size_t i = 0; tipos && i < tipos->size(); ++i) {
            const qint64 t = (*tipos)[i];
            if (Centimos(netoLeido * static_cast<double>(t) / 10000) != Centimos(*iva))
                continue;
            if (!elegido || std::fabs(static_cast<double>(t) / 100 - exacto) <
                                std::fabs(static_cast<double>(*elegido) / 100 - exacto))
                elegido = t;
        }
        if (elegido)
            r.porcentaje = TextoTipo(*elegido);
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

}  // namespace

Importes CalculaImportes(const Importes& e) { return Calcula(e, nullptr); }

Importes CalculaImportes(const Importes& e, Impuesto impuesto, const QDate& fecha) {
    const std::vector<qint64> tipos = TiposVigentes(impuesto, fecha);
    return Calcula(e, &tipos);
}

std::optional<QDate> FechaDelTipo(const CamposFactura& campos, const CamposTercero& tercero) {
    if (auto operacion = LeeFecha(tercero[1]))
        return operacion;
    return LeeFecha(campos[1]);
}

FaltaEnImportes QueFaltaEnImportes(const Importes& i) {
    if (i.total.isEmpty())
        return FaltaEnImportes::Total;
    if (i.iva.isEmpty())
        return i.porcentaje.isEmpty() ? FaltaEnImportes::Nada : FaltaEnImportes::Iva;
    if (i.neto.isEmpty())
        return FaltaEnImportes::Neto;
    return i.porcentaje.isEmpty() ? FaltaEnImportes::Porcentaje : FaltaEnImportes::Nada;
}

QString PreguntaImportesIncompletos(FaltaEnImportes falta, const QString& palabra) {
    switch (falta) {
    case FaltaEnImportes::Iva:
        return QStringLiteral("La factura no tiene calculado el importe del ") + palabra +
               QStringLiteral(". ¿Desea calcularlo a partir del total y el porcentaje?");
    case FaltaEnImportes::Neto:
        return QStringLiteral("La factura no tiene calculado el importe neto. ¿Desea calcularlo a partir del total y "
                              "el importe del ") +
               palabra + QStringLiteral("?");
    case FaltaEnImportes::Porcentaje:
        return QStringLiteral("La factura no tiene calculado el porcentaje del ") + palabra +
               QStringLiteral(". ¿Desea calcularlo a partir del total y el importe del ") + palabra +
               QStringLiteral("?");
    case FaltaEnImportes::Nada:
    case FaltaEnImportes::Total: break;
    }
    return QString();
}

QString AvisoCampoVacio(const QString& etiqueta) {
    return QStringLiteral("El campo '") + etiqueta + QStringLiteral("' no puede quedar vacío.");
}

QString PreguntaTipoNoVigente(const QString& porcentaje, const QString& palabra, const std::optional<QDate>& fecha) {
    const auto valor = porcentaje.isEmpty() ? std::nullopt : LeeNumero(porcentaje);
    if (!valor || !fecha)
        return QString();
    const auto tipo = TipoDePorcentaje(*valor);
    if (tipo && EsTipoVigente(ImpuestoDePalabra(palabra), *tipo, *fecha))
        return QString();
    return QStringLiteral("El ") + TextoNumero(*valor) + QStringLiteral(" % no es un tipo de ") + palabra +
           QStringLiteral(" vigente el ") + EscribeFecha(*fecha) +
           QStringLiteral(". ¿Desea grabar la factura de todos modos?");
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
    r[3] = t[3].trimmed().toUpper();
    if (!EsPaisExtranjero(r[3])) {
        r[3].clear();
        r[4].clear();
    }
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
    for (size_t i = 0; i < f.size(); ++i) {
        const QString columna = ColumnaFila(i);
        f[i] = rs.IndiceColumna(columna) >= 0 ? rs.Campo(columna) : Valor::Nulo();
    }
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

std::optional<QString> SqlGuardaTercero(const CamposTercero& t) {
    const QString nif = NormalizaNif(t[0]);
    if (nif.isEmpty())
        return std::nullopt;
    // An invoice without a name leaves the one known; the postal code is
    // never the invoice's to change.
    return QStringLiteral("insert into TERCEROS (NIF, NOMBRE, PAIS, TIPO_ID) values (") + ValorSQL(nif) + ',' +
           ValorSQL(t[2].trimmed()) + ',' + ValorSQL(t[3]) + ',' + ValorSQL(t[4]) +
           QStringLiteral(") on conflict (NIF) do update set NOMBRE = coalesce(excluded.NOMBRE, TERCEROS.NOMBRE),"
                          " PAIS = excluded.PAIS, TIPO_ID = excluded.TIPO_ID");
}

std::optional<TerceroConocido> BuscaTerceroConocido(ConexionBD& con, const QString& nif) {
    const QString n = NormalizaNif(nif);
    if (n.isEmpty())
        return std::nullopt;
    auto rs = con.AbrirRegistros(QStringLiteral("select NOMBRE, PAIS, TIPO_ID from TERCEROS where NIF = ") + ValorSQL(n));
    if (rs->Fin())
        return std::nullopt;
    return TerceroConocido{rs->Campo(0).Texto().trimmed(), rs->Campo(1).Texto().trimmed().toUpper(),
                           rs->Campo(2).Texto().trimmed()};
}

std::optional<TerceroConocido> RellenoDeTercero(const std::optional<TerceroConocido>& conocido,
                                                const QString& nombreEscrito, const QString& paisEscrito) {
    if (!conocido || conocido->nombre.isEmpty() || !nombreEscrito.trimmed().isEmpty())
        return std::nullopt;
    TerceroConocido r = *conocido;
    if (EsPaisExtranjero(paisEscrito) || !EsPaisExtranjero(r.pais)) {
        r.pais = EsPaisExtranjero(paisEscrito) ? paisEscrito.trimmed().toUpper() : PaisEspana;
        r.tipoId.clear();
    }
    return r;
}

namespace {

// The invoice and its counterparty's row are stored together or not at all.
Grabacion Graba(ConexionBD& con, const QString& sql, const CamposTercero& tercero, Grabacion sinFilas) {
    TransaccionBD transaccion(con);
    if (con.Ejecutar(sql) <= 0)
        return sinFilas;
    if (const auto guarda = SqlGuardaTercero(tercero)) {
        transaccion.Comprueba();
        con.Ejecutar(*guarda);
    }
    transaccion.Confirma();
    return Grabacion::Hecha;
}

}  // namespace

Grabacion GrabaFacturaNueva(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo,
                            const CamposTercero& tercero) {
    return Graba(con, SqlInsertaFactura(campos, textoTipo, tercero), tercero, Grabacion::NoGrabada);
}

Grabacion GrabaCambiosFactura(ConexionBD& con, const CamposFactura& campos, const QString& textoTipo,
                              const CamposTercero& tercero, const QString& id, const FilaFactura& leida) {
    const Grabacion r =
        Graba(con, SqlActualizaFacturaSinCambios(campos, textoTipo, tercero, id, leida), tercero, Grabacion::Cambiada);
    if (r == Grabacion::Hecha)
        return r;
    return con.AbrirRegistros(SqlLeeFactura(id))->Fin() ? Grabacion::NoEncontrada : Grabacion::Cambiada;
}
