#include "dominio/copias/Copias.h"

#include "datos/BaseDatos.h"
#include "datos/sqlite/CopiaEntera.h"
#include "datos/MarcaUso.h"
#include "base/Mensajes.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

const QString MensajeBaseEnUso = QStringLiteral(
    "La base de datos está abierta aún. Asegúrese de que todos los usuarios han salido de la aplicación menos usted y "
    "vuelva a intentarlo.");

namespace {

QString gCarpetaCopia;

bool EsLaConectada(const QString& origen) {
    return Conexion && Conexion->Abierta() && QFileInfo(Conexion->Ruta()) == QFileInfo(origen);
}

QFileInfoList ArchivosDeCopia(const QString& carpeta) {
    QDir d(carpeta);
    // The program's copies, and those of a database of another name.
    const QString enUsoRuta = OrigenCopia();
    const QFileInfoList todos =
        d.entryInfoList({TituloAplicacion + QStringLiteral("*.mdb"), RaizCopias(enUsoRuta) + QStringLiteral("*.mdb")},
                        QDir::Files | QDir::Readable, QDir::Time);
    const QFileInfo enUso(enUsoRuta);
    QFileInfoList r;
    for (const QFileInfo& f : todos)
        if (f != enUso)
            r << f;
    return r;
}

}  // namespace

QString CarpetaCopia() {
    QString c = gCarpetaCopia.isEmpty() ? QDir::homePath() : gCarpetaCopia;
    c = QDir::toNativeSeparators(c);
    if (!c.endsWith(QDir::separator()))
        c += QDir::separator();
    return c;
}

void EstableceCarpetaCopia(const QString& carpeta) { gCarpetaCopia = carpeta; }

QString OrigenCopia() {
    if (Conexion && !Conexion->Ruta().isEmpty())
        return Conexion->Ruta();
    return RutaBaseDatos();
}

void CopiaArchivoBD(const QString& origen, const QString& destino, bool exclusiva) {
    // A server's database is copied through the open connection into a file
    // of the same layout, in one read-only snapshot: the other workstations
    // go on working meanwhile.
    if (ConexionBD::EsDireccionServidor(origen)) {
        ConexionAbierta().CopiaConsistente(destino);
        return;
    }
    if (!QFileInfo::exists(origen))
        throw ErrorBD(CodigoError::ArchivoNoEncontrado,
                      QStringLiteral("No se encontró el archivo de la base de datos: ") + origen);
    std::unique_ptr<UsoExclusivo> uso;
    if (exclusiva) {
        uso = std::make_unique<UsoExclusivo>(origen);
        if (!uso->Abierto())
            throw ErrorBD(CodigoCopia::Escritura, QStringLiteral("No se puede leer el archivo de la base de datos: ") + origen);
        if (!uso->Conseguido())
            throw ErrorBD(CodigoError::PermisoDenegado, QStringLiteral("Permiso denegado"));
    }
    if (EsLaConectada(origen))
        Conexion->CopiaConsistente(destino);
    else
        CopiaConsistenteArchivo(origen, destino);
}

QList<CopiaEncontrada> CopiasEnCarpeta(const QString& carpeta) {
    QList<CopiaEncontrada> r;
    for (const QFileInfo& f : ArchivosDeCopia(carpeta)) {
        CopiaEncontrada c;
        c.ruta = QDir::toNativeSeparators(f.absoluteFilePath());
        c.nombre = f.fileName();
        c.fecha = f.lastModified();
        c.bytes = f.size();
        c.examen = ExaminaArchivoBD(c.ruta, false);
        r << c;
    }
    return r;
}

bool HayCopias(const QString& carpeta) { return !ArchivosDeCopia(carpeta).isEmpty(); }
