#include "datos/sqlite/CopiaEntera.h"

#include "datos/sqlite/ArchivoBD.h"
#include "base/Archivos.h"
#include "base/Bitacora.h"
#include "base/Mensajes.h"
#include "base/Programa.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QRandomGenerator>
#include <algorithm>
#include <vector>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

ErrorBD ErrorLectura(const QString& origen, const QString& detalle) {
    AnotaBitacora(QStringLiteral("Copia de seguridad de ") + origen + QStringLiteral(": ") + detalle);
    return ErrorBD(CodigoCopia::Escritura, QStringLiteral("No se puede leer el archivo de la base de datos: ") + origen);
}

// The hidden temporary files of the copies: "." + the copy's name + "." and
// six letters or digits, in the folder of the copy. The letters come from the
// system, so that processes started alike never draw the same ones, and the
// file is made with its name at once (never an unnamed file named later,
// which fails on a name already taken).
bool AbreTemporal(const QFileInfo& destino, QFile& temporal) {
    static const char kLetras[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int intento = 0; intento < 100; ++intento) {
        QString nombre = QLatin1Char('.') + destino.fileName() + QLatin1Char('.');
        for (int i = 0; i < 6; ++i)
            nombre += QLatin1Char(kLetras[QRandomGenerator::system()->bounded(62)]);
        temporal.setFileName(destino.absoluteDir().filePath(nombre));
        if (temporal.open(QIODevice::ReadWrite | QIODevice::NewOnly))
            return true;
        if (!QFileInfo::exists(temporal.fileName()))
            return false;  // not a name taken: the folder refuses it
    }
    return false;
}

// Those of any copy of the program (named after it, ".mdb"), and those of
// this destination whatever its name.
bool EsTemporalDeCopia(const QString& nombre, const QString& destino) {
    static const QRegularExpression programa(
        QStringLiteral("^\\.(%1|%2)[^/\\\\]*\\.mdb\\.[A-Za-z0-9]{6}$")
            .arg(QRegularExpression::escape(TituloAplicacion), QRegularExpression::escape(NombrePrograma)));
    const QRegularExpression propio(QLatin1String("^\\.") + QRegularExpression::escape(destino) +
                                    QLatin1String("\\.[A-Za-z0-9]{6}$"));
    return programa.match(nombre).hasMatch() || propio.match(nombre).hasMatch();
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
// as large as the database, and the journals of those the engine was writing
// into. Never one another copy is writing (it holds it locked), nor one just
// made and not locked yet (still empty and recent).
void BorraTemporalesAbandonados(const QDir& carpeta, const QString& destino) {
    const QString diario = QStringLiteral("-journal");
    const QFileInfoList candidatos =
        carpeta.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
    for (const QFileInfo& t : candidatos) {
        // A journal goes with its temporary file, or alone once that is gone.
        if (t.fileName().endsWith(diario)) {
            const QString base = t.absoluteFilePath().chopped(diario.size());
            if (EsTemporalDeCopia(QFileInfo(base).fileName(), destino) && !QFileInfo::exists(base))
                QFile::remove(t.absoluteFilePath());
            continue;
        }
        if (!EsTemporalDeCopia(t.fileName(), destino))
            continue;
        if (t.size() == 0 && t.lastModified().secsTo(QDateTime::currentDateTime()) < 60)
            continue;
        QFile f(t.absoluteFilePath());
        if (!f.open(QIODevice::ReadOnly) || !BloqueaTemporal(f))
            continue;
        if (QFile::remove(t.absoluteFilePath())) {
            QFile::remove(t.absoluteFilePath() + diario);
            AnotaBitacora(QStringLiteral("Copia de seguridad: borrado el temporal abandonado ") + t.absoluteFilePath());
        }
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

// The data on the disk before the name points at it.
void Sincroniza(QFileDevice& f, const QString& carpeta) {
#ifdef Q_OS_WIN
    if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(f.handle()))))
        throw ErrorEscrituraCopia(carpeta, QStringLiteral("error %1").arg(GetLastError()));
#else
    if (::fsync(f.handle()) != 0)
        throw ErrorEscrituraCopia(carpeta, QString::fromLocal8Bit(std::strerror(errno)));
#endif
}

// The new name on the disk too: a power cut after the copy keeps it.
void SincronizaCarpeta(const QString& carpeta) {
#ifndef Q_OS_WIN
    const int d = ::open(QFile::encodeName(carpeta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (d >= 0) {
        ::fsync(d);
        ::close(d);
    }
#else
    Q_UNUSED(carpeta);  // the rename is written through there
#endif
}

}  // namespace

ErrorBD ErrorEscrituraCopia(const QString& carpeta, const QString& detalle) {
    // The system's own words (English) go to the log; the user reads what to check.
    AnotaBitacora(QStringLiteral("Copia de seguridad en ") + carpeta + QStringLiteral(": ") + detalle);
    return ErrorBD(CodigoCopia::Escritura, QStringLiteral("No se pudo escribir la copia en ") + carpeta +
                                               QStringLiteral(". Compruebe que queda espacio libre en el disco y que "
                                                              "puede escribir en esa carpeta."));
}

void EscribeCopiaEntera(const QString& destino, const std::function<void(const QString&)>& llena, bool comprobar,
                        const QString& permisosDe) {
    const QFileInfo info(destino);
    const QString carpeta = QDir::toNativeSeparators(info.absolutePath());
    if (!info.absoluteDir().exists())
        throw ErrorBD(CodigoCopia::SinCarpeta, QStringLiteral("No se encontró la carpeta de la copia: ") + carpeta);

    BorraTemporalesAbandonados(info.absoluteDir(), info.fileName());
    // A hidden name in the same folder, so the final rename never crosses file systems.
    QFile temporal;
    if (!AbreTemporal(info, temporal))
        throw ErrorEscrituraCopia(carpeta, temporal.errorString());
    BloqueaTemporal(temporal);
    const QString rutaTemporal = temporal.fileName();
    try {
        llena(rutaTemporal);
        Sincroniza(temporal, carpeta);
        if (comprobar)
            CompruebaBaseCompleta(rutaTemporal);
        if (!permisosDe.isEmpty() && QFileInfo::exists(permisosDe))
            QFile::setPermissions(rutaTemporal, QFile::permissions(permisosDe));
#ifdef Q_OS_WIN
        // A file still open cannot be renamed there.
        temporal.close();
#endif
        // Kept open, and so locked, until it has its final name.
        QString detalle;
        if (!ReemplazaArchivo(rutaTemporal, destino, &detalle))
            throw ErrorEscrituraCopia(carpeta, detalle);
        temporal.close();
    } catch (...) {
        temporal.close();
        QFile::remove(rutaTemporal);
        QFile::remove(rutaTemporal + QStringLiteral("-journal"));
        throw;
    }
    SincronizaCarpeta(carpeta);
}

void CopiaBytes(const QString& origen, const QString& temporal) {
    QFile fuente(origen);
    if (!fuente.open(QIODevice::ReadOnly))
        throw ErrorLectura(origen, fuente.errorString());
    QFile destino(temporal);
    const QString carpeta = QDir::toNativeSeparators(QFileInfo(temporal).absolutePath());
    if (!destino.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ErrorEscrituraCopia(carpeta, destino.errorString());
    QByteArray bloque;
    qint64 copiados = 0;
    while (!(bloque = fuente.read(1 << 20)).isEmpty()) {
        if (destino.write(bloque) != bloque.size())
            throw ErrorEscrituraCopia(carpeta, destino.errorString());
        copiados += bloque.size();
    }
    if (fuente.error() != QFileDevice::NoError)
        throw ErrorLectura(origen, fuente.errorString());
    if (copiados != fuente.size())
        throw ErrorBD(CodigoCopia::Escritura, QStringLiteral("La base de datos no se pudo leer entera."));
    if (!destino.flush())
        throw ErrorEscrituraCopia(carpeta, destino.errorString());
    destino.close();
    if (destino.error() != QFileDevice::NoError)
        throw ErrorEscrituraCopia(carpeta, destino.errorString());
}

QString NombreNuevaCopia(const QString& base) {
    const QFileInfo info(base + QStringLiteral(".mdb"));
    const QRegularExpression patron(QLatin1Char('^') + QRegularExpression::escape(QFileInfo(base).fileName()) +
                                    QStringLiteral("(?:-(\\d+))?\\.mdb$"));
    int ultima = 0;
    for (const QString& n : info.absoluteDir().entryList(QDir::Files | QDir::Hidden)) {
        const auto m = patron.match(n);
        if (m.hasMatch())
            ultima = qMax(ultima, m.captured(1).isEmpty() ? 1 : m.captured(1).toInt());
    }
    return ultima == 0 ? base + QStringLiteral(".mdb") : base + QStringLiteral("-%1.mdb").arg(ultima + 1);
}

void PodaCopiasDeSeguridad(const QString& carpeta, const QString& prefijo, int conservar) {
    const QRegularExpression patron(QLatin1Char('^') + QRegularExpression::escape(prefijo) +
                                    QStringLiteral("(\\d{8}(?:-\\d{6})?)(?:-(\\d+))?\\.mdb$"));
    struct Copia {
        QString nombre, sello;
        int numero;
    };
    std::vector<Copia> copias;
    const QDir dir(carpeta);
    for (const QString& n : dir.entryList(QDir::Files)) {
        const auto m = patron.match(n);
        if (m.hasMatch())
            copias.push_back({n, m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()});
    }
    if (static_cast<int>(copias.size()) <= conservar)
        return;
    std::sort(copias.begin(), copias.end(), [](const Copia& a, const Copia& b) {
        return a.sello != b.sello ? a.sello > b.sello : a.numero > b.numero;
    });
    const auto sana = [&dir](const Copia& c) {
        return ExaminaArchivoBD(dir.filePath(c.nombre), true).estado == EstadoArchivoBD::Valida;
    };
    bool haySana = false;
    for (int i = 0; i < conservar && !haySana; ++i)
        haySana = sana(copias[static_cast<size_t>(i)]);
    for (size_t i = static_cast<size_t>(conservar); i < copias.size(); ++i) {
        if (!haySana && sana(copias[i])) {
            haySana = true;  // the last sound one
            continue;
        }
        if (QFile::remove(dir.filePath(copias[i].nombre)))
            AnotaBitacora(QStringLiteral("Copia de seguridad antigua borrada: ") + dir.filePath(copias[i].nombre));
    }
}
