#include "ventanas/ajustes/ParametrosFrm.h"

#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/ajustes/BaseDatosFrm.h"
#include "dominio/ajustes/ParametrosLogica.h"

#include "dominio/copias/CopiasAutomaticas.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const int kBlancos = 24;
const QString kAntesDeBlancos = QStringLiteral("Opción IVA: sustituir la palabra \"IVA\" por");
const QString kTrasBlancos = QStringLiteral("(por ejemplo IGIC)");

}  // namespace

QString ParametrosFrm::TextoOpcionIva() {
    return kAntesDeBlancos + QString(kBlancos, QLatin1Char(' ')) + kTrasBlancos;
}

ParametrosFrm::ParametrosFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ParametrosFrm"));
    setWindowTitle(QStringLiteral("Configuración de la Aplicación"));
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25));

    const QString etiquetas[5] = {QStringLiteral("Palabra Clave"), QStringLiteral("Repetir Palabra Clave"),
                                  QStringLiteral("Porcentaje del IVA por defecto"), TextoOpcionIva(),
                                  QStringLiteral("Frase al final del informe impreso (opcional)")};
    const QString tags[5] = {QStringLiteral("PALABRA_CLAVE"), QStringLiteral("PALABRA_CLAVE"), QStringLiteral("IVA"),
                             QStringLiteral("OPCION_IVA"), QStringLiteral("FRASE_FINAL")};
    for (int i = 0; i < 5; ++i) {
        Lbls[i] = new QLabel(etiquetas[i], this);
        Lbls[i]->setObjectName(QStringLiteral("Lbls(%1)").arg(i));
        Lbls[i]->setTextFormat(Qt::PlainText);
    }
    for (int i = 0; i < 4; ++i) {
        Txts[i] = new QLineEdit(this);
        Txts[i]->setObjectName(QStringLiteral("Txts(%1)").arg(i));
        Txts[i]->setProperty("Tag", tags[i]);
        Txts[i]->installEventFilter(this);
    }
    TxtFrase = new QPlainTextEdit(this);
    TxtFrase->setObjectName(QStringLiteral("Txts(4)"));
    TxtFrase->setProperty("Tag", tags[4]);
    TxtFrase->setFont(Fuente(QStringLiteral("Arial"), 8.25));
    TxtFrase->setTabChangesFocus(true);
    TxtFrase->installEventFilter(this);

    // Password boxes show "*" for every character, whatever the style's own mark.
    for (int i = 0; i < 2; ++i) {
        ObjUtiles().LimitaCaracteres(Txts[i], 10);
        Txts[i]->setEchoMode(QLineEdit::Password);
        Txts[i]->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    }
    Txts[0]->setToolTip(QStringLiteral("La clave que aquí se escriba se empleará para acceder a pantallas restringidas"));
    Txts[1]->setToolTip(QStringLiteral("Debe coincidir con la palabra clave"));
    Txts[2]->setMaxLength(2);
    Txts[2]->setToolTip(QStringLiteral("En la pantalla de Ventas, la cantidad que se muestra por defecto"));
    ObjUtiles().AsignaFiltro(Txts[2], Utiles::Filtro::Entero);
    ObjUtiles().LimitaCaracteres(Txts[3], 8);
    Txts[3]->setToolTip(QStringLiteral(
        "En las Islas Canarias o en otros países no existe el IVA, pero existe otro impuesto similar. Escribir aquí "
        "la palabra que debe aparecer en lugar de IVA (8 letras)"));
    TxtFrase->setToolTip(
        QStringLiteral("Frase que puede imprimir al final del informe si lo desea, 100 caracteres máximo"));
    Lbls[1]->setEnabled(false);
    Txts[1]->setEnabled(false);

    LblCopias = new QLabel(QStringLiteral("Copias automáticas al salir (0: ninguna)"), this);
    LblCopias->setObjectName(QStringLiteral("LblCopias"));
    LblCopias->setTextFormat(Qt::PlainText);
    TxtCopias = new QLineEdit(this);
    TxtCopias->setObjectName(QStringLiteral("TxtCopias"));
    TxtCopias->setMaxLength(2);
    TxtCopias->setToolTip(QStringLiteral("Cuántas copias diarias de la base de datos se guardan en la carpeta de las "
                                         "copias de seguridad al salir del programa; con 0 no se hace ninguna"));
    ObjUtiles().AsignaFiltro(TxtCopias, Utiles::Filtro::Entero);
    TxtCopias->installEventFilter(this);

    FraRest = new QGroupBox(
        QStringLiteral("Restringir el acceso mediante la Palabra Clave a las siguientes pantallas"), this);
    FraRest->setObjectName(QStringLiteral("FraRest"));
    FraRest->setToolTip(
        QStringLiteral("Permite visualizar los totales de ventas en el cierre de caja o impedir que se vean"));
    const QString textosChk[2] = {QStringLiteral("Facturas"), QStringLiteral("Informes")};
    const QString tagsChk[2] = {QStringLiteral("ACCESO_FACTURAS"), QStringLiteral("ACCESO_INFORMES")};
    for (int i = 0; i < 2; ++i) {
        ChkRest[i] = new QCheckBox(textosChk[i], FraRest);
        ChkRest[i]->setObjectName(QStringLiteral("ChkRest(%1)").arg(i));
        ChkRest[i]->setProperty("Tag", tagsChk[i]);
        ChkRest[i]->setToolTip(QStringLiteral("Marque la casilla si desea restringir el acceso a esta pantalla"));
    }

    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    BtnGrabar = new QPushButton(QStringLiteral("&Grabar"), Picture1);
    BtnGrabar->setObjectName(QStringLiteral("BtnGrabar"));
    BtnSalir = new QPushButton(QStringLiteral("&Salir"), Picture1);
    BtnSalir->setObjectName(QStringLiteral("BtnSalir"));
    // No default button: Enter means nothing here, and a new line in the phrase.
    BtnGrabar->setAutoDefault(false);
    BtnSalir->setAutoDefault(false);
    // Which database the program uses: the file here or a server.
    BtnBaseDatos = new QPushButton(QStringLiteral("&Base de datos..."), Picture1);
    BtnBaseDatos->setObjectName(QStringLiteral("BtnBaseDatos"));
    BtnBaseDatos->setAutoDefault(false);
    connect(BtnBaseDatos, &QPushButton::clicked, this, [this] {
        BaseDatosFrm dlg(this);
        EjecutaModal(dlg);
    });
    connect(BtnGrabar, &QPushButton::clicked, this, &ParametrosFrm::BtnGrabar_Click);
    connect(BtnSalir, &QPushButton::clicked, this, &QDialog::reject);

    // Layout, top to bottom.
    const int m = Px(120);
    const int alto = Px(285);
    const int hueco = Px(90);
    auto etiqueta = [&](QLabel* l, int x, int y) {
        l->setGeometry(x, y, l->sizeHint().width(), alto);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return x + l->width();
    };
    int y = m;
    int x = etiqueta(Lbls[0], m, y) + hueco;
    Txts[0]->setGeometry(x, y, Px(1500), alto);
    x = etiqueta(Lbls[1], Txts[0]->geometry().right() + 1 + Px(240), y) + hueco;
    Txts[1]->setGeometry(x, y, Px(1500), alto);
    const int anchoFila1 = Txts[1]->geometry().right() + 1 + m;

    // The tax word's box stands over the blanks of its label.
    const QFontMetrics fm(Lbls[3]->font());
    const int anchoEtiqueta3 = fm.horizontalAdvance(Lbls[3]->text());
    const int ancho = qMax(qMax(Px(7200), anchoFila1), m + anchoEtiqueta3 + m);

    y += alto + m;
    const int altoMarco = Px(735);
    FraRest->setGeometry(m, y, ancho - 2 * m, altoMarco);
    ChkRest[0]->setGeometry(Px(240), Px(330), Px(1800), Px(285));
    ChkRest[1]->setGeometry(Px(2400), Px(330), Px(1800), Px(285));

    y += altoMarco + m;
    x = etiqueta(Lbls[2], m, y) + hueco;
    Txts[2]->setGeometry(x, y, Px(420), alto);
    x = etiqueta(LblCopias, Txts[2]->geometry().right() + 1 + Px(600), y) + hueco;
    TxtCopias->setGeometry(x, y, Px(420), alto);

    y += alto + m;
    Lbls[3]->setGeometry(m, y, anchoEtiqueta3 + 2, alto);
    Lbls[3]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int inicioBlancos = fm.horizontalAdvance(kAntesDeBlancos);
    const int anchoBlancos = fm.horizontalAdvance(QString(kBlancos, QLatin1Char(' ')));
    Txts[3]->setGeometry(m + inicioBlancos + 2, y, anchoBlancos - 4, alto);
    Txts[3]->raise();

    y += alto + m;
    etiqueta(Lbls[4], m, y);
    y += alto;
    const int altoFrase = Px(855);
    TxtFrase->setGeometry(m, y, ancho - 2 * m, altoFrase);

    y += altoFrase + m;
    const int altoBarra = Px(495);
    Picture1->setGeometry(0, y, ancho, altoBarra);
    const int anchoBoton = (ancho - 4 * m) / 3;
    BtnGrabar->setGeometry(m, Px(30), anchoBoton, altoBarra - Px(60));
    BtnSalir->setGeometry(2 * m + anchoBoton, Px(30), anchoBoton, altoBarra - Px(60));
    BtnBaseDatos->setGeometry(3 * m + 2 * anchoBoton, Px(30), anchoBoton, altoBarra - Px(60));
    setFixedSize(ancho, y + altoBarra);

    setTabOrder(Txts[0], Txts[1]);
    setTabOrder(Txts[1], Txts[2]);
    setTabOrder(Txts[2], TxtCopias);
    setTabOrder(TxtCopias, Txts[3]);
    setTabOrder(Txts[3], TxtFrase);
    setTabOrder(TxtFrase, BtnGrabar);
    setTabOrder(BtnGrabar, BtnSalir);
    setTabOrder(BtnSalir, BtnBaseDatos);
    setTabOrder(BtnBaseDatos, ChkRest[0]);
    setTabOrder(ChkRest[0], ChkRest[1]);

    // Form_Load
    ObjUtiles().PreparaFormulario(this, nullptr);
    Carga();
    Txts[0]->setFocus();
}

void ParametrosFrm::Carga() {
    QStringList tagsTxts;
    for (QLineEdit* t : Txts)
        tagsTxts << t->property("Tag").toString();
    tagsTxts << TxtFrase->property("Tag").toString();
    QStringList tagsChk;
    for (QCheckBox* c : ChkRest)
        tagsChk << c->property("Tag").toString();

    const CargaParametrosPantalla carga = LeeParametrosPantalla(tagsTxts, tagsChk);
    faltaFila_ = !carga.hayFila;
    for (int i = 0; i < 4; ++i)
        Txts[i]->setText(carga.textos.value(i));
    TxtFrase->setPlainText(carga.textos.value(4));
    for (int i = 0; i < 2; ++i)
        ChkRest[i]->setChecked(carga.marcas.value(i));
    if (Txts[0]->text().isEmpty())
        AbreRepeticion(true);
    TxtCopias->setText(QString::number(CopiasAutomaticas()));

    connect(Txts[0], &QLineEdit::textChanged, this, [this](const QString& t) {
        if (t.isEmpty())
            AbreRepeticion(true);
    });
    // Any change the user makes to the password (a paste, Delete) opens the
    // repeat box too, so a changed password can always be repeated.
    connect(Txts[0], &QLineEdit::textEdited, this, [this] { AbreRepeticion(false); });
    // On the first run the proposed percentage follows the tax word.
    if (faltaFila_) {
        palabraAnterior_ = Txts[3]->text();
        connect(Txts[3], &QLineEdit::textEdited, this, [this](const QString& palabra) {
            if (const auto p = PorcentajePropuesto(Txts[2]->text(), palabraAnterior_, palabra))
                Txts[2]->setText(*p);
            palabraAnterior_ = palabra;
        });
    }
}

void ParametrosFrm::AbreRepeticion(bool vaciar) {
    Lbls[1]->setEnabled(true);
    Txts[1]->setEnabled(true);
    if (vaciar)
        Txts[1]->clear();
}

bool ParametrosFrm::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::FocusIn) {
        if (auto* t = qobject_cast<QLineEdit*>(objeto))
            ObjUtiles().EntraCampo(t);
        else if (objeto == TxtFrase)
            TxtFrase->selectAll();
    } else if (evento->type() == QEvent::KeyPress && objeto == Txts[0]) {
        // Typed characters and Backspace; moving through with Tab or leaving with Esc does not count.
        auto* k = static_cast<QKeyEvent*>(evento);
        const bool paso = k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab || k->key() == Qt::Key_Escape;
        if (!paso && (!k->text().isEmpty() || k->key() == Qt::Key_Backspace))
            AbreRepeticion(false);
    }
    return QDialog::eventFilter(objeto, evento);
}

void ParametrosFrm::BtnGrabar_Click() {
    if (!ObjUtiles().CompruebaTextos(this))
        return;
    ValoresParametros v;
    v.clave = Txts[0]->text();
    v.repeticion = Txts[1]->text();
    v.iva = Txts[2]->text();
    v.opcionIva = Txts[3]->text();
    v.frase = TxtFrase->toPlainText();
    v.accesoFacturas = ChkRest[0]->isChecked();
    v.accesoInformes = ChkRest[1]->isChecked();
    v.copias = TxtCopias->text();
    if (GuardaParametros(v, faltaFila_, Lbls[2]->text(), Lbls[3]->text(), LblCopias->text()))
        accept();
}
