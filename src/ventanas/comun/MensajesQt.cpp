#include "ventanas/comun/MensajesQt.h"

#include "base/Mensajes.h"
#include "ventanas/comun/Ventanas.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon IconoQt(Icono i) {
    switch (i) {
    case Icono::Informacion: return QMessageBox::Information;
    case Icono::Pregunta: return QMessageBox::Question;
    case Icono::Exclamacion: return QMessageBox::Warning;
    case Icono::Critico: return QMessageBox::Critical;
    case Icono::Ninguno: break;
    }
    return QMessageBox::NoIcon;
}

Respuesta MuestraCaja(const Mensaje& m) {
    QWidget* padre = QApplication::activeModalWidget();
    if (!padre)
        padre = QApplication::activeWindow();
    if (!padre)
        padre = VentanaPrincipal();
    QMessageBox caja(IconoQt(m.icono), m.titulo, m.texto, QMessageBox::NoButton, padre);
    struct Boton { Respuesta r; QMessageBox::ButtonRole rol; const char* texto; };
    QList<Boton> botones;
    switch (m.botones) {
    case Botones::Aceptar: botones = {{Respuesta::Aceptar, QMessageBox::AcceptRole, "Aceptar"}}; break;
    case Botones::AceptarCancelar:
        botones = {{Respuesta::Aceptar, QMessageBox::AcceptRole, "Aceptar"},
                   {Respuesta::Cancelar, QMessageBox::RejectRole, "Cancelar"}};
        break;
    case Botones::SiNo:
        botones = {{Respuesta::Si, QMessageBox::YesRole, "&Sí"}, {Respuesta::No, QMessageBox::NoRole, "&No"}};
        break;
    case Botones::SiNoCancelar:
        botones = {{Respuesta::Si, QMessageBox::YesRole, "&Sí"},
                   {Respuesta::No, QMessageBox::NoRole, "&No"},
                   {Respuesta::Cancelar, QMessageBox::RejectRole, "Cancelar"}};
        break;
    }
    QList<QPair<QPushButton*, Respuesta>> mapa;
    for (const Boton& b : botones) {
        QPushButton* p = caja.addButton(QString::fromUtf8(b.texto), b.rol);
        mapa.append({p, b.r});
        if (b.r == m.porDefecto)
            caja.setDefaultButton(p);
    }
    // Esc answers Cancel, or No, or OK, as the buttons allow.
    for (auto r : {Respuesta::Cancelar, Respuesta::No, Respuesta::Aceptar}) {
        bool hecho = false;
        for (auto& par : mapa)
            if (par.second == r) {
                caja.setEscapeButton(par.first);
                hecho = true;
                break;
            }
        if (hecho)
            break;
    }
    caja.exec();
    for (auto& par : mapa)
        if (caja.clickedButton() == par.first)
            return par.second;
    return m.porDefecto;
}

}  // namespace

void InstalaCajasDeMensaje() { InstalaPresentador(MuestraCaja); }
