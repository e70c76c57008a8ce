#include "dominio/ajustes/ParametrosLogica.h"

#include "dominio/facturas/TiposVigentes.h"

#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "datos/motor/Comillas.h"
#include "dominio/copias/CopiasAutomaticas.h"
#include "datos/motor/ErroresBD.h"

#include <functional>

namespace {

const QString kTabla = QStringLiteral("PARAMETROS");

QString Marca(bool marcada) { return marcada ? QStringLiteral("'S'") : QStringLiteral("'N'"); }

QString ValorClave(const ValoresParametros& v) { return ValorSQL(CodificarClave(true, v.clave)); }

QString CampoNoEntero(const QString& etiqueta) {
    return QStringLiteral("El campo '") + etiqueta + QStringLiteral("' sólo admite un número entero.");
}

bool SoloCifras(const QString& t) {
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QString CampoVacio(const QString& etiqueta) {
    return QStringLiteral("El campo '") + etiqueta + QStringLiteral("' no puede quedar vacío.");
}

void ConTrampa(const std::function<void()>& paso) {
    try {
        paso();
    } catch (const ErrorBD& e) {
        MostrarErrorBD(e);
    }
}

}  // namespace

QString SqlLeeParametros() { return QStringLiteral("select * from ") + kTabla; }

QString SqlInsertaParametros(const ValoresParametros& v) {
    return QStringLiteral("insert into ") + kTabla + QStringLiteral("       (PALABRA_CLAVE,") +
           QStringLiteral("        IVA,") + QStringLiteral("        OPCION_IVA,") +
           QStringLiteral("        FRASE_FINAL,") + QStringLiteral("        ACCESO_FACTURAS,") +
           QStringLiteral("        ACCESO_INFORMES) ") + QStringLiteral("values (") + ValorClave(v) +
           QStringLiteral("       ,") + TextoSQL(v.iva, true) + QStringLiteral("       ,") + ValorSQL(v.opcionIva) +
           QStringLiteral("       ,") + ValorSQL(v.frase) + QStringLiteral("       ,") + Marca(v.accesoFacturas) +
           QStringLiteral("       ,") + Marca(v.accesoInformes) + QStringLiteral("       )");
}

QString SqlActualizaParametros(const ValoresParametros& v) {
    return QStringLiteral("update ") + kTabla + QStringLiteral("   set PALABRA_CLAVE = ") + ValorClave(v) +
           QStringLiteral("     , IVA = ") + TextoSQL(v.iva, true) + QStringLiteral("     , OPCION_IVA = ") +
           ValorSQL(v.opcionIva) + QStringLiteral("     , FRASE_FINAL = ") + ValorSQL(v.frase) +
           QStringLiteral("     , ACCESO_FACTURAS = ") + Marca(v.accesoFacturas) +
           QStringLiteral("     , ACCESO_INFORMES = ") + Marca(v.accesoInformes);
}

QString CompruebaParametros(const ValoresParametros& v, const QString& etiquetaIva, const QString& etiquetaOpcion,
                            const QString& etiquetaCopias) {
    if (v.clave != v.repeticion)
        return QStringLiteral("La palabra clave no coincide con la repetición.");
    if (!ClaveAdmitida(v.clave))
        return MensajeClaveNoAdmitida;
    if (v.iva.isEmpty())
        return CampoVacio(etiquetaIva);
    // The percentage goes into the statement unquoted.
    if (!SoloCifras(v.iva))
        return CampoNoEntero(etiquetaIva);
    if (v.opcionIva.isEmpty())
        return CampoVacio(etiquetaOpcion);
    if (v.copias && v.copias->isEmpty())
        return CampoVacio(etiquetaCopias);
    if (v.copias && !SoloCifras(*v.copias))
        return CampoNoEntero(etiquetaCopias);
    return QString();
}

std::optional<QString> PorcentajePropuesto(const QString& porcentaje, const QString& palabraAntes,
                                           const QString& palabraAhora) {
    if (porcentaje != QString::number(TipoPorDefecto(palabraAntes)))
        return std::nullopt;
    return QString::number(TipoPorDefecto(palabraAhora));
}

CargaParametrosPantalla LeeParametrosPantalla(const QStringList& etiquetasTxts, const QStringList& etiquetasChk) {
    CargaParametrosPantalla c;
    for (int i = 0; i < etiquetasTxts.size(); ++i)
        c.textos << QString();
    for (int i = 0; i < etiquetasChk.size(); ++i)
        c.marcas << false;

    std::unique_ptr<Registros> rs;
    ConTrampa([&] {
        rs = ConexionAbierta().AbrirRegistros(SqlLeeParametros());
    });

    if (!rs || rs->Fin()) {
        c.hayFila = false;
        const QString primeraVez[] = {QString(), QString(), QString::number(TipoPorDefecto(QStringLiteral("IVA"))),
                                      QStringLiteral("IVA"), QString()};
        for (int i = 0; i < c.textos.size() && i < 5; ++i)
            c.textos[i] = primeraVez[i];
        return c;
    }

    c.hayFila = true;
    for (int i = 0; i < etiquetasTxts.size(); ++i)
        if (!etiquetasTxts[i].isEmpty())
            ConTrampa([&] { c.textos[i] = rs->Campo(etiquetasTxts[i]).Texto(); });
    if (!c.textos.isEmpty() && !c.textos[0].isEmpty()) {
        ConTrampa([&] { c.textos[0] = CodificarClave(false, c.textos[0]); });
        if (c.textos.size() > 1)
            c.textos[1] = c.textos[0];
    }
    for (int i = 0; i < etiquetasChk.size(); ++i)
        ConTrampa([&] { c.marcas[i] = rs->Campo(etiquetasChk[i]).Texto() == QLatin1String("S"); });
    if (c.textos.size() > 3 && c.textos[3].isEmpty())
        c.textos[3] = QStringLiteral("IVA");
    rs->Cerrar();
    return c;
}

bool GuardaParametros(const ValoresParametros& v, bool insertar, const QString& etiquetaIva,
                      const QString& etiquetaOpcion, const QString& etiquetaCopias) {
    const QString fallo = CompruebaParametros(v, etiquetaIva, etiquetaOpcion, etiquetaCopias);
    if (!fallo.isEmpty()) {
        Aviso(fallo);
        return false;
    }
    try {
        const QString sql = insertar ? SqlInsertaParametros(v) : SqlActualizaParametros(v);
        ConexionAbierta().Ejecutar(sql);
    } catch (const ErrorBD& e) {
        MostrarErrorBD(e);
        Aviso(QStringLiteral("Este error es posible que sea debido a que la versión de su programa y de su base de "
                             "datos no sean la misma. Consulte con su distribuidor."));
        return false;
    }
    if (v.copias)
        GuardaCopiasAutomaticas(v.copias->toInt());
    MuestraMensaje(QStringLiteral("Datos actualizados. Reinicie la aplicación para que los cambios surtan efecto."),
                   Botones::Aceptar, Icono::Informacion, QStringLiteral("Configuración de la Aplicación"));
    return true;
}
