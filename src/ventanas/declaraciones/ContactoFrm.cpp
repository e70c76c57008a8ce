#include "ventanas/declaraciones/ContactoFrm.h"

#include "base/Mensajes.h"
#include "dominio/declaraciones/Fichero347.h"
#include "dominio/parametros/Ajustes.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ContactoFrm::ContactoFrm(const QString& telefono, const QString& persona, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ContactoFrm"));
    setWindowTitle(QStringLiteral("Contacto para la Agencia Tributaria"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25));
    const int ancho = AnchoParaTitulo(this, Px(5655));
    const int extra = ancho - Px(5655);
    setFixedSize(ancho, Px(1860));

    LblTelefono = new QLabel(QStringLiteral("&Teléfono de contacto"), this);
    LblTelefono->setObjectName(QStringLiteral("LblTelefono"));
    LblTelefono->setGeometry(RectTwips(120, 180, 2100, 255));
    TxtTelefono = new QLineEdit(telefono, this);
    TxtTelefono->setObjectName(QStringLiteral("TxtTelefono"));
    TxtTelefono->setMaxLength(12);
    TxtTelefono->setGeometry(RectTwips(2280, 135, 1500, 330));
    LblTelefono->setBuddy(TxtTelefono);

    LblPersona = new QLabel(QStringLiteral("&Persona de contacto\n(apellidos y nombre)"), this);
    LblPersona->setObjectName(QStringLiteral("LblPersona"));
    LblPersona->setGeometry(RectTwips(120, 555, 2100, 480));
    TxtPersona = new QLineEdit(persona, this);
    TxtPersona->setObjectName(QStringLiteral("TxtPersona"));
    // The agency's file keeps 40 characters of it.
    TxtPersona->setMaxLength(40);
    TxtPersona->setGeometry(RectTwips(2280, 600, 3255, 330).adjusted(0, 0, extra, 0));
    LblPersona->setBuddy(TxtPersona);

    BtnAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setGeometry(RectTwips(2520, 1200, 1455, 435).translated(extra, 0));
    BtnAceptar->setDefault(true);
    BtnCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    BtnCancelar->setObjectName(QStringLiteral("BtnCancelar"));
    BtnCancelar->setGeometry(RectTwips(4080, 1200, 1455, 435).translated(extra, 0));
    BtnCancelar->setAutoDefault(false);

    setTabOrder(TxtTelefono, TxtPersona);
    setTabOrder(TxtPersona, BtnAceptar);
    setTabOrder(BtnAceptar, BtnCancelar);
    connect(BtnAceptar, &QPushButton::clicked, this, &ContactoFrm::BtnAceptar_Click);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    ObjUtiles().PreparaFormulario(this, VentanaPrincipal());
    (telefono.trimmed().isEmpty() || !persona.trimmed().isEmpty() ? TxtTelefono : TxtPersona)->setFocus();
}

QString ContactoFrm::Telefono() const { return TxtTelefono->text().trimmed(); }
QString ContactoFrm::Persona() const { return TxtPersona->text().simplified(); }

void ContactoFrm::BtnAceptar_Click() {
    // The agency calls this number: nothing is kept until it is one.
    if (!TelefonoContactoValido(Telefono())) {
        MuestraMensaje(QStringLiteral("El teléfono de contacto debe tener 9 cifras."), Botones::Aceptar,
                       Icono::Exclamacion);
        TxtTelefono->setFocus();
        return;
    }
    if (Persona().isEmpty()) {
        MuestraMensaje(QStringLiteral("Falta la persona de contacto."), Botones::Aceptar, Icono::Exclamacion);
        TxtPersona->setFocus();
        return;
    }
    accept();
}

bool PideContactoDeclaraciones(QWidget* padre, QString* telefono, QString* persona) {
    ContactoDeclaraciones c = LeeContactoDeclaraciones();
    if (!TelefonoContactoValido(c.telefono) || c.nombre.trimmed().isEmpty()) {
        ContactoFrm dlg(c.telefono, c.nombre, padre);
        if (EjecutaModal(dlg) != QDialog::Accepted)
            return false;
        c = {dlg.Telefono(), dlg.Persona()};
        GuardaContactoDeclaraciones(c);
    }
    *telefono = c.telefono;
    *persona = c.nombre;
    return true;
}
