#include "ventanas/ajustes/CopiaSeguridadFrm.h"


#include "datos/BaseDatos.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/PunteroOcupado.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"
#include "dominio/copias/CopiaSeguridadLogica.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QPushButton>

CopiaSeguridadFrm::CopiaSeguridadFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CopiaSeguridadFrm"));
    setWindowTitle(QStringLiteral("Copia de Seguridad"));
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25));
    setFixedSize(Px(7980), Px(4980));

    const QString carpeta = CarpetaCopia();
    const QString origen = OrigenCopia();
    struct Nota { int indice, arriba, alto; };
    const Nota notas[] = {{0, 60, 255}, {1, 360, 435}, {2, 840, 435}, {3, 1320, 435},
                          {4, 1800, 795}, {6, 2700, 795}, {5, 3600, 435}};
    for (const Nota& n : notas) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("LblTexto(%1)").arg(n.indice));
        l->setGeometry(RectTwips(60, n.arriba, 7875, n.alto));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (n.indice == 0) {
            l->setFont(Fuente(QStringLiteral("Tahoma"), 9.75, true));
            l->setText(QStringLiteral("NOTAS para la COPIA de SEGURIDAD:"));
        } else {
            l->setFont(Fuente(QStringLiteral("Tahoma"), 8.25));
            l->setWordWrap(true);
            l->setText(NotaCopia(n.indice, carpeta, RaizCopias(origen)));
        }
        l->setTextFormat(Qt::PlainText);
        LblTexto[n.indice] = l;
    }

    LblNombre = new QLabel(this);
    LblNombre->setObjectName(QStringLiteral("LblNombre"));
    LblNombre->setGeometry(RectTwips(60, 4140, 7875, 195));
    LblNombre->setTextFormat(Qt::PlainText);
    QPalette rojo = LblNombre->palette();
    rojo.setColor(QPalette::WindowText, QColor(0xC0, 0x00, 0x00));  // &H000000C0
    LblNombre->setPalette(rojo);

    PicBtn = new QWidget(this);
    PicBtn->setObjectName(QStringLiteral("PicBtn"));
    PicBtn->setGeometry(RectTwips(0, 4485, 7980, 495));
    BtnGrabar = new QPushButton(QStringLiteral("&Realiza Copia"), PicBtn);
    BtnGrabar->setObjectName(QStringLiteral("BtnGrabar"));
    BtnGrabar->setGeometry(RectTwips(90, 0, 3885, 450));
    BtnGrabar->setDefault(true);
    BtnSalir = new QPushButton(QStringLiteral("&Salir"), PicBtn);
    BtnSalir->setObjectName(QStringLiteral("BtnSalir"));
    BtnSalir->setGeometry(RectTwips(4040, 0, 3885, 450));
    BtnSalir->setAutoDefault(false);
    connect(BtnGrabar, &QPushButton::clicked, this, &CopiaSeguridadFrm::BtnGrabar_Click);
    connect(BtnSalir, &QPushButton::clicked, this, &QDialog::reject);

    // Form_Load
    ObjUtiles().PreparaFormulario(this, VentanaPrincipal());
    nombre_ = NombreCopiaSeguridad(QDate::currentDate(), origen);
    LblNombre->setText(LineaNombreCopia(nombre_));
}

void CopiaSeguridadFrm::BtnGrabar_Click() {
    PunteroOcupado puntero;
    RealizaCopiaSeguridad(OrigenCopia(), CarpetaCopia() + nombre_, [&puntero] { puntero.Restaura(); });
}
