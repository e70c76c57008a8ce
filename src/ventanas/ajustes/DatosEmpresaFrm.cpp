#include "ventanas/ajustes/DatosEmpresaFrm.h"

#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Utiles.h"
#include "dominio/ajustes/DatosEmpresaLogica.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct Caja {
    const char* etiqueta;
    int longitud;
    int izquierda, arriba, ancho;
    int etiquetaIzquierda, etiquetaAncho;
};

// Index order; the tab order differs only at the postcode (see below).
const Caja kCajas[14] = {
    {"Nombre", 40, 1155, 60, 3750, 180, 945},
    {"Descripcion", 100, 1155, 420, 6330, 180, 945},
    {"CIF", 15, 1155, 780, 1680, 180, 945},
    {"Dirección", 60, 1155, 1140, 5490, 180, 945},
    {"Localidad", 30, 1155, 1500, 2850, 180, 945},
    {"Cod.  Postal", 5, 5085, 1860, 660, 4155, 900},
    {"Provincia", 30, 1155, 1860, 2850, 180, 945},
    {"Teléfono", 15, 1155, 2220, 1770, 180, 945},
    {"Fax", 15, 3420, 2220, 1470, 3075, 330},
    {"E Mail", 40, 1155, 2580, 3750, 180, 945},
    {"WEB", 40, 1155, 2940, 3750, 180, 945},
    // The activity, for the VAT books, on the right of the contact lines.
    {"Cód. Actividad", 1, 6600, 2220, 375, 5085, 1455},
    {"Tipo Actividad", 2, 6600, 2580, 375, 5085, 1455},
    {"Epígrafe IAE", 4, 6600, 2940, 600, 5085, 1455},
};
constexpr int kNumCajas = 14;

// Town, province, then the postcode to the right of the province.
const int kOrdenTab[kNumCajas] = {0, 1, 2, 3, 4, 6, 5, 7, 8, 9, 10, 11, 12, 13};

}  // namespace

DatosEmpresaFrm::DatosEmpresaFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DatosEmpresaFrm"));
    setWindowTitle(QStringLiteral("Datos de la Empresa"));
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25));
    setFixedSize(Px(7620), Px(3915));

    const QStringList columnas = ColumnasEmpresa() + ColumnasActividad();
    for (int i = 0; i < kNumCajas; ++i) {
        const Caja& c = kCajas[i];
        Lbls[i] = new QLabel(QString::fromUtf8(c.etiqueta), this);
        Lbls[i]->setObjectName(QStringLiteral("Lbls(%1)").arg(i));
        QRect r = RectTwips(c.etiquetaIzquierda, c.arriba + 45, c.etiquetaAncho, 240);
        r.setWidth(qMax(r.width(), Lbls[i]->sizeHint().width()));
        Lbls[i]->setGeometry(r);
        Txts[i] = new QLineEdit(this);
        Txts[i]->setObjectName(QStringLiteral("Txts(%1)").arg(i));
        Txts[i]->setProperty("Tag", columnas[i]);
        // The postcode takes digits only.
        if (i == 5)
            ObjUtiles().AsignaFiltro(Txts[i], Utiles::Filtro::Entero);
        // The activity's code is a capital letter, as the books write it.
        if (i == 11)
            connect(Txts[i], &QLineEdit::textEdited, Txts[i], [t = Txts[i]](const QString& texto) {
                if (texto != texto.toUpper())
                    t->setText(texto.toUpper());
            });
        ObjUtiles().LimitaCaracteres(Txts[i], c.longitud);
        Txts[i]->setGeometry(RectTwips(c.izquierda, c.arriba, c.ancho, 285));
        Txts[i]->installEventFilter(this);
        Lbls[i]->setBuddy(Txts[i]);
    }

    BtnAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    BtnAceptar->setObjectName(QStringLiteral("BtnAceptar"));
    BtnAceptar->setGeometry(RectTwips(120, 3420, 3675, 405));
    BtnAceptar->setDefault(true);
    BtnSalir = new QPushButton(QStringLiteral("&Salir"), this);
    BtnSalir->setObjectName(QStringLiteral("BtnSalir"));
    BtnSalir->setGeometry(RectTwips(3840, 3420, 3675, 405));
    BtnSalir->setAutoDefault(false);
    connect(BtnAceptar, &QPushButton::clicked, this, &DatosEmpresaFrm::BtnAceptar_Click);
    connect(BtnSalir, &QPushButton::clicked, this, &QDialog::reject);

    QWidget* anterior = Txts[kOrdenTab[0]];
    for (int k = 1; k < kNumCajas; ++k) {
        setTabOrder(anterior, Txts[kOrdenTab[k]]);
        anterior = Txts[kOrdenTab[k]];
    }
    setTabOrder(anterior, BtnAceptar);
    setTabOrder(BtnAceptar, BtnSalir);

    // Form_Load
    ObjUtiles().PreparaFormulario(this, nullptr);
    Lbls[2]->setText(QStringLiteral("CIF"));
    QStringList etiquetas;
    for (QLineEdit* t : Txts)
        etiquetas << t->property("Tag").toString();
    const CargaEmpresaPantalla carga = LeeEmpresaPantalla(etiquetas);
    faltaFila_ = !carga.hayFila;
    for (int i = 0; i < kNumCajas; ++i)
        Txts[i]->setText(carga.textos.value(i));
    Txts[0]->setFocus();
}

bool DatosEmpresaFrm::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::FocusIn)
        if (auto* t = qobject_cast<QLineEdit*>(objeto))
            ObjUtiles().EntraCampo(t);
    return QDialog::eventFilter(objeto, evento);
}

void DatosEmpresaFrm::BtnAceptar_Click() {
    if (!ObjUtiles().CompruebaTextos(this))
        return;
    QStringList textos;
    for (QLineEdit* t : Txts)
        textos << t->text();
    if (GuardaEmpresa(textos, faltaFila_))
        accept();
}
