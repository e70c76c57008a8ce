#include "dominio/parametros/Ajustes.h"

#include "base/Formatos.h"
#include "datos/BaseDatos.h"

#include <QSettings>
#include <charconv>
#include <cmath>

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

namespace {
// The text of a single-precision number: seven significant digits at most.
QString TextoSimple(double v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(static_cast<float>(v)),
                           std::chars_format::general, 7);
    double d = 0;
    std::from_chars(buf, r.ptr, d);
    return TextoNumero(d);
}
}  // namespace

EstadoVentana LeeEstadoVentana() {
    EstadoVentana v;
    v.ancho = LeeAjusteNumero(QStringLiteral("Width"), 13750);
    v.alto = LeeAjusteNumero(QStringLiteral("Height"), 11100);
    const double e = LeeAjusteNumero(QStringLiteral("Estado"), 0);
    v.estado = (e == 0 || e == 1 || e == 2) ? static_cast<int>(e) : 0;
    return v;
}

void GuardaEstadoVentana(const EstadoVentana& v) {
    GuardaAjuste(QStringLiteral("Estado"), QString::number(v.estado));
    GuardaAjuste(QStringLiteral("Width"), TextoSimple(v.ancho));
    GuardaAjuste(QStringLiteral("Height"), TextoSimple(v.alto));
}

ContactoDeclaraciones LeeContactoDeclaraciones() {
    return {LeeAjuste(QStringLiteral("TelefonoContacto"), QString()), LeeAjuste(QStringLiteral("PersonaContacto"), QString())};
}

void GuardaContactoDeclaraciones(const ContactoDeclaraciones& c) {
    GuardaAjuste(QStringLiteral("TelefonoContacto"), c.telefono);
    GuardaAjuste(QStringLiteral("PersonaContacto"), c.nombre);
}
