#include "ui/settings/CopiaSeguridadLogica.h"

#include "data/comun/Mensajes.h"
#include "data/BaseDatos.h"
#include "data/ErroresBD.h"
#include "data/MarcaUso.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <sqlite3.h>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#endif

namespace {

QString gCarpetaCopia;

// Run-time error numbers the messages of the copy tell apart.
constexpr int kErrorRutaArchivo = 75;  // path/file access error
constexpr int kRutaNoEncontrada = 76;  // path not found

ErrorBD ErrorEscritura(const QString& carpeta, const QString& detalle) {
    return ErrorBD(kErrorRutaArchivo,
                   QStringLiteral("No se pudo escribir la copia en ") + carpeta + QStringLiteral(": ") + detalle);
}

// The engine reads the copy read-only and must find it whole. The index
// expressions name the program's own functions, which a bare connection
// lacks, so the check stays with pages, records and table structure.
void CompruebaBaseCompleta(const QString& ruta) {
    sqlite3* db = nullptr;
    QString resultado;
    int rc = sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        rc = sqlite3_prepare_v2(db, "pragma quick_check", -1, &st, nullptr);
        if (rc == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            resultado = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        else
            resultado = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
    } else {
        resultado = QString::fromUtf8(sqlite3_errstr(rc));
    }
    sqlite3_close(db);
    if (resultado != QLatin1String("ok"))
        throw ErrorBD(CodigoError::BaseDatos,
                      QStringLiteral("La copia no es una base de datos completa (") + resultado + QStringLiteral(")"));
}

// Puts the finished copy in place in one step, replacing an earlier one.
bool Sustituye(const QString& desde, const QString& hacia, QString& detalle) {
#ifdef Q_OS_WIN
    if (MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(desde).utf16()),
                    reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(hacia).utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    detalle = QStringLiteral("error %1").arg(GetLastError());
    return false;
#else
    if (std::rename(QFile::encodeName(desde).constData(), QFile::encodeName(hacia).constData()) == 0)
        return true;
    detalle = QString::fromLocal8Bit(strerror(errno));
    return false;
#endif
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

QString NotaCopia(int indice, const QString& carpeta) {
    switch (indice) {
    case 1: return QStringLiteral("Es aconsejable que realice copias de seguridad diarias de sus datos, por si ocurriese algún error bien de la aplicación, bien de errores propios. Tenga en cuenta lo siguiente:");
    case 2: return QStringLiteral(" - Una copia de seguridad correcta es la que se hace en un medio de almacenamiento seguro, como un               CD-ROM, DAT, ZIP o medio similar, que son independientes del sistema.");
    case 3: return QStringLiteral(" - Nunca realice una copia de seguridad en un disquete, ya que son unidades de almacenamiento muy frágiles    y susceptibles de perder toda la información con bastante facilidad.");
    case 4: return QStringLiteral(" - Tampoco confíe en realizar una copia de seguridad en el propio disco duro del sistema como medio                   permanente. Puede usarlo temporalmente por si quiere realizar cambios de los que no está seguro, pero         una avería del disco, un borrado por un virus o cualquier otro acontecimiento puede hacer que pierda todos    sus datos de la manera más rápida.");
    case 5: return QStringLiteral("Recuerde que no debe dejar simplemente los archivos en \"") + carpeta + QStringLiteral("\", debe grabarlos en un medio seguro, sino cada día por el engorro que supone, al menos cada cierto número de días.");
    case 6: return QStringLiteral("Una vez tenga estos datos en consideración, debe saber que este proceso realizará una copia de la base de datos del programa en la ruta \"") + carpeta + QStringLiteral("\", es decir, en la raiz del sistema, y empleará como nombre de archivo \"Fiscalinoddmmaa.mdb\", donde ddmmaa será el día, el mes y el año en que se realizó la copia, de forma que disponga de una copia del sistema por día.");
    default: return QString();
    }
}

QString LineaNombreCopia(const QString& nombre) {
    return QStringLiteral("El nombre del archivo para la copia de seguridad de hoy es: ") + nombre;
}

void CopiaArchivoBD(const QString& origen, const QString& destino) {
    if (!QFileInfo::exists(origen))
        throw ErrorBD(CodigoError::ArchivoNoEncontrado,
                      QStringLiteral("No se encontró el archivo de la base de datos: ") + origen);
    UsoExclusivo uso(origen);
    if (!uso.Abierto())
        throw ErrorBD(kErrorRutaArchivo, QStringLiteral("No se puede leer el archivo de la base de datos: ") + origen);
    if (!uso.Conseguido())
        throw ErrorBD(CodigoError::PermisoDenegado, QStringLiteral("Permiso denegado"));

    QFile fuente(origen);
    if (!fuente.open(QIODevice::ReadOnly))
        throw ErrorBD(kErrorRutaArchivo, QStringLiteral("No se puede leer el archivo de la base de datos: ") +
                                             origen + QStringLiteral(": ") + fuente.errorString());
    const QFileInfo info(destino);
    const QString carpeta = QDir::toNativeSeparators(info.absolutePath());
    if (!info.absoluteDir().exists())
        throw ErrorBD(kRutaNoEncontrada, QStringLiteral("No se encontró la carpeta de la copia: ") + carpeta);

    // A hidden name in the same folder, so the final rename never crosses file systems.
    QTemporaryFile temporal(info.absoluteDir().filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".XXXXXX")));
    temporal.setAutoRemove(false);
    if (!temporal.open())
        throw ErrorEscritura(carpeta, temporal.errorString());
    const QString rutaTemporal = temporal.fileName();
    try {
        QByteArray bloque;
        qint64 copiados = 0;
        while (!(bloque = fuente.read(1 << 20)).isEmpty()) {
            if (temporal.write(bloque) != bloque.size())
                throw ErrorEscritura(carpeta, temporal.errorString());
            copiados += bloque.size();
        }
        if (fuente.error() != QFileDevice::NoError)
            throw ErrorBD(kErrorRutaArchivo, QStringLiteral("No se puede leer el archivo de la base de datos: ") +
                                                 fuente.errorString());
        if (copiados != fuente.size())
            throw ErrorBD(kErrorRutaArchivo, QStringLiteral("La base de datos no se pudo leer entera."));
        if (!temporal.flush())
            throw ErrorEscritura(carpeta, temporal.errorString());
#ifndef Q_OS_WIN
        if (::fsync(temporal.handle()) != 0)
            throw ErrorEscritura(carpeta, QString::fromLocal8Bit(strerror(errno)));
#endif
        temporal.close();
        if (temporal.error() != QFileDevice::NoError)
            throw ErrorEscritura(carpeta, temporal.errorString());
        CompruebaBaseCompleta(rutaTemporal);
        QFile::setPermissions(rutaTemporal, fuente.permissions());
        QString detalle;
        if (!Sustituye(rutaTemporal, destino, detalle))
            throw ErrorEscritura(carpeta, detalle);
    } catch (...) {
        temporal.close();
        QFile::remove(rutaTemporal);
        throw;
    }
}

bool RealizaCopiaSeguridad(const QString& origen, const QString& destino,
                           const std::function<void()>& restauraPuntero) {
    bool hecha = false;
    bool restaurado = false;
    auto restaura = [&] {
        if (restauraPuntero && !restaurado)
            restauraPuntero();
        restaurado = true;
    };
    try {
        CierraConexion();
        CopiaArchivoBD(origen, destino);
        hecha = true;
        Aviso(QStringLiteral("La base de datos se copió correctamente."));
    } catch (const ErrorBD& e) {
        restaura();
        if (e.numero() == CodigoError::PermisoDenegado)
            MuestraMensaje(QStringLiteral("La base de datos está abierta aún. Asegúrese de que todos los usuarios han "
                                          "salido de la aplicación menos usted y vuelva a intentarlo."));
        else
            MostrarErrorBD(e);
    }
    ConectarBD();
    restaura();
    return hecha;
}
