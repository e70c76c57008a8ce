#include "ventanas/listado/InfFacturasFrm.h"


#include "ventanas/comun/Formulario.h"
#include "ventanas/comun/ImpresionDocumento.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "dominio/facturas/Trimestres.h"
#include "informes/FacturasRpt.h"
#include "dominio/listado/Listado.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/PunteroOcupado.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/comun/VistaPreviaTeclas.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {


const double kVisorArriba = 420;
const double kVisorIzquierda = 0;

QAction* Accion(QToolBar* barra, const QString& nombre, const QString& texto, const QString& icono,
                const QString& consejo) {
    QAction* a = barra->addAction(QIcon::fromTheme(icono), texto);
    a->setObjectName(nombre);
    a->setToolTip(consejo);
    return a;
}

}  // namespace

InfFacturasFrm::InfFacturasFrm(QWidget* parent) : QWidget(parent) {
    PreparaPantalla(this, QStringLiteral("InfFacturasFrm"), QStringLiteral("Listado de Facturas entre Fechas"));

    const QString textos[2] = {QStringLiteral("Desde Fecha"), QStringLiteral("Hasta Fecha")};
    const double lblX[2] = {60, 2520};
    const double txtX[2] = {1140, 3600};
    QPalette amarillo = palette();
    amarillo.setColor(QPalette::Base, QColor(255, 255, 230));  // &H00E6FFFF
    for (int i = 0; i < 2; ++i) {
        LblOb[i] = new QLabel(textos[i], this);
        LblOb[i]->setObjectName(QStringLiteral("LblOb(%1)").arg(i));
        LblOb[i]->adjustSize();
        LblOb[i]->move(Px(lblX[i]), Px(105));

        TxtGrupo[i] = new QLineEdit(this);
        TxtGrupo[i]->setObjectName(QStringLiteral("TxtGrupo(%1)").arg(i));
        TxtGrupo[i]->setGeometry(Px(txtX[i]), Px(60), Px(1065), Px(285));
        TxtGrupo[i]->setMaxLength(10);
        TxtGrupo[i]->setPalette(amarillo);
        ObjUtiles().AsignaFiltro(TxtGrupo[i], Utiles::Filtro::Fecha);
    }

    BtnRefrescar = new QPushButton(QStringLiteral("&Refrescar Datos (F5)"), this);
    BtnRefrescar->setObjectName(QStringLiteral("BtnRefrescar"));
    BtnRefrescar->setGeometry(Px(4800), Px(30), Px(2100), Px(330));
    BtnRefrescar->setDefault(true);
    connect(BtnRefrescar, &QPushButton::clicked, this, &InfFacturasFrm::BtnRefrescar_Click);

    BtnSalir = new QPushButton(QStringLiteral("&Cerrar"), this);
    BtnSalir->setObjectName(QStringLiteral("BtnSalir"));
    BtnSalir->setGeometry(Px(7860), Px(30), Px(1440), Px(330));
    connect(BtnSalir, &QPushButton::clicked, this, &InfFacturasFrm::BtnSalir_Click);

    // The viewer: a toolbar over the print preview.
    CRViewer1 = new QWidget(this);
    CRViewer1->setObjectName(QStringLiteral("CRViewer1"));
    CRViewer1->setGeometry(Px(kVisorIzquierda), Px(kVisorArriba), Px(9300), Px(5445));
    auto* caja = new QVBoxLayout(CRViewer1);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(0);
    barra_ = new QToolBar(CRViewer1);
    barra_->setObjectName(QStringLiteral("BarraVisor"));
    barra_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    accImprimir_ = Accion(barra_, QStringLiteral("AccImprimir"), QStringLiteral("Imprimir..."),
                          QStringLiteral("document-print"), QStringLiteral("Imprimir el listado"));
    accPdf_ = Accion(barra_, QStringLiteral("AccPdf"), QStringLiteral("Guardar PDF..."), QStringLiteral("document-save-as"),
                     QStringLiteral("Guardar el listado como documento PDF"));
    barra_->addSeparator();
    accPrimera_ = Accion(barra_, QStringLiteral("AccPrimera"), QStringLiteral("|<"), QStringLiteral("go-first"),
                         QStringLiteral("Primera página"));
    accAnterior_ = Accion(barra_, QStringLiteral("AccAnterior"), QStringLiteral("<"), QStringLiteral("go-previous"),
                          QStringLiteral("Página anterior"));
    lblPagina_ = new QLabel(barra_);
    lblPagina_->setObjectName(QStringLiteral("LblPagina"));
    lblPagina_->setContentsMargins(6, 0, 6, 0);
    barra_->addWidget(lblPagina_);
    accSiguiente_ = Accion(barra_, QStringLiteral("AccSiguiente"), QStringLiteral(">"), QStringLiteral("go-next"),
                           QStringLiteral("Página siguiente"));
    accUltima_ = Accion(barra_, QStringLiteral("AccUltima"), QStringLiteral(">|"), QStringLiteral("go-last"),
                        QStringLiteral("Última página"));
    barra_->addSeparator();
    accReducir_ = Accion(barra_, QStringLiteral("AccReducir"), QStringLiteral("Reducir"), QStringLiteral("zoom-out"),
                         QStringLiteral("Reducir"));
    accAmpliar_ = Accion(barra_, QStringLiteral("AccAmpliar"), QStringLiteral("Ampliar"), QStringLiteral("zoom-in"),
                         QStringLiteral("Ampliar"));
    accAncho_ = Accion(barra_, QStringLiteral("AccAncho"), QStringLiteral("Ancho"), QStringLiteral("zoom-fit-width"),
                       QStringLiteral("Ajustar al ancho de la ventana"));
    accPagina_ = Accion(barra_, QStringLiteral("AccPagina"), QStringLiteral("Página"), QStringLiteral("zoom-fit-best"),
                        QStringLiteral("Ver la página entera"));
    caja->addWidget(barra_);

    impresoraVista_.setPageLayout(PaginaA4());
    vista_ = new QPrintPreviewWidget(&impresoraVista_, CRViewer1);
    vista_->setObjectName(QStringLiteral("VistaPrevia"));
    vista_->setZoomMode(QPrintPreviewWidget::FitToWidth);
    caja->addWidget(vista_, 1);
    connect(vista_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* impresora) {
        if (informe_)
            informe_->Imprime(*impresora);
    });
    connect(vista_, &QPrintPreviewWidget::previewChanged, this, &InfFacturasFrm::ActualizaBarra);

    connect(accImprimir_, &QAction::triggered, this, &InfFacturasFrm::Imprimir);
    connect(accPdf_, &QAction::triggered, this, &InfFacturasFrm::GuardarComoPdf);
    connect(accPrimera_, &QAction::triggered, this, [this] { vista_->setCurrentPage(1); ActualizaBarra(); });
    connect(accAnterior_, &QAction::triggered, this, [this] {
        vista_->setCurrentPage(vista_->currentPage() - 1);
        ActualizaBarra();
    });
    connect(accSiguiente_, &QAction::triggered, this, [this] {
        vista_->setCurrentPage(vista_->currentPage() + 1);
        ActualizaBarra();
    });
    connect(accUltima_, &QAction::triggered, this, [this] {
        vista_->setCurrentPage(vista_->pageCount());
        ActualizaBarra();
    });
    connect(accAmpliar_, &QAction::triggered, this, [this] { vista_->zoomIn(1.25); });
    connect(accReducir_, &QAction::triggered, this, [this] { vista_->zoomOut(1.25); });
    connect(accAncho_, &QAction::triggered, this, [this] { vista_->fitToWidth(); });
    connect(accPagina_, &QAction::triggered, this, [this] { vista_->fitInView(); });

    setTabOrder(TxtGrupo[0], TxtGrupo[1]);
    setTabOrder(TxtGrupo[1], BtnRefrescar);
    setTabOrder(BtnRefrescar, BtnSalir);
    setTabOrder(BtnSalir, vista_);

    // The window sees every key before its controls.
    VistaPreviaTeclas(this, [this](QWidget* destino, QKeyEvent* k) { return Form_KeyDown(destino, k->key()); });
    // This filter sees the date boxes come and go.
    qApp->installEventFilter(this);

    resize(Px(9360), Px(9000));
    ActualizaBarra();
}

InfFacturasFrm::~InfFacturasFrm() = default;


bool InfFacturasFrm::eventFilter(QObject* objeto, QEvent* evento) {
    switch (evento->type()) {
    case QEvent::FocusIn:
        for (QLineEdit* t : TxtGrupo)
            if (objeto == t)
                ObjUtiles().EntraCampo(t);
        return false;
    case QEvent::FocusOut: {
        // Checked when the focus goes to another control of this window, as
        // the date check of a box runs on leaving it for a sibling; leaving the
        // window does not check. Shown after the move so that a button the
        // mouse has pressed is let go instead of clicked.
        const auto razon = static_cast<QFocusEvent*>(evento)->reason();
        QWidget* nuevo = QApplication::focusWidget();
        if (cerrando_ || devolviendoFoco_ || razon == Qt::ActiveWindowFocusReason || razon == Qt::PopupFocusReason || !nuevo ||
            !isAncestorOf(nuevo))
            return false;
        for (int i = 0; i < 2; ++i)
            if (objeto == TxtGrupo[i])
                QTimer::singleShot(0, this, [this, i] { TxtGrupo_Validate(i); });
        return false;
    }
    default: return false;
    }
}

bool InfFacturasFrm::Form_KeyDown(QWidget* destino, int tecla) {
    try {
        switch (tecla) {
        case Qt::Key_F5: BtnRefrescar->click(); return true;
        case Qt::Key_Escape: BtnSalir->click(); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter presses the button that has the focus, or else the default one.
            if (auto* b = qobject_cast<QAbstractButton*>(destino)) {
                b->click();
                return true;
            }
            BtnRefrescar->click();
            return true;
        default: return false;
        }
    } catch (...) {
        return true;
    }
}

void InfFacturasFrm::TxtGrupo_Validate(int indice) {
    QLineEdit* t = TxtGrupo[indice];
    if (cerrando_ || !t)
        return;
    const auto fecha = NormalizaFecha(t->text());
    if (!fecha) {
        Aviso(QStringLiteral("Esa fecha no es válida."));
        // The box the focus is taken from is not checked for that.
        devolviendoFoco_ = true;
        t->setFocus(Qt::OtherFocusReason);
        devolviendoFoco_ = false;
        return;
    }
    if (*fecha != t->text())
        t->setText(*fecha);
}

void InfFacturasFrm::ActualizaDatos() {
    if (informe_)
        BtnRefrescar_Click();
}

void InfFacturasFrm::MuestraFechas(const QString& desde, const QString& hasta) {
    TxtGrupo[0]->setText(desde);
    TxtGrupo[1]->setText(hasta);
    BtnRefrescar->click();
}

void InfFacturasFrm::BtnRefrescar_Click() {
    if (ObjUtiles().CamposVacios({TxtGrupo[0], TxtGrupo[1]}, 0, 0, 0)) {
        Aviso(QStringLiteral("Introduzca las dos fechas para la búsqueda."));
        return;
    }
    PunteroOcupado cursor;
    try {
        sql_ = SqlDatosEmpresa();
        auto rs = ConexionAbierta().AbrirRegistros(sql_);
        const CabeceraEmpresa empresa = LineasEmpresa(*rs);
        rs->Cerrar();

        const QString desde = TxtGrupo[0]->text();
        const QString hasta = TxtGrupo[1]->text();
        sql_ = ConsultaListado(desde, hasta);
        rs = ConexionAbierta().AbrirRegistros(sql_);

        // The new report replaces the one on show only once it is complete,
        // so a failure leaves the previous listing in the preview.
        auto nuevo = std::make_unique<FacturasRpt>();
        nuevo->SetDataSource(FilasListado(*rs));
        nuevo->SetText(QStringLiteral("TxtNombre"), empresa.linea1);
        nuevo->SetText(QStringLiteral("TxtDireccion"), empresa.linea2);
        nuevo->SetText(QStringLiteral("TxtOtros"), empresa.linea3);
        nuevo->SetText(QStringLiteral("TxtFecha"), LineaTitulo(desde, hasta));
        nuevo->SetText(QStringLiteral("TxtFraseFinal"), FraseFinal);
        nuevo->SetText(QStringLiteral("TxtIVA1"), OpcionIva);
        nuevo->SetText(QStringLiteral("TxtIVA2"), OpcionIva);
        nuevo->SetText(QStringLiteral("TxtIVA3"), OpcionIva);
        informe_ = std::move(nuevo);
        vista_->updatePreview();
        vista_->setCurrentPage(1);
        ActualizaBarra();
        rs->Cerrar();
    } catch (const ErrorBD& e) {
        cursor.Restaura();
        if (e.numero() == CodigoError::TipoIncorrecto)
            Aviso(QStringLiteral("Fecha incorrecta."));
        else
            MostrarErrorBD(e);
    } catch (const std::exception& e) {
        cursor.Restaura();
        MostrarErrorBD(ErrorBD(CodigoError::BaseDatos, QString::fromLocal8Bit(e.what())));
    }
}

void InfFacturasFrm::BtnSalir_Click() {
    // Inside the frame the child window closes with its frame.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void InfFacturasFrm::closeEvent(QCloseEvent* e) {
    cerrando_ = true;
    informe_.reset();
    QWidget::closeEvent(e);
}

void InfFacturasFrm::showEvent(QShowEvent* e) {
    cerrando_ = false;
    QWidget::showEvent(e);
}

void InfFacturasFrm::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (isMinimized() || (parentWidget() && parentWidget()->isMinimized()) || !CRViewer1)
        return;
    const int alto = std::max(0, height() - CRViewer1->y());
    const int ancho = std::max(0, width() - CRViewer1->x());
    CRViewer1->resize(ancho, alto);
}

void InfFacturasFrm::ActualizaBarra() {
    const int total = informe_ ? vista_->pageCount() : 0;
    const int actual = total > 0 ? std::clamp(vista_->currentPage(), 1, total) : 0;
    // Never empty: an empty label asks the toolbar for a whole line of room.
    lblPagina_->setText(total > 0 ? QStringLiteral("Página %1 de %2").arg(actual).arg(total) : QStringLiteral(" "));
    accImprimir_->setEnabled(informe_ != nullptr);
    accPdf_->setEnabled(informe_ != nullptr);
    accPrimera_->setEnabled(actual > 1);
    accAnterior_->setEnabled(actual > 1);
    accSiguiente_->setEnabled(actual < total);
    accUltima_->setEnabled(actual < total);
    for (QAction* a : {accAmpliar_, accReducir_, accAncho_, accPagina_})
        a->setEnabled(informe_ != nullptr);
}

bool InfFacturasFrm::ImprimeEn(QPrinter& impresora, int desde, int hasta) {
    return informe_ && ImprimeDocumento(*informe_, impresora, desde, hasta, QStringLiteral("No se pudo imprimir el listado."));
}

void InfFacturasFrm::Imprimir() {
    if (informe_)
        ImprimeConDialogo(this, *informe_, QStringLiteral("Imprimir el listado"), vista_->currentPage(),
                          QStringLiteral("No se pudo imprimir el listado."));
}

void InfFacturasFrm::GuardarComoPdf() {
    if (!informe_)
        return;
    const QString ruta = PideArchivoPdf(this, QStringLiteral("Guardar el listado como PDF"),
                                        QStringLiteral("Listado de Facturas.pdf"));
    if (!ruta.isEmpty())
        GuardaPdf(ruta);
}

bool InfFacturasFrm::GuardaPdf(const QString& ruta) {
    return informe_ && GuardaPdfDocumento(*informe_, ruta, QStringLiteral("Listado de Facturación"));
}
