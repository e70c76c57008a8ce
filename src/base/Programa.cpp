#include "base/Programa.h"

#include <QDir>
#include <QStandardPaths>

QString NombrePrograma = QStringLiteral("Fiscalino");

namespace {
QString& carpetaUsuarioFijada() {
    static QString c;
    return c;
}
}  // namespace

void EstableceCarpetaDatosUsuario(const QString& carpeta) { carpetaUsuarioFijada() = carpeta; }

QString CarpetaDatosUsuario() {
    if (!carpetaUsuarioFijada().isEmpty())
        return QDir::toNativeSeparators(carpetaUsuarioFijada()) + QDir::separator();
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return QString();
    return QDir::toNativeSeparators(base + QLatin1Char('/') + NombrePrograma) + QDir::separator();
}
