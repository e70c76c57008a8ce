#include "ui/settings/CopiaSeguridadLogica.h"

#include "data/comun/Bitacora.h"
#include "data/comun/Mensajes.h"
#include "data/ArchivoBD.h"
#include "data/BaseDatos.h"
#include "data/comun/Archivos.h"
#include "data/ErroresBD.h"
#include "data/MarcaUso.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

QString gCarpetaCopia;

// Run-time error numbers the messages of the copy tell apart.
constexpr int kErrorRutaArchivo = 75;  // path/file access error
constexpr int kRutaNoEncontrada = 76;  // path not found

// The system's own words (English) go to the log; the user reads what to check.
ErrorBD ErrorEscritura(const QString& carpeta, const QString& detalle) {
    AnotaBitacora(QStringLiteral("Copia de seguridad en ") + carpeta + QStringLiteral(": ") + detalle);
    return ErrorBD(kErrorRutaArchivo, QStringLiteral("No se pudo escribir la copia en ") + carpeta +
                                          QStringLiteral(". Compruebe que queda espacio libre en el disco y que puede "
                                                         "escribir en esa carpeta."));
}

ErrorBD ErrorLectura(const QString& origen, const QString& detalle) {
    AnotaBitacora(QStringLiteral("Copia de seguridad de ") + origen + QStringLiteral(": ") + detalle);
    return ErrorBD(kErrorRutaArchivo, QStringLiteral("No se puede leer el archivo de la base de datos: ") + origen);
}

// The hidden temporary files of the copies: "." + the copy's name + "." and
// six letters or digits, in the folder of the copy.
QString PlantillaTemporal(const QFileInfo& destino) {
    return destino.absoluteDir().filePath(QLatin1Char('.') + destino.fileName() + QStringLiteral(".XXXXXX"));
}

bool EsTemporalDeCopia(const QString& nombre) {
    // The copy's name is the title, ddmmyy and ".mdb".
    static const QRegularExpression re(QLatin1Char('^') + QRegularExpression::escape(QLatin1Char('.') + TituloAplicacion) +
                                       QStringLiteral("\\d{6}\\.mdb\\.[A-Za-z0-9]{6}$"));
    return re.match(nombre).hasMatch();
}

// A copy keeps its temporary file locked while it writes it, so that another
// copy's clean-up leaves it alone.
bool BloqueaTemporal(QFileDevice& f) {
#ifdef Q_OS_WIN
    Q_UNUSED(f);
    return true;  // an open file cannot be removed there
#else
    return ::flock(f.handle(), LOCK_EX | LOCK_NB) == 0;
#endif
}

// Removes what interrupted copies left in `carpeta`: their temporary files,
// as large as the database. Never one another copy is writing (it holds it
// locked), nor one just made and not locked yet (still empty and recent).
void BorraTemporalesAbandonados(const QDir& carpeta) {
    const QFileInfoList candidatos =
        carpeta.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
    for (const QFileInfo& t : candidatos) {
        if (!EsTemporalDeCopia(t.fileName()))
            continue;
        if (t.size() == 0 && t.lastModified().secsTo(QDateTime::currentDateTime()) < 60)
            continue;
        QFile f(t.absoluteFilePath());
        if (!f.open(QIODevice::ReadOnly) || !BloqueaTemporal(f))
            continue;
        if (QFile::remove(t.absoluteFilePath()))
            AnotaBitacora(QStringLiteral("Copia de seguridad: borrado el temporal abandonado ") + t.absoluteFilePath());
    }
}

// The engine reads the copy read-only and must find it whole.
void CompruebaBaseCompleta(const QString& ruta) {
    const QString informe = InformeIntegridad(ruta);
    if (!informe.isEmpty()) {
        // The engine's report (a line per fault, in English) is for the log.
        AnotaBitacora(QStringLiteral("Comprobación de la copia ") + ruta + QStringLiteral(":\n") + informe);
        throw ErrorBD(CodigoError::BaseDatos,
                      QStringLiteral("La copia no se ha guardado porque la base de datos copiada está dañada."));
    }
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
        throw ErrorLectura(origen, QStringLiteral("no se pudo abrir"));
    if (!uso.Conseguido())
        throw ErrorBD(CodigoError::PermisoDenegado, QStringLiteral("Permiso denegado"));

    QFile fuente(origen);
    if (!fuente.open(QIODevice::ReadOnly))
        throw ErrorLectura(origen, fuente.errorString());
    const QFileInfo info(destino);
    const QString carpeta = QDir::toNativeSeparators(info.absolutePath());
    if (!info.absoluteDir().exists())
        throw ErrorBD(kRutaNoEncontrada, QStringLiteral("No se encontró la carpeta de la copia: ") + carpeta);

    BorraTemporalesAbandonados(info.absoluteDir());
    // A hidden name in the same folder, so the final rename never crosses file systems.
    QTemporaryFile temporal(PlantillaTemporal(info));
    temporal.setAutoRemove(false);
    if (!temporal.open())
        throw ErrorEscritura(carpeta, temporal.errorString());
    BloqueaTemporal(temporal);
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
            throw ErrorLectura(origen, fuente.errorString());
        if (copiados != fuente.size())
            throw ErrorBD(kErrorRutaArchivo, QStringLiteral("La base de datos no se pudo leer entera."));
        if (!temporal.flush())
            throw ErrorEscritura(carpeta, temporal.errorString());
#ifdef Q_OS_WIN
        // A file still open cannot be renamed there.
        temporal.close();
        if (temporal.error() != QFileDevice::NoError)
            throw ErrorEscritura(carpeta, temporal.errorString());
#else
        if (::fsync(temporal.handle()) != 0)
            throw ErrorEscritura(carpeta, QString::fromLocal8Bit(strerror(errno)));
        // Kept open, and so locked, until it has its final name.
#endif
        CompruebaBaseCompleta(rutaTemporal);
        QFile::setPermissions(rutaTemporal, fuente.permissions());
        QString detalle;
        if (!ReemplazaArchivo(rutaTemporal, destino, &detalle))
            throw ErrorEscritura(carpeta, detalle);
        temporal.close();
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
