#include "ventanas/facturas/FacturasFrm.h"

#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "dominio/facturas/Trimestres.h"
#include "ventanas/liquidacion/LiquidacionFrm.h"
#include "ventanas/listado/InfFacturasFrm.h"
#include "ventanas/comun/Formulario.h"
#include "ventanas/comun/AccesoFrm.h"
#include "ventanas/comun/EtiquetaImporte.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Lienzo.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Rejilla.h"
#include "dominio/comun/RejillaLogica.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/comun/VistaPreviaTeclas.h"
#include "ventanas/comun/BarraTrimestre.h"
#include "ventanas/facturas/FacturasDatosFrm.h"
#include "dominio/facturas/FacturasLogica.h"
#include "ventanas/comun/PunteroOcupado.h"

#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

namespace {

// Layout of the window, in twips.
constexpr int kAncho = 13200;
constexpr int kAlto = 9420;
constexpr int kAltoBarraSuperior = 645;
constexpr int kAltoBarraInferior = 525;
constexpr int kAnchoRejilla = 6480;
constexpr int kAltoRejilla = 7545;
// The least the grids keep (title included): a few rows; below it the window scrolls.
constexpr int kAltoRejillaMinimo = 2400;
constexpr int kAltoMinimo = kAlto - (kAltoRejilla - kAltoRejillaMinimo);
constexpr int kArribaRejilla = 945;
constexpr int kAltoTitulo = 270;
constexpr int kIzquierdaPagos = 60;
constexpr int kIzquierdaCobros = kAncho - 60 - kAnchoRejilla;

}  // namespace

FacturasFrm::FacturasFrm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FacturasFrm"));
    setWindowTitle(QStringLiteral("Introducción de Facturas"));
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8));
    resize(Px(kAncho), Px(kAlto));
    lienzo_ = CreaLienzo(this, QSize(Px(kAncho), Px(kAltoMinimo)));
    lienzo_->installEventFilter(this);

    // Top bar.
    Picture2 = new QWidget(lienzo_);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    barra_ = new BarraTrimestre(this, Picture2);
    Lbls = barra_->Lbls;
    TxtOb = barra_->TxtOb;
    CmbTrimestre = barra_->CmbTrimestre;
    BtnBuscar = BotonBarra(Picture2, QStringLiteral("BtnBuscar"), QStringLiteral("Buscar  (F3)"),
                           QRect(8100, 105, 1800, 435));
    BtnLiquidacion = BotonBarra(Picture2, QStringLiteral("BtnLiquidacion"), QStringLiteral("&Liquidación  (F7)"),
                                QRect(10020, 105, 2100, 435));
    barra_->alElegirTrimestre = [this] { Buscar(); };
    barra_->alIntroEnHasta = [this] { BtnBuscar->setFocus(Qt::OtherFocusReason); };

    Label1 = new QLabel(QStringLiteral("Para \"ver / modificar / borrar\" una factura haga doble click con el ratón "
                                       "sobre la misma"),
                        lienzo_);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Fuente(QStringLiteral("Tahoma"), 8, true));

    DBGridPagos = CreaRejilla(QStringLiteral("DBGridPagos"), QStringLiteral("Pagos"), ModeloPagos, titulosRejilla_[0]);
    DBGridCobros =
        CreaRejilla(QStringLiteral("DBGridCobros"), QStringLiteral("Cobros"), ModeloCobros, titulosRejilla_[1]);

    // The sums, under the VAT and total columns of each grid (ColocaControles).
    for (int i = 0; i < 4; ++i) {
        LblTotal[i] = new EtiquetaImporte(TextoFacturas::TotalInicial, lienzo_);
        LblTotal[i]->setObjectName(QStringLiteral("LblTotal(%1)").arg(i));
        LblTotal[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        LblTotal[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }

    // Bottom bar.
    Picture1 = new QWidget(lienzo_);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto boton = [&](const QString& nombre, const QString& texto, int x) {
        return BotonBarra(Picture1, nombre, texto, QRect(x, 45, 2880, 435));
    };
    BtnAceptar = boton(QStringLiteral("BtnAceptar"), QStringLiteral("&Añadir Factura  (F5)"), 60);
    BtnImprimir = boton(QStringLiteral("BtnImprimir"), QStringLiteral("&Informe  (F9)"), 3000);
    BtnCerrar = boton(QStringLiteral("BtnCerrar"), QStringLiteral("&Salir  (Esc)"), 5940);
    const QFont tahoma = Fuente(QStringLiteral("Tahoma"), 8);
    const QFont tahomaNegrita = Fuente(QStringLiteral("Tahoma"), 8, true);
    Label2 = new QLabel(QStringLiteral("Cobrado - Pagado ->"), Picture1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(tahomaNegrita);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QString dif[2] = {QStringLiteral("IVA:"), QStringLiteral("Total:")};
    for (int i = 0; i < 2; ++i) {
        LblDif[i] = new QLabel(dif[i], Picture1);
        LblDif[i]->setObjectName(QStringLiteral("LblDif(%1)").arg(i));
        LblDif[i]->setFont(tahomaNegrita);
        LblDif[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        LblDifTotal[i] = new EtiquetaImporte(TextoFacturas::DiferenciaInicial, Picture1);
        LblDifTotal[i]->setObjectName(QStringLiteral("LblDifTotal(%1)").arg(i));
        LblDifTotal[i]->setFont(tahoma);
        LblDifTotal[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    BotonesSinFoco(this, {BtnBuscar, BtnAceptar, BtnImprimir, BtnCerrar, BtnLiquidacion});
    connect(BtnBuscar, &QPushButton::clicked, this, &FacturasFrm::BtnBuscar_Click);
    connect(BtnAceptar, &QPushButton::clicked, this, &FacturasFrm::BtnAceptar_Click);
    connect(BtnImprimir, &QPushButton::clicked, this, &FacturasFrm::BtnImprimir_Click);
    connect(BtnLiquidacion, &QPushButton::clicked, this, &FacturasFrm::BtnLiquidacion_Click);
    connect(BtnCerrar, &QPushButton::clicked, this, &FacturasFrm::BtnCerrar_Click);

    // The window sees F3, F5, F7 and F9 before any of its controls, whatever the
    // shift state (Form_KeyDown); Esc is its cancel button.
    VistaPreviaTeclas(this, [this](QWidget*, QKeyEvent* k) { return Form_KeyDown(k->key()); });
    BotonCancelar(this, BtnCerrar);

    setTabOrder(TxtOb[0], CmbTrimestre);
    setTabOrder(CmbTrimestre, TxtOb[1]);
    setTabOrder(TxtOb[1], TxtOb[2]);
    setTabOrder(TxtOb[2], BtnBuscar);
    setTabOrder(BtnBuscar, BtnAceptar);
    setTabOrder(BtnAceptar, BtnImprimir);
    setTabOrder(BtnImprimir, BtnCerrar);
    setTabOrder(BtnCerrar, DBGridPagos);
    setTabOrder(DBGridPagos, DBGridCobros);
    setTabOrder(DBGridCobros, BtnLiquidacion);
    ColocaControles();
}

FacturasFrm::~FacturasFrm() { Form_Unload(); }

QSize FacturasFrm::sizeHint() const { return QSize(Px(kAncho), Px(kAlto)); }


QTableView* FacturasFrm::CreaRejilla(const QString& nombre, const QString& titulo, ModeloRegistros*& modelo,
                                     QLabel*& barra) {
    barra = new QLabel(titulo, lienzo_);
    barra->setObjectName(nombre + QStringLiteral("_Titulo"));
    barra->setAlignment(Qt::AlignCenter);
    barra->setFrameStyle(QFrame::Panel | QFrame::Raised);
    barra->setAutoFillBackground(true);
    barra->setBackgroundRole(QPalette::Button);

    auto* v = new QTableView(lienzo_);
    v->setObjectName(nombre);
    modelo = new ModeloRegistros(ColumnasModeloFacturas(), v);
    v->setModel(modelo);
    PreparaRejilla(v);
    v->setColumnWidth(0, Px(ColumnasRejillaFacturas[0].ancho));
    // Nothing reads the narrow Id from the grid; hidden, the sums line up
    // under the VAT and total columns.
    v->setColumnHidden(0, true);
    v->viewport()->installEventFilter(this);
    return v;
}

void FacturasFrm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!cargado_) {
        cargado_ = true;
        Form_Load();
    }
}

void FacturasFrm::Form_Load() {
    PunteroOcupado ocupado;
    ObjUtiles().PreparaFormularioMDI(this, VentanaPrincipal());
    FormatearRejilla(DBGridCobros, false);
    FormatearRejilla(DBGridPagos, false);
    const auto ajustes = AjustesRejillaFacturas();
    for (QTableView* rejilla : {DBGridCobros, DBGridPagos}) {
        for (const AjusteColumna& a : ajustes) {
            AlineaColumna(rejilla, a.titulo, a.alineacion);
            if (!a.formato.isEmpty())
                FormatoColumna(rejilla, a.titulo, a.formato);
        }
    }
    PonTitulosImpuesto();
    const QDate hoy = QDate::currentDate();
    TxtOb[0]->setText(QString::number(hoy.year()));
    CmbTrimestre->setCurrentIndex(TrimestreDeFecha(hoy));
    barra_->CmbTrimestre_Click();
}

void FacturasFrm::PonTitulosImpuesto() {
    for (QTableView* rejilla : {DBGridCobros, DBGridPagos}) {
        TituloColumna(rejilla, QStringLiteral("IVA"), OpcionIva);
        TituloColumna(rejilla, QStringLiteral("Importe IVA"), TituloImporteImpuesto(OpcionIva));
    }
    LblDif[0]->setText(TituloDiferenciaImpuesto(OpcionIva));
}

void FacturasFrm::ActualizaDatos() {
    if (!cargado_)
        return;
    PonTitulosImpuesto();
    // Dates half typed show nothing rather than the invoices that were there.
    if (CompruebaBusqueda(TxtOb[1]->text(), TxtOb[2]->text()) == Busqueda::Valida) {
        MuestraFacturas();
        return;
    }
    VaciaPantalla();
}

void FacturasFrm::VaciaPantalla() {
    Form_Unload();
    for (QLabel* l : LblTotal)
        l->setText(SumaVacia);
    CalculaDiferencias();
}

void FacturasFrm::closeEvent(QCloseEvent* e) {
    Form_Unload();
    QWidget::closeEvent(e);
}

void FacturasFrm::Form_Unload() {
    if (ModeloCobros)
        ModeloCobros->EstableceRegistros(nullptr);
    if (ModeloPagos)
        ModeloPagos->EstableceRegistros(nullptr);
    RsCobros.reset();
    RsPagos.reset();
}

void FacturasFrm::ColocaControles() {
    const int ancho = lienzo_->width();
    const int alto = lienzo_->height();
    Picture2->setGeometry(0, 0, ancho, Px(kAltoBarraSuperior));
    Picture1->setGeometry(0, alto - Px(kAltoBarraInferior), ancho, Px(kAltoBarraInferior));
    // Above the design size the grids share the room, so that long amounts
    // show whole; below it they are lower, down to the canvas's least height.
    const int masAncho = qMax(0, ancho - Px(kAncho));
    const int masAlto = alto - Px(kAlto);
    Label1->setGeometry(Px(kIzquierdaPagos), Px(kAltoBarraSuperior + 30), Px(kAncho - 120) + masAncho, Px(255));
    const int anchoRejilla = Px(kAnchoRejilla) + masAncho / 2;
    const int izquierdas[2] = {Px(kIzquierdaPagos), Px(kIzquierdaCobros) + masAncho - masAncho / 2};
    QTableView* rejillas[2] = {DBGridPagos, DBGridCobros};
    QVector<int> diseno;
    for (int c = 1; c < static_cast<int>(ColumnasRejillaFacturas.size()); ++c)
        diseno << Px(ColumnasRejillaFacturas[c].ancho);
    const QVector<int> anchos = RepartePixeles(diseno, masAncho / 2);
    const int arribaTotales = Px(kArribaRejilla + kAltoRejilla + 30) + masAlto;
    const int iva = ModeloPagos->ColumnaPorCampo(QStringLiteral("IMPORTE_IVA"));
    const int total = ModeloPagos->ColumnaPorCampo(QStringLiteral("IMPORTE_TOTAL"));
    for (int k = 0; k < 2; ++k) {
        QTableView* v = rejillas[k];
        titulosRejilla_[k]->setGeometry(izquierdas[k], Px(kArribaRejilla), anchoRejilla, Px(kAltoTitulo));
        v->setGeometry(izquierdas[k], Px(kArribaRejilla + kAltoTitulo), anchoRejilla,
                       Px(kAltoRejilla - kAltoTitulo) + masAlto);
        for (int c = 1; c < static_cast<int>(ColumnasRejillaFacturas.size()); ++c)
            v->setColumnWidth(c, anchos[c - 1]);
        // Each sum stands under its column.
        LblTotal[2 * k]->setGeometry(izquierdas[k] + v->columnViewportPosition(iva), arribaTotales,
                                     v->columnWidth(iva), Px(285));
        LblTotal[2 * k + 1]->setGeometry(izquierdas[k] + v->columnViewportPosition(total), arribaTotales,
                                         v->columnWidth(total), Px(285));
    }
    // The differences keep to the right edge, with half the room gained for
    // their figures and their captions moving the other half along.
    const int corrido = masAncho - masAncho / 2;
    Label2->setGeometry(Px(8940) + corrido, Px(0), Px(1920), Px(525));
    for (int i = 0; i < 2; ++i) {
        LblDif[i]->setGeometry(Px(10920) + corrido, Px(15 + 240 * i), Px(780), Px(240));
        LblDifTotal[i]->setGeometry(Px(11760) + corrido, Px(15 + 240 * i), Px(1320) + masAncho / 2, Px(240));
    }
}

bool FacturasFrm::Form_KeyDown(int tecla) {
    switch (tecla) {
    case Qt::Key_F3: BtnBuscar->click(); return true;
    case Qt::Key_F5: BtnAceptar->click(); return true;
    case Qt::Key_F7: BtnLiquidacion->click(); return true;
    case Qt::Key_F9: BtnImprimir->click(); return true;
    default: return false;
    }
}

bool FacturasFrm::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == lienzo_ && evento->type() == QEvent::Resize) {
        ColocaControles();
        return false;
    }
    // Enter presses the button that has the focus.
    if (auto* b = qobject_cast<QPushButton*>(objeto); b && evento->type() == QEvent::KeyPress &&
                                                      EsTeclaIntro(static_cast<QKeyEvent*>(evento))) {
        b->click();
        return true;
    }
    if (evento->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
        if (objeto == DBGridPagos->viewport()) {
            AbreFactura(false);
            return true;
        }
        if (objeto == DBGridCobros->viewport()) {
            AbreFactura(true);
            return true;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

void FacturasFrm::Busca() { BtnBuscar->click(); }

void FacturasFrm::BtnBuscar_Click() {
    if (!barra_->CompruebaCajaActiva())
        return;
    Buscar();
}

void FacturasFrm::Buscar() {
    if (barra_->CompruebaFechas())
        MuestraFacturas();
}

void FacturasFrm::MuestraFacturas() {
    try {
        CargaRejilla(QStringLiteral("P"));
        CargaRejilla(QStringLiteral("C"));
        CalculaDiferencias();
    } catch (const ErrorBD& e) {
        // A refresh cut short (a dropped connection) would leave one list's
        // figures beside the other's old ones: the screen shows nothing instead.
        VaciaPantalla();
        MostrarErrorBD(e);
    }
}

void FacturasFrm::CargaRejilla(const QString& tipo) {
    const bool cobros = tipo == QLatin1String("C");
    std::unique_ptr<Registros>& rs = cobros ? RsCobros : RsPagos;
    ModeloRegistros* modelo = cobros ? ModeloCobros : ModeloPagos;
    QTableView* rejilla = cobros ? DBGridCobros : DBGridPagos;
    {
        PunteroOcupado ocupado;
        modelo->EstableceRegistros(nullptr);
        rs.reset();
        rs = CargaLista(ConexionAbierta(), tipo, TxtOb[1]->text(), TxtOb[2]->text());
        modelo->EstableceRegistros(rs.get());
        if (modelo->rowCount() > 0)
            rejilla->setCurrentIndex(modelo->index(0, 1));
    }
    CalculaTotales(tipo);
}

void FacturasFrm::CalculaTotales(const QString& tipo) {
    PunteroOcupado ocupado;
    QStringList sumas;
    for (QLabel* l : LblTotal)
        sumas << l->text();
    ::CalculaTotales(ConexionAbierta(), tipo, TxtOb[1]->text(), TxtOb[2]->text(), sumas);
    const int f = PrimerIndiceSuma(tipo);
    LblTotal[f]->setText(sumas[f]);
    LblTotal[f + 1]->setText(sumas[f + 1]);
}

void FacturasFrm::CalculaDiferencias() {
    QStringList sumas;
    for (QLabel* l : LblTotal)
        sumas << l->text();
    const QStringList dif = ::CalculaDiferencias(sumas);
    LblDifTotal[0]->setText(dif[0]);
    LblDifTotal[1]->setText(dif[1]);
}

void FacturasFrm::AbreFactura(bool cobros) {
    const Registros* rs = cobros ? RsCobros.get() : RsPagos.get();
    if (!rs || rs->Fin()) {
        Aviso(TextoFacturas::NingunaSeleccionada);
        return;
    }
    QTableView* rejilla = cobros ? DBGridCobros : DBGridPagos;
    ModeloRegistros* modelo = cobros ? ModeloCobros : ModeloPagos;
    const int fila = rejilla->currentIndex().isValid() ? rejilla->currentIndex().row() : 0;
    {
        FacturasDatosFrm editor(false, modelo->TextoCampo(fila, QStringLiteral("ID")), this);
        EjecutaModal(editor);
    }
    Buscar();
}

void FacturasFrm::BtnAceptar_Click() {
    if (!barra_->CompruebaCajaActiva())
        return;
    {
        FacturasDatosFrm editor(true, QString(), this);
        EjecutaModal(editor);
    }
    Buscar();
}

bool FacturasFrm::FechasParaInforme() {
    // Nothing happens while a date is missing; the reports are guarded on every road.
    return barra_->CompruebaCajaActiva() && !TxtOb[1]->text().isEmpty() && !TxtOb[2]->text().isEmpty() &&
           ValidarAccesoInformes();
}

void FacturasFrm::BtnImprimir_Click() {
    if (!FechasParaInforme())
        return;
    MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"))->MuestraFechas(TxtOb[1]->text(), TxtOb[2]->text());
}

void FacturasFrm::BtnLiquidacion_Click() {
    if (!FechasParaInforme())
        return;
    MuestraPantalla<LiquidacionFrm>(QStringLiteral("LiquidacionFrm"))
        ->Calcula(TxtOb[0]->text(), CmbTrimestre->currentIndex(), TxtOb[1]->text(), TxtOb[2]->text());
}

void FacturasFrm::BtnCerrar_Click() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}
