#include "datos/postgresql/Pgpass.h"


#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString ArchivoPgpass() {
    const QString fijado = qEnvironmentVariable("PGPASSFILE");
    if (!fijado.isEmpty())
        return fijado;
#ifdef Q_OS_WIN
    return qEnvironmentVariable("APPDATA") + QStringLiteral("/postgresql/pgpass.conf");
#else
    return QDir::homePath() + QStringLiteral("/.pgpass");
#endif
}

namespace {
// ":" and "\" are written escaped in the file's fields.
QString Campo(QString t) {
    t.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    t.replace(QLatin1Char(':'), QStringLiteral("\\:"));
    return t;
}
}  // namespace

bool GuardaClavePgpass(const QString& servidor, int puerto, const QString& base, const QString& usuario,
                       const QString& clave) {
    const QString ruta = ArchivoPgpass();
    const QString prefijo = Campo(servidor.isEmpty() ? QStringLiteral("localhost") : servidor) + QLatin1Char(':') +
                            QString::number(puerto) + QLatin1Char(':') + Campo(base) + QLatin1Char(':') +
                            Campo(usuario) + QLatin1Char(':');
    QStringList lineas;
    QFile actual(ruta);
    if (actual.open(QIODevice::ReadOnly))
        for (const QString& l : QString::fromUtf8(actual.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (!l.startsWith(prefijo))
                lineas << l;
    actual.close();
    lineas << prefijo + Campo(clave);
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    // Readable by the user alone before anything is written to it: libpq
    // ignores a password file others can read.
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    f.write((lineas.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return f.commit() && QFile::setPermissions(ruta, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
