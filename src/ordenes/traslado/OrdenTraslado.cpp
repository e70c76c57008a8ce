#include "ordenes/traslado/OrdenTraslado.h"

#include "datos/BaseDatos.h"
#include "dominio/traslado/Traslado.h"
#include "ordenes/comun/Orden.h"

#include <QFileInfo>

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
