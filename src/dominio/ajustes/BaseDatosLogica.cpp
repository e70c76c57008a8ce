#include "dominio/ajustes/BaseDatosLogica.h"

#include "datos/ConexionBD.h"
#include "datos/postgresql/Pgpass.h"
#include "dominio/traslado/Traslado.h"

#include <QUrl>

QString CompruebaDatosServidor(const DatosServidor& d) {
    if (d.servidor.trimmed().isEmpty() || d.base.trimmed().isEmpty() || d.usuario.trimmed().isEmpty())
        return QStringLiteral("Indique el servidor, la base de datos y el usuario.");
    bool ok = false;
    const int puerto = d.puerto.trimmed().toInt(&ok);
    if (!ok || puerto < 1 || puerto > 65535)
        return QStringLiteral("El puerto debe ser un número entre 1 y 65535.");
    return QString();
}

ServidorElegido ServidorDeDatos(const DatosServidor& d) {
    ServidorElegido s;
    s.servidor = d.servidor.trimmed();
    s.puerto = d.puerto.trimmed().toInt();
    s.base = d.base.trimmed();
    s.usuario = d.usuario.trimmed();
    return s;
}

QString DireccionConClave(const DatosServidor& d) {
    QUrl u(DireccionServidor(ServidorDeDatos(d)));
    if (!d.clave.isEmpty())
        u.setPassword(d.clave);
    return u.toString(QUrl::FullyEncoded);
}

ResultadoPrueba PruebaConexion(const DatosServidor& d) {
    const QString fallo = CompruebaDatosServidor(d);
    if (!fallo.isEmpty())
        return {false, fallo};
    try {
        ConexionBD::AbrirSoloLectura(DireccionConClave(d))->Cerrar();
        return {true, QStringLiteral("La conexión con el servidor es correcta.")};
    } catch (const ErrorBD& e) {
        if (e.descripcion() == QStringLiteral("La base de datos del servidor está vacía."))
            return {true, QStringLiteral("La conexión con el servidor es correcta. La base de datos está vacía: el "
                                         "programa creará sus tablas al usarla.")};
        return {false, QStringLiteral("No se pudo conectar con el servidor: ") + e.descripcion()};
    }
}

QString GuardaBaseDatosElegida(bool servidor, const DatosServidor& d) {
    if (servidor) {
        const QString fallo = CompruebaDatosServidor(d);
        if (!fallo.isEmpty())
            return fallo;
        const ServidorElegido s = ServidorDeDatos(d);
        if (!d.clave.isEmpty() && !GuardaClavePgpass(s.servidor, s.puerto, s.base, s.usuario, d.clave))
            return QStringLiteral("No se pudo guardar la contraseña en el archivo de contraseñas ") + ArchivoPgpass() +
                   QLatin1Char('.');
    }
    GuardaEleccionBaseDatos(servidor, ServidorDeDatos(d));
    return QString();
}

ResultadoPrueba CopiaDatosAlServidor(const QString& archivo, const DatosServidor& d) {
    const QString fallo = CompruebaDatosServidor(d);
    if (!fallo.isEmpty())
        return {false, fallo};
    try {
        const QStringList resumen = TrasladaDatos(archivo, DireccionConClave(d));
        return {true, QStringLiteral("Datos copiados al servidor; coinciden con los de este equipo:\n") +
                          resumen.join(QLatin1Char('\n'))};
    } catch (const ErrorBD& e) {
        return {false, QStringLiteral("No se han copiado los datos: ") + e.descripcion()};
    }
}
