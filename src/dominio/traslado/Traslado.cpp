#include "dominio/traslado/Traslado.h"

#include "datos/AtributosConexion.h"
#include "datos/BaseDatos.h"
#include "datos/CopiaDatos.h"
#include "datos/sqlite/CopiaEntera.h"

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
