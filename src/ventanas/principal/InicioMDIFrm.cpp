#include "ventanas/principal/InicioMDIFrm.h"

#include "dominio/parametros/Ajustes.h"
#include "dominio/copias/CopiasAutomaticas.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "ventanas/liquidacion/LiquidacionFrm.h"
#include "ventanas/libros/LibrosRegistroFrm.h"
#include "ventanas/declaraciones/Modelo390Frm.h"
#include "dominio/liquidacion/Liquidacion.h"
#include "ventanas/listado/InfFacturasFrm.h"
#include "ventanas/comun/AccesoFrm.h"
#include "ventanas/comun/EstadoTeclas.h"
#include "ventanas/comun/Medidas.h"
#include "base/MedidasLogica.h"
#include "ventanas/comun/Recursos.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/copias/RestaurarCopiaFrm.h"
#include "ventanas/declaraciones/ClientesProveedoresFrm.h"
#include "ventanas/declaraciones/Modelo347Frm.h"
#include "ventanas/importacion/ImportarFacturasFrm.h"
#include "ventanas/facturas/FacturasFrm.h"
#include "ventanas/principal/AcercaDeFrm.h"
#include "dominio/principal/InicioMDILogica.h"
#include "ventanas/principal/Menufrm.h"
#include "ventanas/ajustes/CopiaSeguridadFrm.h"
#include "ventanas/ajustes/DatosEmpresaFrm.h"
#include "ventanas/ajustes/ParametrosFrm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QToolButton>
#include <QTimer>
#include <exception>

namespace {

std::function<void()>& FinPrograma() {
    static std::function<void()> fin = [] { QCoreApplication::exit(0); };
    return fin;
}

const QString kPregunta = QStringLiteral("¿Seguro que desea salir de la aplicación?");

}  // namespace

std::function<void()> EstableceFinPrograma(std::function<void()> fin) {
    std::function<void()> anterior = std::move(FinPrograma());
    FinPrograma() = std::move(fin);
    return anterior;
}

void SalirAplicacion() {
    if (auto* v = qobject_cast<InicioMDIFrm*>(VentanaPrincipal())) {
        const QRect marco = v->frameGeometry();
        GuardaEstadoVentana({v->EstadoVentana(), Twips(marco.width()), Twips(marco.height())});
        // Gone from the screen at once; the copy of the day is made behind it.
        v->hide();
    }
    HazCopiaAutomatica(QDate::currentDate());
    CierraConexion();
    if (FinPrograma())
        FinPrograma()();
}

InicioMDIFrm::InicioMDIFrm(QWidget* parent) : QMainWindow(parent) {
    IniciaRecursos();
    setObjectName(QStringLiteral("InicioMDIFrm"));
    setWindowIcon(IconoAplicacion());

    area_ = new QMdiArea(this);
    area_->setObjectName(QStringLiteral("AreaCliente"));
    area_->setBackground(palette().brush(QPalette::Dark));
    // A window that closes hands the activation back to the one used before
    // it, not to the first one opened: that is the button menu, which would
    // shrink every other window on being activated.
    area_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(area_);
    area_->viewport()->installEventFilter(this);
    connect(area_, &QMdiArea::subWindowActivated, this, &InicioMDIFrm::SubventanaActivada);

    CreaMenus();
    CreaBarraEstado();

    EstableceVentanaPrincipal(this);
    EstableceMostradorHija([this](QWidget* w) { MuestraEnMarco(w); });

    // Load: the date at load, the title, the design size, the button menu.
    Panels[1]->setText(FechaLarga(QDate::currentDate()));
    setWindowTitle(QStringLiteral("Fiscalino: Declaración Trimestral del IVA"));
    if (EstadoVentana() == 0)
        resize(Px(9720), Px(6900));
    MuestraMenu();
}

InicioMDIFrm::~InicioMDIFrm() {
    if (VentanaPrincipal() == this) {
        EstableceMostradorHija(nullptr);
        EstableceVentanaPrincipal(nullptr);
    }
}

void InicioMDIFrm::CreaMenus() {
    QMenuBar* barra = menuBar();
    auto accion = [](QAction* a, const char* nombre) {
        a->setObjectName(QString::fromLatin1(nombre));
        return a;
    };

    MenuAplicacion = barra->addMenu(QStringLiteral("&Aplicación"));
    MenuAplicacion->setObjectName(QStringLiteral("MenuAplicacion"));
    MenuAplicacion->menuAction()->setObjectName(QStringLiteral("MenuAplicacion"));
    MenuAplicacionDatos = accion(MenuAplicacion->addAction(QStringLiteral("Datos de la &Empresa")), "MenuAplicacionDatos");
    MenuAplicacionTerceros =
        accion(MenuAplicacion->addAction(QStringLiteral("&Clientes y Proveedores")), "MenuAplicacionTerceros");
    MenuAplicacionConfig =
        accion(MenuAplicacion->addAction(QStringLiteral("Configuración &Aplicación")), "MenuAplicacionConfig");
    MenuAplicacionConfig->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    MenuAplicacionImpresora =
        accion(MenuAplicacion->addAction(QStringLiteral("Configurar &Impresora")), "MenuAplicacionImpresora");
    MenuAplicacionImpresora->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    MenuAplicacionSep0 = accion(MenuAplicacion->addSeparator(), "MenuAplicacionSep0");
    MenuAplicacionSalir = accion(MenuAplicacion->addAction(QStringLiteral("&Salir")), "MenuAplicacionSalir");
    MenuAplicacionSalir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    // "Facturas" opens its menu; the item itself still stands for the quarter browser.
    MenuDeFacturas = barra->addMenu(QStringLiteral("&Facturas"));
    MenuDeFacturas->setObjectName(QStringLiteral("MenuDeFacturas"));
    MenuFacturas = accion(MenuDeFacturas->menuAction(), "MenuFacturas");
    MenuFacturasIntroduccion =
        accion(MenuDeFacturas->addAction(QStringLiteral("&Introducción de Facturas")), "MenuFacturasIntroduccion");
    MenuImportar = accion(MenuDeFacturas->addAction(QStringLiteral("I&mportar Facturas...")), "MenuImportar");
    // "Informe" opens the reports' menu; the item itself still stands for the listing.
    MenuInforme = barra->addMenu(QStringLiteral("&Informe"));
    MenuInforme->setObjectName(QStringLiteral("MenuInforme"));
    MenuListados = accion(MenuInforme->menuAction(), "MenuListados");
    MenuInformeListado = accion(MenuInforme->addAction(QStringLiteral("Listado de &Facturas")), "MenuInformeListado");
    MenuLiquidacion = accion(MenuInforme->addAction(QStringLiteral("Liquidación del &Trimestre")), "MenuLiquidacion");
    MenuLibros = accion(MenuInforme->addAction(QStringLiteral("Libros &Registro")), "MenuLibros");
    MenuModelo347 = accion(
        MenuInforme->addAction(QStringLiteral("Declaración Anual de Operaciones con Terceros (Modelo &347)")),
        "MenuModelo347");
    MenuModelo390 =
        accion(MenuInforme->addAction(QStringLiteral("Resumen Anual del IVA (Modelo 3&90)")), "MenuModelo390");
    MenuCopiaSeguridad = barra->addMenu(QStringLiteral("Copia de &Seguridad"));
    MenuCopiaSeguridad->setObjectName(QStringLiteral("MenuCopiaSeguridad"));
    MenuCopiaSeguridad->menuAction()->setObjectName(QStringLiteral("MenuCopiaSeguridad"));
    MenuCopia = accion(MenuCopiaSeguridad->addAction(QStringLiteral("Realizar &Copia")), "MenuCopia");
    MenuRestaurar = accion(MenuCopiaSeguridad->addAction(QStringLiteral("&Restaurar Copia")), "MenuRestaurar");

    MenuVentana = barra->addMenu(QStringLiteral("&Ventana"));
    MenuVentana->setObjectName(QStringLiteral("MenuVentana"));
    MenuVentana->menuAction()->setObjectName(QStringLiteral("MenuVentana"));
    const char* textos[5] = {"&Horizontal", "&Vertical", "&Organizar", nullptr, "&Cerrar todas"};
    for (int i = 0; i < 5; ++i) {
        QAction* a = textos[i] ? MenuVentana->addAction(QString::fromUtf8(textos[i])) : MenuVentana->addSeparator();
        a->setObjectName(QStringLiteral("MenuVentanaItem(%1)").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { MenuVentanaItem_Click(i); });
        MenuVentanaItem[i] = a;
    }

    MenuAcercaDe = accion(barra->addAction(QStringLiteral("Acerca &de...")), "MenuAcercaDe");

    connect(MenuAplicacionDatos, &QAction::triggered, this, &InicioMDIFrm::MenuAplicacionDatos_Click);
    connect(MenuAplicacionConfig, &QAction::triggered, this, &InicioMDIFrm::MenuAplicacionConfig_Click);
    connect(MenuAplicacionImpresora, &QAction::triggered, this, &InicioMDIFrm::MenuAplicacionImpresora_Click);
    connect(MenuAplicacionSalir, &QAction::triggered, this, [this] { close(); });
    connect(MenuFacturas, &QAction::triggered, this, &InicioMDIFrm::MenuFacturas_Click);
    connect(MenuFacturasIntroduccion, &QAction::triggered, this, &InicioMDIFrm::MenuFacturas_Click);
    connect(MenuImportar, &QAction::triggered, this, &InicioMDIFrm::MenuImportar_Click);
    connect(MenuListados, &QAction::triggered, this, &InicioMDIFrm::MenuListados_Click);
    connect(MenuInformeListado, &QAction::triggered, this, &InicioMDIFrm::MenuListados_Click);
    connect(MenuLiquidacion, &QAction::triggered, this, &InicioMDIFrm::MenuLiquidacion_Click);
    connect(MenuLibros, &QAction::triggered, this, &InicioMDIFrm::MenuLibros_Click);
    connect(MenuModelo347, &QAction::triggered, this, &InicioMDIFrm::MenuModelo347_Click);
    connect(MenuAplicacionTerceros, &QAction::triggered, this, &InicioMDIFrm::MenuTerceros_Click);
    connect(MenuModelo390, &QAction::triggered, this, &InicioMDIFrm::MenuModelo390_Click);
    connect(MenuCopia, &QAction::triggered, this, &InicioMDIFrm::MenuCopia_Click);
    connect(MenuRestaurar, &QAction::triggered, this, &InicioMDIFrm::MenuRestaurar_Click);
    connect(MenuAcercaDe, &QAction::triggered, this, &InicioMDIFrm::MenuAcercaDe_Click);
}

void InicioMDIFrm::CreaBarraEstado() {
    StbInicio = new QStatusBar(this);
    StbInicio->setObjectName(QStringLiteral("StbInicio"));
    StbInicio->setSizeGripEnabled(true);
    setStatusBar(StbInicio);
    for (int i = 0; i < 6; ++i) {
        Panels[i] = new QLabel(StbInicio);
        Panels[i]->setObjectName(QStringLiteral("Panels(%1)").arg(i + 1));
        Panels[i]->setFrameShape(QFrame::StyledPanel);
        Panels[i]->setFrameShadow(QFrame::Sunken);
        Panels[i]->setAlignment(Qt::AlignCenter);
        Panels[i]->setContentsMargins(4, 0, 4, 0);
    }
    Panels[0]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StbInicio->addWidget(Panels[0], 1);
    for (int i = 1; i < 6; ++i)
        StbInicio->addPermanentWidget(Panels[i]);
    Panels[3]->setText(QStringLiteral("NÚM"));
    Panels[4]->setText(QStringLiteral("MAYÚS"));
    Panels[5]->setText(QStringLiteral("INS"));
    for (int i = 3; i < 6; ++i)
        Panels[i]->setMinimumWidth(Panels[i]->fontMetrics().horizontalAdvance(QStringLiteral("MAYÚS")) + 16);

    teclas_ = new EstadoTeclas(this);
    connect(teclas_, &EstadoTeclas::Cambiado, this, &InicioMDIFrm::ActualizaTeclas);
    ActualizaTeclas();

    reloj_ = new QTimer(this);
    reloj_->setInterval(1000);
    connect(reloj_, &QTimer::timeout, this, [this] {
        ActualizaHora();
        teclas_->Actualiza();
    });
    reloj_->start();
    ActualizaHora();
}

void InicioMDIFrm::ActualizaHora() { Panels[2]->setText(QTime::currentTime().toString(QStringLiteral("H:mm"))); }

void InicioMDIFrm::ActualizaTeclas() {
    // A key panel keeps its text and shows greyed while its key is off.
    Panels[3]->setEnabled(teclas_->BloqNum());
    Panels[4]->setEnabled(teclas_->BloqMayus());
    Panels[5]->setEnabled(teclas_->Insertar());
}

Menufrm* InicioMDIFrm::MenuBotones() const { return menu_.data(); }

int InicioMDIFrm::EstadoVentana() const {
    if (isMinimized())
        return 1;
    if (isMaximized())
        return 2;
    return 0;
}

QSize InicioMDIFrm::MarcoVentana() const {
    return isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
}

QRect InicioMDIFrm::Disponible() const {
    QScreen* pantalla = screen();
    return pantalla ? pantalla->availableGeometry() : QRect();
}

void InicioMDIFrm::MantenEnPantalla() {
    if (!isVisible() || EstadoVentana() != 0)
        return;
    const QRect r = DentroDe(frameGeometry(), Disponible());
    if (r.topLeft() != frameGeometry().topLeft())
        move(r.topLeft());
}

void InicioMDIFrm::AplicaTamano(double anchoTwips, double altoTwips, int estado) {
    // Twips measure the outer size: the frame comes off what is asked of the
    // window. A size kept from a larger screen, or from a smaller scale,
    // comes back no larger than this screen.
    const QSize marco = MarcoVentana();
    const QRect disponible = Disponible();
    QSize exterior(Px(anchoTwips), Px(altoTwips));
    if (disponible.isValid())
        exterior = exterior.boundedTo(disponible.size());
    resize(qMax(1, exterior.width() - marco.width()), qMax(1, exterior.height() - marco.height()));
    MantenEnPantalla();
    // A window manager frames the window a moment after it shows: until then
    // the frame reads as nothing, and the window would come back a frame
    // larger at every start. The size is asked again once the frame is known.
    exteriorPendiente_ = marco.isNull() ? exterior : QSize();
    switch (EstadoValido(estado)) {
    case 1: showMinimized(); break;
    case 2: showMaximized(); break;
    default:
        if (isMinimized() || isMaximized())
            showNormal();
        break;
    }
}

Menufrm* InicioMDIFrm::MuestraMenu() {
    bool nuevo = false;
    if (!menu_) {
        auto* m = new Menufrm();
        m->setAttribute(Qt::WA_DeleteOnClose);
        QMdiSubWindow* sub = area_->addSubWindow(m, Qt::FramelessWindowHint | Qt::SubWindow);
        sub->setObjectName(QStringLiteral("MenufrmMarco"));
        sub->setMinimumSize(0, 0);
        sub->resize(m->size());
        sub->move(0, 0);
        menu_ = m;
        nuevo = true;
    }
    auto* sub = qobject_cast<QMdiSubWindow*>(menu_->parentWidget());
    if (sub) {
        if (sub->isMinimized())
            sub->showNormal();
        else
            sub->show();
        menu_->Posiciona();
        area_->setActiveSubWindow(sub);
        if (nuevo)
            menu_->EnfocaInicio();
    }
    return menu_;
}

void InicioMDIFrm::MuestraEnMarco(QWidget* w) {
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    if (!sub) {
        // The screen's own size, when it set one, is its inner size in the frame.
        const QSize deseado = w->testAttribute(Qt::WA_Resized) ? w->size() : QSize();
        sub = area_->addSubWindow(w);
        sub->setWindowIcon(w->windowIcon().isNull() ? windowIcon() : w->windowIcon());
        sub->show();
        // Over a maximised child the new one comes up maximised with no size
        // of its own to restore to: give it its size first, then maximise it.
        const bool maximizada = sub->isMaximized();
        if (maximizada)
            sub->showNormal();
        if (deseado.isValid() && w->size() != deseado)
            sub->resize(deseado + (sub->size() - w->size()));
        // Never larger than the client area, where part of it would be out of
        // reach: the screen scrolls or lays itself out in what there is.
        const QSize zona = area_->viewport()->size();
        if (!zona.isEmpty() && (sub->width() > zona.width() || sub->height() > zona.height()))
            sub->resize(sub->size().boundedTo(zona));
        if (Utiles::PideCentrarEnMarco(w))
            Utiles::CentraEnMarco(sub);
        else
            ColocaNueva(sub);
        if (maximizada)
            sub->showMaximized();
        // A screen that closes itself takes its frame along (once it is gone).
        connect(w, &QObject::destroyed, area_, [area = area_] {
            QTimer::singleShot(0, area, [area] {
                for (QMdiSubWindow* s : area->subWindowList())
                    if (!s->widget())
                        s->close();
            });
        });
    } else if (sub->isMinimized()) {
        sub->showNormal();
    } else {
        sub->show();
    }
    sub->raise();
    area_->setActiveSubWindow(sub);
}

void InicioMDIFrm::ColocaNueva(QMdiSubWindow* sub) {
    // As a cascade would leave it: below and right of the windows already
    // open, or in the corner when that would put part of it out of sight. The
    // toolkit's own placement looks for free room instead, which beside the
    // button menu is mostly outside the client area.
    int abiertas = 0;
    for (QMdiSubWindow* s : area_->subWindowList())
        if (s != sub && s->isVisible() && !s->isMinimized())
            ++abiertas;
    const int d = abiertas * PasoCascada();
    const QSize zona = area_->viewport()->size();
    const bool cabe = d + sub->width() <= zona.width() && d + sub->height() <= zona.height();
    sub->move(cabe ? QPoint(d, d) : QPoint(0, 0));
}

void InicioMDIFrm::SubventanaActivada(QMdiSubWindow* sub) {
    // Losing and getting back the frame's focus activates the same child again: not a new activation.
    if (!sub || sub == ultimaActiva_)
        return;
    ultimaActiva_ = sub;
    if (menu_ && sub->widget() == menu_)
        menu_->Form_Activate();
}

void InicioMDIFrm::MenuFacturas_Click() {
    if (!ValidarAccesoFacturas())
        return;
    MuestraPantalla<FacturasFrm>(QStringLiteral("FacturasFrm"));
}

void InicioMDIFrm::MenuImportar_Click() {
    if (!ValidarAccesoFacturas())
        return;
    ImportarFacturasFrm dlg(this);
    dlg.exec();
    // An open quarter browser shows what came in.
    if (dlg.Importadas() > 0)
        for (QMdiSubWindow* sub : area_->subWindowList())
            if (auto* f = qobject_cast<FacturasFrm*>(sub->widget()))
                f->Busca();
}

void InicioMDIFrm::MenuListados_Click() {
    if (!ValidarAccesoInformes())
        return;
    MuestraPantalla<InfFacturasFrm>(QStringLiteral("InfFacturasFrm"));
}

void InicioMDIFrm::MenuLiquidacion_Click() {
    if (!ValidarAccesoInformes())
        return;
    MuestraPantalla<LiquidacionFrm>(QStringLiteral("LiquidacionFrm"));
}

void InicioMDIFrm::MenuModelo390_Click() {
    if (!ValidarAccesoInformes())
        return;
    if (ModeloDeImpuesto(OpcionIva) == ModeloDeclaracion::M420) {
        Aviso(QStringLiteral("El resumen anual del IGIC (Modelo 425) no está disponible todavía."));
        return;
    }
    MuestraPantalla<Modelo390Frm>(QStringLiteral("Modelo390Frm"));
}

void InicioMDIFrm::MenuLibros_Click() {
    if (!ValidarAccesoInformes())
        return;
    LibrosRegistroFrm dlg(this);
    EjecutaModal(dlg);
}

void InicioMDIFrm::MenuModelo347_Click() {
    if (!ValidarAccesoInformes())
        return;
    MuestraPantalla<Modelo347Frm>(QStringLiteral("Modelo347Frm"));
}

void InicioMDIFrm::MenuTerceros_Click() {
    if (!ValidarAccesoFacturas())
        return;
    MuestraPantalla<ClientesProveedoresFrm>(QStringLiteral("ClientesProveedoresFrm"));
}

void InicioMDIFrm::MenuAplicacionDatos_Click() {
    if (!ValidarAcceso())
        return;
    DatosEmpresaFrm dlg(this);
    dlg.setObjectName(QStringLiteral("DatosEmpresaFrm"));
    EjecutaModal(dlg);
}

void InicioMDIFrm::MenuAplicacionConfig_Click() {
    if (!ValidarAcceso())
        return;
    ParametrosFrm dlg(this);
    dlg.setObjectName(QStringLiteral("ParametrosFrm"));
    EjecutaModal(dlg);
}

void InicioMDIFrm::MenuCopia_Click() {
    CopiaSeguridadFrm dlg(this);
    dlg.setObjectName(QStringLiteral("CopiaSeguridadFrm"));
    EjecutaModal(dlg);
}

void InicioMDIFrm::MenuRestaurar_Click() {
    if (!ValidarAcceso())
        return;
    RestaurarCopiaFrm dlg(this);
    EjecutaModal(dlg);
}

void InicioMDIFrm::MenuAcercaDe_Click() {
    AcercaDeFrm dlg(this);
    EjecutaModal(dlg);
}

void InicioMDIFrm::MenuAplicacionImpresora_Click() {
    try {
        QPrintDialog dlg(&ImpresoraCompartida(), this);
        dlg.setObjectName(QStringLiteral("DlgImpresora"));
        dlg.setWindowTitle(QStringLiteral("Configurar impresora"));
        // Printer setup only: no page range, copies or collation are asked here.
        dlg.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
        if (auto* botones = dlg.findChild<QDialogButtonBox*>()) {
            if (QPushButton* b = botones->button(QDialogButtonBox::Ok))
                b->setText(QStringLiteral("Aceptar"));
            if (QPushButton* b = botones->button(QDialogButtonBox::Cancel))
                b->setText(QStringLiteral("Cancelar"));
        }
        EjecutaModal(dlg);
    } catch (const ErrorBD& e) {
        MostrarErrorBD(e);
    } catch (const std::exception& e) {
        MostrarErrorBD(ErrorBD(-1, QString::fromLocal8Bit(e.what())));
    }
}

void InicioMDIFrm::MenuVentanaItem_Click(int indice) {
    switch (indice) {
    case 0: MosaicoHorizontal(); break;
    case 1: Cascada(); break;
    case 2: OrganizaIconos(); break;
    case 4: CierraTodas(); break;
    default: break;
    }
}

void InicioMDIFrm::MosaicoHorizontal() {
    // One strip per screen, the full width of the client area, one below the
    // other. The button menu keeps its corner and its size: squeezed into a
    // strip its exit button and captions would fall outside it, and any click
    // on it shrinks the other windows to icons.
    QList<QMdiSubWindow*> ventanas;
    for (QMdiSubWindow* s : area_->subWindowList(QMdiArea::StackingOrder))
        if (s->isVisible() && !s->isMinimized() && !(menu_ && s->widget() == menu_))
            ventanas << s;
    if (ventanas.isEmpty())
        return;
    const QSize zona = area_->viewport()->size();
    const int n = ventanas.size();
    int y = 0;
    for (int i = 0; i < n; ++i) {
        int alto = zona.height() / n + (i < zona.height() % n ? 1 : 0);
        if (ventanas[i]->isMaximized())
            ventanas[i]->showNormal();
        ventanas[i]->setGeometry(0, y, zona.width(), alto);
        y += alto;
    }
}

void InicioMDIFrm::Cascada() {
    // Every window keeps its own size (the button menu has none to offer the
    // toolkit's own cascade, which would shrink it to nothing), only made
    // smaller where it would reach past the client area; each one stands a
    // title bar lower and further right than the one behind it.
    QList<QMdiSubWindow*> ventanas;
    for (QMdiSubWindow* s : area_->subWindowList(QMdiArea::StackingOrder))
        if (s->isVisible() && !s->isMinimized())
            ventanas << s;
    const QSize zona = area_->viewport()->size();
    int paso = 0;
    for (QMdiSubWindow* s : ventanas) {
        if (s->isMaximized())
            s->showNormal();
        const QSize cabe = s->size().boundedTo(zona - QSize(paso, paso)).expandedTo(s->minimumSizeHint());
        if (cabe != s->size())
            s->resize(cabe);
        s->move(paso, paso);
        s->raise();
        paso += PasoCascada();
    }
}

int InicioMDIFrm::PasoCascada() const {
    return qMax(1, area_->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, area_));
}

void InicioMDIFrm::OrganizaIconos() {
    // Minimised windows in rows along the bottom of the client area, left to right.
    const QSize zona = area_->viewport()->size();
    int x = 0;
    int y = zona.height();
    int altoFila = 0;
    for (QMdiSubWindow* s : area_->subWindowList(QMdiArea::CreationOrder)) {
        if (!s->isMinimized() || !s->isVisible())
            continue;
        const QSize t = s->size();
        if (x > 0 && x + t.width() > zona.width()) {
            x = 0;
            y -= altoFila;
            altoFila = 0;
        }
        if (altoFila == 0)
            altoFila = t.height();
        s->move(x, y - altoFila);
        x += t.width();
    }
}

void InicioMDIFrm::CierraTodas() {
    for (QWidget* w : PantallasAbiertas()) {
        const QString nombre = w->objectName().toUpper();
        if (nombre == QLatin1String("MENUFRM") || nombre == QLatin1String("INICIOMDIFRM"))
            continue;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
            sub->close();
        else
            w->close();
    }
}

void InicioMDIFrm::closeEvent(QCloseEvent* e) {
    if (saliendo_) {
        e->accept();
        return;
    }
    if (MuestraMensaje(kPregunta, Botones::SiNo, Icono::Pregunta) == Respuesta::Si) {
        saliendo_ = true;
        SalirAplicacion();
        e->accept();
        return;
    }
    e->ignore();
    if (Menufrm* m = MuestraMenu())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(m->parentWidget()))
            sub->move(0, 0);
}

void InicioMDIFrm::AjustaAlMarco(const QSize& marco) {
    if (!exteriorPendiente_.isValid() || marco.isNull() || EstadoVentana() != 0)
        return;
    const QSize exterior = exteriorPendiente_;
    exteriorPendiente_ = QSize();
    resize(qMax(1, exterior.width() - marco.width()), qMax(1, exterior.height() - marco.height()));
    MantenEnPantalla();
}

void InicioMDIFrm::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    AjustaAlMarco(MarcoVentana());
}

void InicioMDIFrm::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    AjustaAlMarco(MarcoVentana());
    if (menu_)
        menu_->Posiciona();
}

bool InicioMDIFrm::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == area_->viewport() && evento->type() == QEvent::MouseButtonPress) {
        // A click on the empty background brings the button menu back.
        MuestraMenu();
    }
    return QMainWindow::eventFilter(objeto, evento);
}
