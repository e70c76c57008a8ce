#include "base/Bitacora.h"

#include "base/Programa.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <mutex>

namespace {

// Past this size the log starts again, the previous one kept as ".1".
constexpr qint64 kTamanoMaximo = 1 << 20;

QString& archivoFijado() {
    static QString a;
    return a;
}

}  // namespace

void EstableceArchivoBitacora(const QString& ruta) { archivoFijado() = ruta; }

QString ArchivoBitacora() {
    if (!archivoFijado().isEmpty())
        return archivoFijado();
    const QString carpeta = CarpetaDatosUsuario();
    return carpeta.isEmpty() ? QString() : carpeta + NombrePrograma + QStringLiteral(".log");
}

void AnotaBitacora(const QString& texto) {
    // The whole-database check writes from its own thread.
    static std::mutex unoCadaVez;
    std::lock_guard<std::mutex> l(unoCadaVez);
    const QString ruta = ArchivoBitacora();
    if (ruta.isEmpty())
        return;
    const QFileInfo info(ruta);
    QDir().mkpath(info.absolutePath());
    if (info.exists() && info.size() > kTamanoMaximo) {
        const QString anterior = ruta + QStringLiteral(".1");
        QFile::remove(anterior);
        QFile::rename(ruta, anterior);
    }
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    // Continuation lines indented, so that each entry starts at its date.
    QString entrada = texto;
    entrada.replace(QLatin1Char('\n'), QStringLiteral("\n\t"));
    const QString linea = QDateTime::currentDateTime().toString(Qt::ISODate) + QStringLiteral("  ") + entrada +
                          QLatin1Char('\n');
    f.write(linea.toUtf8());
}
