#include "ventanas/comun/AccesoFrm.h"

#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QString ClaveEsperada;
bool AccesoConcedido = false;

bool ValidarAcceso() {
    ClaveEsperada = PalabraClave;
    if (ClaveEsperada.isEmpty())
        return true;
    {
        AccesoFrm dlg(VentanaPrincipal());
        EjecutaModal(dlg);
    }
    bool resultado = AccesoConcedido;
    AccesoConcedido = false;
    return resultado;
}

bool ValidarAccesoFacturas() { return !AccesoFacturas || ValidarAcceso(); }
bool ValidarAccesoInformes() { return !AccesoInformes || ValidarAcceso(); }

AccesoFrm::AccesoFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AccesoFrm"));
    setWindowTitle(QStringLiteral("Introducir la CLAVE de ACCESO"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25));
    // Wide enough for the frame to show the whole title; what it adds goes to
    // the password box, and the buttons keep to the right edge.
    const int ancho = AnchoParaTitulo(this, Px(4215));
    const int extra = ancho - Px(4215);
    setFixedSize(ancho, Px(1395));

    Label1 = new QLabel(QStringLiteral("Contraseña"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(RectTwips(120, 180, 1095, 255));

    TxtClave = new QLineEdit(this);
    TxtClave->setObjectName(QStringLiteral("TxtClave"));
    TxtClave->setMaxLength(20);
    TxtClave->setEchoMode(QLineEdit::Password);
    // The box shows "*" for every character, as the rest of the program's password boxes.
    TxtClave->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    TxtClave->setGeometry(RectTwips(1260, 135, 2775, 330).adjusted(0, 0, extra, 0));

    BtnAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setGeometry(RectTwips(915, 720, 1455, 435).translated(extra, 0));
    BtnAceptar->setDefault(true);
    BtnAceptar->setAutoDefault(true);

    BtnCancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setGeometry(RectTwips(2580, 720, 1455, 435).translated(extra, 0));
    BtnCancel->setAutoDefault(false);

    setTabOrder(TxtClave, BtnAceptar);
    setTabOrder(BtnAceptar, BtnCancel);

    connect(BtnAceptar, &QPushButton::clicked, this, &AccesoFrm::BtnAceptar_Click);
    connect(BtnCancel, &QPushButton::clicked, this, &AccesoFrm::BtnCancel_Click);

    ObjUtiles().PreparaFormulario(this, VentanaPrincipal());
}

void AccesoFrm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Each check starts with an empty box.
    TxtClave->clear();
    TxtClave->setFocus();
}

void AccesoFrm::BtnAceptar_Click() {
    if (TxtClave->text() != ClaveEsperada) {
        MuestraMensaje(QStringLiteral("Contraseña no válida, vuelva a intentarlo."));
        TxtClave->setFocus();
        // Home, then Shift+End: the next key typed replaces the wrong password.
        TxtClave->home(false);
        TxtClave->end(true);
        return;
    }
    AccesoConcedido = true;
    accept();
}

void AccesoFrm::BtnCancel_Click() {
    AccesoConcedido = false;
    reject();
}
