#include "ordenes/copias/OrdenesCopia.h"

#include "dominio/copias/Copias.h"
#include "dominio/copias/Restauracion.h"
#include "datos/BaseDatos.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

int OrdenCopia(ContextoOrden& c) {
    const QString carpeta = c.argumentos.isEmpty() ? CarpetaCopia() : c.argumentos.first();
    if (!AbreBaseDeOrden(c))
        return CodigoSalida::Fallo;
    const QString nombre = NombreCopiaSeguridad(QDate::currentDate(), Conexion->Ruta());
    const QString destino = QDir::toNativeSeparators(QDir(QFileInfo(carpeta).absoluteFilePath()).filePath(nombre));
    try {
        CopiaArchivoBD(Conexion->Ruta(), destino, false);
    } catch (const ErrorBD& e) {
        c.avisa(e.descripcion());
        return CodigoSalida::Fallo;
    }
    c.escribe(destino);
    return CodigoSalida::Exito;
}

namespace {

bool EsSi(const QString& respuesta) {
    const QString r = respuesta.trimmed().toLower();
    return r == QLatin1String("s") || r == QLatin1String("si") || r == QStringLiteral("sí");
}

}  // namespace

int OrdenRestaurar(ContextoOrden& c) {
    QStringList resto = c.argumentos;
    const bool confirmado = resto.removeAll(QStringLiteral("--si")) > 0;
    if (resto.size() != 1) {
        c.avisa(QStringLiteral("Indique el archivo de la copia que desea restaurar: --restaurar FICHERO [--si]"));
        return CodigoSalida::UsoIncorrecto;
    }
    const QString archivo = QFileInfo(resto.first()).absoluteFilePath();
    const ExamenArchivoBD examen = ExaminaArchivoBD(archivo, false);
    const QString motivo = MotivoNoRestaurable(examen, archivo);
    if (!motivo.isEmpty()) {
        c.avisa(motivo + QStringLiteral(" No se ha cambiado nada."));
        return CodigoSalida::Fallo;
    }
    // The password of the database in use guards it, as on the screen; a file
    // that cannot be opened (damaged) has none to ask for; a server that
    // cannot be reached cannot take the copy either.
    const QString ruta = RutaBaseDatos();
    const bool servidor = ConexionBD::EsDireccionServidor(ruta);
    if (servidor || QFileInfo(ruta).isFile()) {
        if (AbreBaseDeOrden(c)) {
            CierraConexion();
            if (!AccesoDeOrden(c, true))
                return CodigoSalida::Fallo;
        } else if (servidor) {
            return CodigoSalida::Fallo;
        }
    }
    if (!confirmado) {
        c.avisa(QStringLiteral("Se va a sustituir la base de datos ") + ruta + QStringLiteral(" por ") +
                DescribeCopia(archivo, examen) + QLatin1Char('.'));
        const std::optional<QString> respuesta =
            c.pideRespuesta ? c.pideRespuesta(QStringLiteral("¿Desea continuar? (s/n): ")) : std::nullopt;
        if (!respuesta) {
            c.avisa(QStringLiteral("Hace falta confirmar la restauración y no hay un terminal donde preguntar: "
                                   "añada --si para confirmarla."));
            return CodigoSalida::Fallo;
        }
        if (!EsSi(*respuesta)) {
            c.avisa(QStringLiteral("No se ha restaurado nada."));
            return CodigoSalida::Fallo;
        }
    }
    // A server's data is replaced through the connection the screens use,
    // holding its in-use mark.
    if (servidor && !ConectarBD())
        return CodigoSalida::Fallo;
    try {
        const QString previa = RestauraCopia(archivo);
        c.escribe(QStringLiteral("Restaurada ") + DescribeCopia(archivo, examen) + QStringLiteral(" en ") + ruta);
        if (!previa.isEmpty())
            c.escribe(QStringLiteral("La base de datos anterior se guardó en ") + previa);
    } catch (const ErrorBD& e) {
        c.avisa(e.descripcion());
        return CodigoSalida::Fallo;
    }
    return CodigoSalida::Exito;
}
