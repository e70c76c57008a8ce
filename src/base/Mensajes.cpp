#include "base/Mensajes.h"

#include <QStringList>

const QString TituloAplicacion = QStringLiteral("Fiscalino");

namespace {
Presentador& presentadorActual() {
    static Presentador p;
    return p;
}
}  // namespace

Presentador InstalaPresentador(Presentador p) {
    Presentador anterior = std::move(presentadorActual());
    presentadorActual() = std::move(p);
    return anterior;
}

Respuesta MuestraMensaje(const QString& texto, Botones botones, Icono icono,
                         const QString& titulo, Respuesta porDefecto) {
    Mensaje m;
    m.texto = texto;
    m.botones = botones;
    m.icono = icono;
    m.titulo = titulo.isEmpty() ? TituloAplicacion : titulo;
    if (porDefecto == Respuesta::Aceptar && (botones == Botones::SiNo || botones == Botones::SiNoCancelar))
        porDefecto = Respuesta::Si;
    m.porDefecto = porDefecto;
    if (presentadorActual())
        return presentadorActual()(m);
    return m.porDefecto;
}

void Aviso(const QString& texto) {
    MuestraMensaje(texto, Botones::Aceptar, Icono::Informacion);
}

RegistroMensajes::RegistroMensajes() {
    anterior_ = InstalaPresentador([this](const Mensaje& m) {
        mostrados_.append(m);
        if (alMostrar_)
            alMostrar_(m);
        if (!respuestas_.isEmpty())
            return respuestas_.takeFirst();
        return m.porDefecto;
    });
}

RegistroMensajes::~RegistroMensajes() {
    InstalaPresentador(std::move(anterior_));
}

QStringList RegistroMensajes::textos() const {
    QStringList l;
    for (const Mensaje& m : mostrados_)
        l << m.texto;
    return l;
}
