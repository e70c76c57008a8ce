#include "ventanas/declaraciones/Modelo347Frm.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "dominio/declaraciones/Fichero347.h"
#include "dominio/declaraciones/Modelo347Logica.h"
#include "dominio/listado/Listado.h"
#include "informes/Modelo347Rpt.h"
#include "ventanas/comun/Formulario.h"
#include "ventanas/comun/ImpresionDocumento.h"
#include "ventanas/comun/Lienzo.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/PunteroOcupado.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/comun/VistaPreviaTeclas.h"
#include "ventanas/declaraciones/ContactoFrm.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QTableView>

namespace {

// Layout of the window, in twips.
constexpr int kAncho = 11520;
constexpr int kAlto = 8400;
constexpr int kAltoBarraSuperior = 645;
constexpr int kAltoBarraInferior = 525;
constexpr int kArribaTitulo = 700;
constexpr int kArribaAvisos = 1000;
constexpr int kAltoAvisos = 1500;  // with its caption
constexpr int kAltoTotales = 520;
// The grid is never lower than a few rows; below that the window scrolls.
constexpr int kAltoRejillaMinimo = 1500;
constexpr int kAltoRejilla = kAlto - kArribaAvisos - kAltoAvisos - kAltoTotales - kAltoBarraInferior - 180;
constexpr int kAltoMinimo = kAlto - (kAltoRejilla - kAltoRejillaMinimo);
// Columns: key, NIF, name, province, country, total, 1T..4T; the name takes what is left.
constexpr int kAnchos[] = {600, 1150, 2400, 560, 560, 1250, 1100, 1100, 1100, 1100};

const QColor kRojoAviso(160, 0, 0);

}  // namespace

Modelo347Frm::Modelo347Frm(QWidget* parent) : QWidget(parent) {
    PreparaPantalla(this, QStringLiteral("Modelo347Frm"), TextoModelo347::Titulo);
    resize(Px(kAncho), Px(kAlto));
    lienzo_ = CreaLienzo(this, QSize(Px(kAncho), Px(kAltoMinimo)));
    lienzo_->installEventFilter(this);

    Picture2 = new QWidget(lienzo_);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    LblAnio = new QLabel(QStringLiteral("Añ&o"), Picture2);
    LblAnio->setObjectName(QStringLiteral("LblAnio"));
    LblAnio->setGeometry(RectTwips(120, 180, 500, 255));
    TxtAnio = new QLineEdit(Picture2);
    TxtAnio->setObjectName(QStringLiteral("TxtAnio"));
    TxtAnio->setMaxLength(4);
    TxtAnio->setGeometry(RectTwips(660, 135, 900, 330));
    LblAnio->setBuddy(TxtAnio);
    BtnCalcular = BotonBarra(Picture2, QStringLiteral("BtnCalcular"), QStringLiteral("&Calcular  (F5)"),
                             QRect(1740, 105, 1800, 435));

    LblTitulo = Rotulo(lienzo_, QStringLiteral("LblTitulo"), TextoModelo347::Pide);

    // What must be looked into before filing, above the rows.
    LblAvisos = Rotulo(lienzo_, QStringLiteral("LblAvisos"), QStringLiteral("Avisos"));
    LstAvisos = ListaAvisos(lienzo_, QStringLiteral("LstAvisos"));

    DBGrid347 = new QTableView(lienzo_);
    DBGrid347->setObjectName(QStringLiteral("DBGrid347"));
    Modelo = RejillaRegistros(DBGrid347, Columnas347());

    LblTotales = Rotulo(lienzo_, QStringLiteral("LblTotales"));
    LblTotales->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblTotales->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Picture1 = new QWidget(lienzo_);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto boton = [&](const QString& nombre, const QString& texto, int x) {
        return BotonBarra(Picture1, nombre, texto, QRect(x, 45, 2180, 435));
    };
    BtnImprimir = boton(QStringLiteral("BtnImprimir"), QStringLiteral("&Imprimir  (F9)"), 60);
    BtnVistaPrevia = boton(QStringLiteral("BtnVistaPrevia"), QStringLiteral("Vista p&revia"), 2300);
    BtnPdf = boton(QStringLiteral("BtnPdf"), QStringLiteral("Guardar &PDF"), 4540);
    BtnFichero = boton(QStringLiteral("BtnFichero"), QStringLiteral("Archivo para la AEA&T"), 6780);
    BtnCerrar = boton(QStringLiteral("BtnCerrar"), QStringLiteral("&Salir  (Esc)"), 9020);
    for (QPushButton* b : {BtnImprimir, BtnVistaPrevia, BtnPdf, BtnFichero})
        b->setEnabled(false);

    // Enter presses the button that has the focus.
    BotonesSinFoco(this, {BtnCalcular, BtnImprimir, BtnVistaPrevia, BtnPdf, BtnFichero, BtnCerrar});
    TxtAnio->installEventFilter(this);
    connect(BtnCalcular, &QPushButton::clicked, this, &Modelo347Frm::Calcula);
    connect(BtnImprimir, &QPushButton::clicked, this, &Modelo347Frm::BtnImprimir_Click);
    connect(BtnVistaPrevia, &QPushButton::clicked, this, &Modelo347Frm::BtnVistaPrevia_Click);
    connect(BtnPdf, &QPushButton::clicked, this, &Modelo347Frm::BtnPdf_Click);
    connect(BtnFichero, &QPushButton::clicked, this, &Modelo347Frm::BtnFichero_Click);
    connect(BtnCerrar, &QPushButton::clicked, this, &Modelo347Frm::BtnCerrar_Click);

    VistaPreviaTeclas(this, [this](QWidget*, QKeyEvent* k) { return Form_KeyDown(k->key()); });
    BotonCancelar(this, BtnCerrar);

    setTabOrder(TxtAnio, BtnCalcular);
    setTabOrder(BtnCalcular, LstAvisos);
    setTabOrder(LstAvisos, DBGrid347);
    setTabOrder(DBGrid347, BtnImprimir);
    setTabOrder(BtnImprimir, BtnVistaPrevia);
    setTabOrder(BtnVistaPrevia, BtnPdf);
    setTabOrder(BtnPdf, BtnFichero);
    setTabOrder(BtnFichero, BtnCerrar);
    ColocaControles();
}

Modelo347Frm::~Modelo347Frm() { Modelo->EstableceRegistros(nullptr); }

QSize Modelo347Frm::sizeHint() const { return QSize(Px(kAncho), Px(kAlto)); }

void Modelo347Frm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (cargado_)
        return;
    cargado_ = true;
    ObjUtiles().PreparaFormularioMDI(this, VentanaPrincipal());
    // February files the year before; nothing is worked out until the user says which.
    TxtAnio->setText(QString::number(AnioPropuesto347(QDate::currentDate())));
    TxtAnio->setFocus(Qt::OtherFocusReason);
    ObjUtiles().EntraCampo(TxtAnio);
}

void Modelo347Frm::ColocaControles() {
    // The grid takes what the window gains over its design size, the names
    // the width; the bars keep to their edges.
    const int ancho = lienzo_->width();
    const int masAlto = lienzo_->height() - Px(kAlto);
    Picture2->setGeometry(0, 0, ancho, Px(kAltoBarraSuperior));
    Picture1->setGeometry(0, lienzo_->height() - Px(kAltoBarraInferior), ancho, Px(kAltoBarraInferior));
    LblTitulo->setGeometry(Px(60), Px(kArribaTitulo), ancho - Px(120), Px(255));
    LblAvisos->setGeometry(Px(60), Px(kArribaAvisos), ancho - Px(120), Px(255));
    LstAvisos->setGeometry(Px(60), Px(kArribaAvisos + 270), ancho - Px(120), Px(kAltoAvisos - 330));
    const int arribaRejilla = Px(kArribaAvisos + kAltoAvisos);
    const int altoRejilla = Px(kAltoRejilla) + masAlto;
    DBGrid347->setGeometry(Px(60), arribaRejilla, ancho - Px(120), altoRejilla);
    LblTotales->setGeometry(Px(60), arribaRejilla + altoRejilla + Px(60), ancho - Px(120), Px(kAltoTotales - 60));
    int fijos = 0;
    for (int i = 0; i < 10; ++i)
        if (i != 2)
            fijos += Px(kAnchos[i]);
    const int util =
        DBGrid347->width() - 2 * DBGrid347->frameWidth() - DBGrid347->verticalScrollBar()->sizeHint().width();
    for (int i = 0; i < 10; ++i)
        DBGrid347->setColumnWidth(i, i == 2 ? qMax(Px(kAnchos[2]), util - fijos) : Px(kAnchos[i]));
}

bool Modelo347Frm::Form_KeyDown(int tecla) {
    switch (tecla) {
    case Qt::Key_F5: BtnCalcular->click(); return true;
    case Qt::Key_F9: BtnImprimir->click(); return true;
    default: return false;
    }
}

bool Modelo347Frm::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == lienzo_ && evento->type() == QEvent::Resize) {
        ColocaControles();
        return false;
    }
    if (evento->type() == QEvent::KeyPress && EsTeclaIntro(static_cast<QKeyEvent*>(evento))) {
        // Enter in the year works the declaration out; on a button, presses it.
        if (objeto == TxtAnio) {
            BtnCalcular->click();
            return true;
        }
        if (auto* b = qobject_cast<QPushButton*>(objeto)) {
            b->click();
            return true;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

bool Modelo347Frm::Calcula() {
    QString error;
    const int anio = LeeAnioDeclaracion(TxtAnio->text(), &error);
    if (!anio) {
        MuestraMensaje(error, Botones::Aceptar, Icono::Exclamacion);
        TxtAnio->setFocus();
        TxtAnio->selectAll();
        return false;
    }
    TxtAnio->setText(QString::number(anio));
    PunteroOcupado cursor;
    try {
        // The declaration on show is replaced only once the new one is complete.
        const CabeceraEmpresa empresa = LineasEmpresa(*ConexionAbierta().AbrirRegistros(SqlDatosEmpresa()));
        auto nuevo = std::make_unique<Modelo347Rpt>(LeeModelo347(ConexionAbierta(), anio), empresa);
        auto filas = Registros347(nuevo->Datos());
        Modelo->EstableceRegistros(filas.get());
        rsFilas_ = std::move(filas);
        informe_ = std::move(nuevo);
    } catch (const ErrorBD& e) {
        cursor.Restaura();
        MostrarErrorBD(e);
        return false;
    }
    const Modelo347& m = informe_->Datos();
    LblTitulo->setText(m.Titulo());
    LstAvisos->clear();
    for (const QString& a : m.avisos) {
        auto* item = new QListWidgetItem(style()->standardIcon(QStyle::SP_MessageBoxWarning), a, LstAvisos);
        item->setForeground(kRojoAviso);
    }
    LblTotales->setText(LineasTotales347(m).join(QLatin1Char('\n')));
    ColocaControles();
    for (QPushButton* b : {BtnImprimir, BtnVistaPrevia, BtnPdf})
        b->setEnabled(true);
    BtnFichero->setEnabled(!m.filas.empty());
    return true;
}

void Modelo347Frm::BtnImprimir_Click() {
    if (informe_)
        ImprimeConDialogo(this, *informe_, QStringLiteral("Imprimir el Modelo 347"), 1, TextoModelo347::NoImpreso);
}

void Modelo347Frm::BtnVistaPrevia_Click() {
    if (!informe_)
        return;
    // A printer of its own on the one chosen, whose settings the other screens keep.
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setPrinterName(ImpresoraCompartida().printerName());
    impresora.setPageLayout(PaginaA4());
    QPrintPreviewDialog vista(&impresora, this);
    vista.setObjectName(QStringLiteral("VistaPrevia347"));
    vista.setWindowTitle(TextoModelo347::Titulo);
    connect(&vista, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { ImprimeDocumento(*informe_, *p, 0, 0, TextoModelo347::NoImpreso); });
    vista.resize(Px(9000), Px(10000));
    vista.exec();
}

void Modelo347Frm::BtnPdf_Click() {
    if (!informe_)
        return;
    const QString ruta = PideArchivoPdf(this, QStringLiteral("Guardar el Modelo 347 como PDF"),
                                        NombrePdf347(informe_->Datos().anio));
    if (!ruta.isEmpty())
        GuardaPdf(ruta);
}

bool Modelo347Frm::GuardaPdf(const QString& ruta) {
    return informe_ && GuardaPdfDocumento(*informe_, ruta, TextoModelo347::Titulo);
}

std::optional<Declarante347> Modelo347Frm::Declarante() {
    Declarante347 d;
    try {
        d = LeeDeclarante(ConexionAbierta());
    } catch (const ErrorBD& e) {
        MostrarErrorBD(e);
        return std::nullopt;
    }
    if (!PideContactoDeclaraciones(this, &d.telefono, &d.contacto))
        return std::nullopt;
    const QString falta = FaltaParaFichero(d);
    if (!falta.isEmpty()) {
        MuestraMensaje(falta, Botones::Aceptar, Icono::Exclamacion);
        return std::nullopt;
    }
    return d;
}

void Modelo347Frm::BtnFichero_Click() {
    if (!informe_)
        return;
    const auto d = Declarante();
    if (!d)
        return;
    const QString carpeta =
        CarpetaParaGuardar(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath());
    QString ruta = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar el archivo del Modelo 347"),
                                                QDir(carpeta).filePath(NombreFichero347(informe_->Datos().anio)),
                                                QStringLiteral("Archivos de texto (*.txt)"));
    if (ruta.isEmpty())
        return;
    if (!ruta.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        ruta += QStringLiteral(".txt");
    EscribeFichero(ruta, *d);
}

bool Modelo347Frm::GuardaFichero(const QString& ruta) {
    if (!informe_)
        return false;
    const auto d = Declarante();
    return d && EscribeFichero(ruta, *d);
}

bool Modelo347Frm::EscribeFichero(const QString& ruta, const Declarante347& d) {
    QString detalle;
    bool ok;
    {
        PunteroOcupado cursor;
        ok = GuardaFichero347(ruta, informe_->Datos(), d, &detalle);
    }
    if (!ok) {
        MuestraMensaje(QStringLiteral("No se ha podido guardar el archivo %1: %2").arg(QDir::toNativeSeparators(ruta), detalle),
                       Botones::Aceptar, Icono::Critico);
        return false;
    }
    Aviso(TextoFicheroGuardado347(informe_->Datos(), QDir::toNativeSeparators(ruta)));
    return true;
}

void Modelo347Frm::BtnCerrar_Click() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}
