#include "app/Ajustes.h"

#include "app/Formatos.h"
#include "data/BaseDatos.h"

#include <QSettings>

namespace {
QString& carpetaAjustes() {
    static QString c;
    return c;
}

QString Clave(const QString& clave) { return QStringLiteral("Config/") + clave; }

QSettings* Abre() {
    if (!carpetaAjustes().isEmpty())
        return new QSettings(carpetaAjustes() + QLatin1Char('/') + NombrePrograma + QStringLiteral(".ini"),
                             QSettings::IniFormat);
    return new QSettings(QSettings::IniFormat, QSettings::UserScope, NombrePrograma, NombrePrograma);
}
}  // namespace

void EstableceCarpetaAjustes(const QString& carpeta) { carpetaAjustes() = carpeta; }

QString LeeAjuste(const QString& clave, const QString& porDefecto) {
    std::unique_ptr<QSettings> s(Abre());
    return s->value(Clave(clave), porDefecto).toString();
}

bool ExisteAjuste(const QString& clave) {
    std::unique_ptr<QSettings> s(Abre());
    return s->contains(Clave(clave));
}

void GuardaAjuste(const QString& clave, const QString& valor) {
    std::unique_ptr<QSettings> s(Abre());
    s->setValue(Clave(clave), valor);
    s->sync();
}

double LeeAjusteNumero(const QString& clave, double porDefecto) {
    auto v = LeeNumero(LeeAjuste(clave, QString()));
    return v ? *v : porDefecto;
}
