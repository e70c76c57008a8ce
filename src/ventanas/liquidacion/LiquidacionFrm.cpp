#include "ventanas/liquidacion/LiquidacionFrm.h"

#include "dominio/parametros/Parametros.h"
#include "ventanas/comun/Formulario.h"
#include "ventanas/comun/ImpresionDocumento.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "dominio/facturas/Trimestres.h"
#include "dominio/liquidacion/LiquidacionLogica.h"
#include "informes/LiquidacionRpt.h"
#include "ventanas/comun/Lienzo.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/PunteroOcupado.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/comun/VistaPreviaTeclas.h"
#include "ventanas/comun/BarraTrimestre.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

namespace {

// Layout of the window, in twips.
constexpr int kAncho = 10080;
constexpr int kAlto = 9000;
constexpr int kAltoBarraSuperior = 645;
constexpr int kAltoBarraInferior = 525;
constexpr int kArribaTitulo = 700;
constexpr int kArribaRejilla = 1000;
constexpr int kAltoAvisos = 1900;
constexpr int kAltoIncompletas = 1300;  // with its caption
constexpr int kAnchosCasilla = 900;
constexpr int kAnchoConcepto = 6000;
constexpr int kAnchoImporte = 1900;
// The grid is never lower than a few boxes; below that the window scrolls.
constexpr int kAltoRejillaMinimo = 1800;
constexpr int kAltoRejilla = kAlto - kArribaRejilla - kAltoAvisos - kAltoBarraInferior - 390;
constexpr int kAltoMinimo = kAlto - (kAltoRejilla - kAltoRejillaMinimo);

const QColor kRojoAviso(160, 0, 0);

}  // namespace

LiquidacionFrm::LiquidacionFrm(QWidget* parent) : QWidget(parent) {
    PreparaPantalla(this, QStringLiteral("LiquidacionFrm"), TextoLiquidacion::Titulo);
    resize(Px(kAncho), Px(kAlto));
    lienzo_ = CreaLienzo(this, QSize(Px(kAncho), Px(kAltoMinimo)));
    lienzo_->installEventFilter(this);

    // Top bar: the quarter browser's, with the calculation in place of the search.
    Picture2 = new QWidget(lienzo_);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    barra_ = new BarraTrimestre(this, Picture2);
    TxtOb = barra_->TxtOb;
    CmbTrimestre = barra_->CmbTrimestre;
    BtnCalcular = BotonBarra(Picture2, QStringLiteral("BtnCalcular"), QStringLiteral("&Calcular  (F5)"),
                             QRect(8100, 105, 1800, 435));

    LblTitulo = Rotulo(lienzo_, QStringLiteral("LblTitulo"), TextoLiquidacion::Pide);

    // The incomplete invoices, above the boxes they leave short; only when there are some.
    LblIncompletas = Rotulo(lienzo_, QStringLiteral("LblIncompletas"), QStringLiteral("Facturas incompletas"));
    LstIncompletas = ListaAvisos(lienzo_, QStringLiteral("LstIncompletas"));
    LblIncompletas->hide();
    LstIncompletas->hide();

    DBGridCasillas = new QTableView(lienzo_);
    DBGridCasillas->setObjectName(QStringLiteral("DBGridCasillas"));
    ModeloCasillas = RejillaRegistros(DBGridCasillas, ColumnasCasillas());

    LblAvisos = Rotulo(lienzo_, QStringLiteral("LblAvisos"), QStringLiteral("Avisos y comprobaciones"));
    LstAvisos = ListaAvisos(lienzo_, QStringLiteral("LstAvisos"));

    // Bottom bar.
    Picture1 = new QWidget(lienzo_);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto boton = [&](const QString& nombre, const QString& texto, int x) {
        return BotonBarra(Picture1, nombre, texto, QRect(x, 45, 2880, 435));
    };
    BtnImprimir = boton(QStringLiteral("BtnImprimir"), QStringLiteral("&Imprimir  (F9)"), 60);
    BtnPdf = boton(QStringLiteral("BtnPdf"), QStringLiteral("Guardar &PDF"), 3000);
    BtnCerrar = boton(QStringLiteral("BtnCerrar"), QStringLiteral("&Salir  (Esc)"), 5940);
    BtnImprimir->setEnabled(false);
    BtnPdf->setEnabled(false);

    BotonesSinFoco(this, {BtnCalcular, BtnImprimir, BtnPdf, BtnCerrar});
    connect(BtnCalcular, &QPushButton::clicked, this, &LiquidacionFrm::BtnCalcular_Click);
    connect(BtnImprimir, &QPushButton::clicked, this, &LiquidacionFrm::BtnImprimir_Click);
    connect(BtnPdf, &QPushButton::clicked, this, &LiquidacionFrm::BtnPdf_Click);
    connect(BtnCerrar, &QPushButton::clicked, this, &LiquidacionFrm::BtnCerrar_Click);
    barra_->alElegirTrimestre = [this] { Muestra(); };
    // Enter in the last date works the return out.
    barra_->alIntroEnHasta = [this] { BtnCalcular->click(); };

    VistaPreviaTeclas(this, [this](QWidget*, QKeyEvent* k) { return Form_KeyDown(k->key()); });
    BotonCancelar(this, BtnCerrar);

    setTabOrder(TxtOb[0], CmbTrimestre);
    setTabOrder(CmbTrimestre, TxtOb[1]);
    setTabOrder(TxtOb[1], TxtOb[2]);
    setTabOrder(TxtOb[2], BtnCalcular);
    setTabOrder(BtnCalcular, LstIncompletas);
    setTabOrder(LstIncompletas, DBGridCasillas);
    setTabOrder(DBGridCasillas, LstAvisos);
    setTabOrder(LstAvisos, BtnImprimir);
    setTabOrder(BtnImprimir, BtnPdf);
    setTabOrder(BtnPdf, BtnCerrar);
    ColocaControles();
}

LiquidacionFrm::~LiquidacionFrm() { ModeloCasillas->EstableceRegistros(nullptr); }

QSize LiquidacionFrm::sizeHint() const { return QSize(Px(kAncho), Px(kAlto)); }

void LiquidacionFrm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!cargado_) {
        cargado_ = true;
        Form_Load();
    }
}

void LiquidacionFrm::Form_Load() {
    ObjUtiles().PreparaFormularioMDI(this, VentanaPrincipal());
    // It asks for the quarter to declare: the last one ended, until the user says otherwise.
    const PeriodoPropuesto p = UltimoTrimestreTerminado(QDate::currentDate());
    TxtOb[0]->setText(p.anio);
    CmbTrimestre->setCurrentIndex(p.trimestre);
    const auto r = FechasTrimestre(p.trimestre, p.anio);
    TxtOb[1]->setText(r->desde);
    TxtOb[2]->setText(r->hasta);
    // The year box may have had the focus before it had the year: selected
    // now, what the user types replaces it.
    TxtOb[0]->setFocus(Qt::OtherFocusReason);
    ObjUtiles().EntraCampo(TxtOb[0]);
}

void LiquidacionFrm::ColocaControles() {
    // The grid takes what the window gains over its design size, its
    // concepts the width, and gives back what it lacks down to the canvas's
    // least height; the bars keep to their edges.
    const int ancho = lienzo_->width();
    const int masAlto = lienzo_->height() - Px(kAlto);
    Picture2->setGeometry(0, 0, ancho, Px(kAltoBarraSuperior));
    Picture1->setGeometry(0, lienzo_->height() - Px(kAltoBarraInferior), ancho, Px(kAltoBarraInferior));
    LblTitulo->setGeometry(Px(60), Px(kArribaTitulo), ancho - Px(120), Px(255));
    int arribaRejilla = Px(kArribaRejilla);
    int altoRejilla = Px(kAltoRejilla) + masAlto;
    if (!LstIncompletas->isHidden()) {
        LblIncompletas->setGeometry(Px(60), arribaRejilla, ancho - Px(120), Px(255));
        LstIncompletas->setGeometry(Px(60), arribaRejilla + Px(270), ancho - Px(120), Px(kAltoIncompletas - 330));
        arribaRejilla += Px(kAltoIncompletas);
        altoRejilla -= Px(kAltoIncompletas);
    }
    DBGridCasillas->setGeometry(Px(60), arribaRejilla, ancho - Px(120), altoRejilla);
    const int arribaAvisos = arribaRejilla + altoRejilla + Px(60);
    LblAvisos->setGeometry(Px(60), arribaAvisos, ancho - Px(120), Px(255));
    LstAvisos->setGeometry(Px(60), arribaAvisos + Px(270), ancho - Px(120), Px(kAltoAvisos - 270));
    // The concepts take what the numbers and amounts leave.
    const int util = DBGridCasillas->width() - 2 * DBGridCasillas->frameWidth() -
                     DBGridCasillas->verticalScrollBar()->sizeHint().width();
    DBGridCasillas->setColumnWidth(0, Px(kAnchosCasilla));
    DBGridCasillas->setColumnWidth(1, qMax(Px(kAnchoConcepto), util - Px(kAnchosCasilla + kAnchoImporte)));
    DBGridCasillas->setColumnWidth(2, Px(kAnchoImporte));
}

bool LiquidacionFrm::Form_KeyDown(int tecla) {
    switch (tecla) {
    case Qt::Key_F5: BtnCalcular->click(); return true;
    case Qt::Key_F9: BtnImprimir->click(); return true;
    default: return false;
    }
}

bool LiquidacionFrm::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == lienzo_ && evento->type() == QEvent::Resize) {
        ColocaControles();
        return false;
    }
    // Enter presses the button that has the focus.
    if (auto* b = qobject_cast<QPushButton*>(objeto);
        b && evento->type() == QEvent::KeyPress && EsTeclaIntro(static_cast<QKeyEvent*>(evento))) {
        b->click();
        return true;
    }
    return QWidget::eventFilter(objeto, evento);
}

void LiquidacionFrm::Calcula(const QString& anio, int trimestre, const QString& desde, const QString& hasta) {
    TxtOb[0]->setText(anio);
    CmbTrimestre->setCurrentIndex(trimestre);
    TxtOb[1]->setText(desde);
    TxtOb[2]->setText(hasta);
    Muestra();
}

void LiquidacionFrm::BtnCalcular_Click() {
    if (barra_->CompruebaCajaActiva())
        Muestra();
}

void LiquidacionFrm::Muestra() {
    if (!barra_->CompruebaFechas())
        return;
    PunteroOcupado cursor;
    try {
        // The return on show is replaced only once the new one is complete.
        const CabeceraEmpresa empresa = LineasEmpresa(*ConexionAbierta().AbrirRegistros(SqlDatosEmpresa()));
        auto nuevo = std::make_unique<LiquidacionRpt>(
            LeeLiquidacion(ConexionAbierta(), TxtOb[1]->text(), TxtOb[2]->text(), OpcionIva), empresa);
        auto filas = RegistrosCasillas(nuevo->Datos());
        ModeloCasillas->EstableceRegistros(filas.get());
        rsCasillas_ = std::move(filas);
        informe_ = std::move(nuevo);
    } catch (const ErrorBD& e) {
        cursor.Restaura();
        MostrarErrorBD(e);
        return;
    }
    const Liquidacion& l = informe_->Datos();
    LblTitulo->setText(l.Titulo());
    auto llena = [this](QListWidget* lista, const std::vector<Liquidacion::Aviso>& avisos) {
        lista->clear();
        for (const Liquidacion::Aviso& a : avisos) {
            auto* item = new QListWidgetItem(
                style()->standardIcon(a.advertencia ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation),
                a.texto, lista);
            if (a.advertencia)
                item->setForeground(kRojoAviso);
        }
    };
    llena(LstIncompletas, l.AvisosPrevios());
    llena(LstAvisos, l.Avisos());
    LblIncompletas->setVisible(LstIncompletas->count() > 0);
    LstIncompletas->setVisible(LstIncompletas->count() > 0);
    ColocaControles();
    BtnImprimir->setEnabled(true);
    BtnPdf->setEnabled(true);
}

void LiquidacionFrm::BtnImprimir_Click() {
    if (informe_)
        ImprimeConDialogo(this, *informe_, QStringLiteral("Imprimir la liquidación"), 1, TextoLiquidacion::NoImpresa);
}

void LiquidacionFrm::BtnPdf_Click() {
    if (!informe_)
        return;
    const QString ruta = PideArchivoPdf(this, QStringLiteral("Guardar la liquidación como PDF"),
                                        NombrePdfLiquidacion(informe_->Datos()));
    if (!ruta.isEmpty())
        GuardaPdf(ruta);
}

bool LiquidacionFrm::GuardaPdf(const QString& ruta) {
    return informe_ && GuardaPdfDocumento(*informe_, ruta, TextoLiquidacion::Titulo);
}

void LiquidacionFrm::BtnCerrar_Click() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}
