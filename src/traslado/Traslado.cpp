#include "traslado/Traslado.h"

#include "data/BaseDatos.h"
#include "data/CopiaDatos.h"
#include "ordenes/Orden.h"

#include <QFile>
#include <QFileInfo>

namespace {
QString Cadena(const QString& ruta) {
    return ConexionBD::EsDireccionServidor(ruta) ? ruta : QStringLiteral("DBQ=") + ruta;
}
}  // namespace

QStringList TrasladaDatos(const QString& origen, const QString& destino) {
    auto o = ConexionBD::AbrirSoloLectura(Cadena(origen));
    const bool archivoNuevo = !ConexionBD::EsDireccionServidor(destino) && !QFileInfo::exists(destino);
    try {
        auto d = ConexionBD::Abrir(Cadena(destino), true);
        QStringList resumen = CopiaBaseDatos(*o, *d);
        d->Cerrar();
        return resumen;
    } catch (...) {
        if (archivoNuevo)
            QFile::remove(destino);
        throw;
    }
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
