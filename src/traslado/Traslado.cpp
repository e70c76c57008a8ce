#include "traslado/Traslado.h"

#include "data/AtributosConexion.h"
#include "data/BaseDatos.h"
#include "data/CopiaDatos.h"
#include "data/CopiaEntera.h"
#include "ordenes/Orden.h"

#include <QFileInfo>

namespace {

QString Cadena(const QString& ruta) {
    return ConexionBD::EsDireccionServidor(ruta) ? ruta : AtributoConexion(QStringLiteral("DBQ"), ruta);
}

QStringList CopiaEn(ConexionBD& origen, const QString& destino) {
    auto d = ConexionBD::Abrir(Cadena(destino), true);
    QStringList resumen = CopiaBaseDatos(origen, *d);
    d->Cerrar();
    return resumen;
}

}  // namespace

QStringList TrasladaDatos(const QString& origen, const QString& destino) {
    auto o = ConexionBD::AbrirSoloLectura(Cadena(origen));
    // A server, or a file that exists already, takes the copy in one transaction.
    const QFileInfo info(destino);
    if (ConexionBD::EsDireccionServidor(destino) || (info.exists() && !(info.isFile() && info.size() == 0)))
        return CopiaEn(*o, destino);
    // A new file is built under a hidden name and takes its own once whole and
    // checked: a copy cut short leaves no empty database behind it.
    QStringList resumen;
    EscribeCopiaEntera(destino, [&](const QString& temporal) { resumen = CopiaEn(*o, temporal); });
    return resumen;
}

int OrdenCopiarA(ContextoOrden& c) {
    const QString destino = c.argumentos.value(0);
    const QString origen = RutaBaseDatos();
    if (!ConexionBD::EsDireccionServidor(destino) &&
        QFileInfo(destino).absoluteFilePath() == QFileInfo(origen).absoluteFilePath()) {
        c.avisa(QStringLiteral("El origen y el destino de la copia son la misma base de datos."));
        return CodigoSalida::UsoIncorrecto;
    }
    try {
        const QStringList resumen = TrasladaDatos(origen, destino);
        for (const QString& l : resumen)
            c.escribe(l);
        c.escribe(QStringLiteral("Datos copiados en ") + destino + QStringLiteral(": coinciden con el origen."));
        return CodigoSalida::Exito;
    } catch (const ErrorBD& e) {
        c.avisa(e.descripcion());
        return CodigoSalida::Fallo;
    }
}
