#include "base/Archivos.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

bool ReemplazaArchivo(const QString& temporal, const QString& destino, QString* detalle) {
#ifdef Q_OS_WIN
    if (MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(temporal).utf16()),
                    reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(destino).utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    if (detalle)
        *detalle = QStringLiteral("error %1").arg(GetLastError());
    return false;
#else
    if (std::rename(QFile::encodeName(temporal).constData(), QFile::encodeName(destino).constData()) == 0)
        return true;
    if (detalle)
        *detalle = QString::fromLocal8Bit(std::strerror(errno));
    return false;
#endif
}

bool EscribeArchivoEntero(const QString& ruta, const QByteArray& datos, QString* detalle) {
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || f.write(datos) != datos.size() || !f.commit()) {
        if (detalle)
            *detalle = f.errorString();
        return false;
    }
    return true;
}
