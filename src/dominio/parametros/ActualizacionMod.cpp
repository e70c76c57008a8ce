#include "dominio/parametros/ActualizacionMod.h"

#include "dominio/parametros/Ajustes.h"
#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"

const QString VersionPrograma = QStringLiteral("1.0");

QStringList PasosVersion(const QString& version) {
    if (version == QLatin1String("1.1")) {
        return {QStringLiteral("alter table ") + QStringLiteral("PARAMETROS") + QStringLiteral("  add PRECIO_COD_BARRAS char(1)"),
                QStringLiteral("alter table ") + QStringLiteral("PARAMETROS") + QStringLiteral("  add OPCION_IVA varchar(8)"),
                QStringLiteral("update ") + QStringLiteral("PARAMETROS") + QStringLiteral("   set PRECIO_COD_BARRAS = 'N'") +
                    QStringLiteral("     , OPCION_IVA = 'IVA'")};
    }
    return {};
}

void ActualizarVersion11(const QString& registrada, const QStringList& conocidas) {
    bool encontrada = false;
    for (const QString& version : conocidas) {
        if (!encontrada) {
            if (version == registrada)
                encontrada = true;
            continue;
        }
        for (const QString& sql : PasosVersion(version)) {
            try {
                ConexionAbierta().Ejecutar(sql);
            } catch (const ErrorBD& e) {
                QString texto = QStringLiteral(
                                    "Se produjo un error intentando actualizar la Base de Datos a una versión más "
                                    "reciente. El error fue: ") +
                                e.descripcion();
                MostrarErrorBD(e, true, texto);
                MuestraMensaje(QStringLiteral("Guarde la siguiente información para comunicársela a su distribuidor: "
                                              "La última consulta ejecutada fue: ") +
                               sql);
                MuestraMensaje(QStringLiteral("No se ha podido actualizar la base de datos del programa y por ello es "
                                              "posible que alguna de las nuevas opciones no estén disponibles."));
            }
        }
        GuardaAjuste(QStringLiteral("Version"), version);
    }
}

void ComprobarVersion() {
    if (RutaAplicacion.startsWith(QLatin1String("\\\\")) || RutaAplicacion.startsWith(QLatin1String("//")))
        return;
    const QStringList conocidas{QStringLiteral("1.0")};
    QString registrada = LeeAjuste(QStringLiteral("Version"), QStringLiteral("1.0"));
    if (registrada == VersionPrograma)
        return;
    ActualizarVersion11(registrada, conocidas);
    GuardaAjuste(QStringLiteral("Version"), VersionPrograma);
}
