#include "ventanas/principal/Menufrm.h"

#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Recursos.h"
#include "ventanas/comun/Ventanas.h"
#include "ventanas/principal/InicioMDIFrm.h"
#include "dominio/principal/MenuLogica.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>

namespace {

// Sizes of the controls Posiciona moves, in twips.
constexpr double kAnchoPanel = 9435;
constexpr double kAltoPanel = 5505;
constexpr double kAltoTitulo = 360;
constexpr double kAnchoSalir = 1620;
constexpr double kAltoSalir = 765;

const QColor kAzulClaro(0xD9, 0xEE, 0xFF);
const QColor kGrisOscuro(0x40, 0x40, 0x40);

QToolButton* Boton(QWidget* padre, const QString& nombre, const QString& texto, const QString& icono) {
    auto* b = new QToolButton(padre);
    b->setObjectName(nombre);
    b->setText(texto);
    b->setIcon(QIcon(PixmapPng(icono)));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setFocusPolicy(Qt::StrongFocus);
    b->setAutoRaise(false);
    b->setFont(Fuente(QStringLiteral("Verdana"), 9));
    QPalette p = b->palette();
    p.setColor(QPalette::Button, kAzulClaro);
    b->setPalette(p);
    b->setAutoFillBackground(true);
    return b;
}

}  // namespace

Menufrm::Menufrm(QWidget* parent) : QWidget(parent) {
    IniciaRecursos();
    setObjectName(QStringLiteral("Menufrm"));
    setWindowTitle(QStringLiteral("Menú Principal"));
    setMinimumSize(0, 0);
    resize(Px(kAnchoPanel), Px(kAltoPanel));

    BtnMenu[0] = Boton(this, QStringLiteral("BtnMenu(0)"), QStringLiteral("Facturas (F3)"),
                       QStringLiteral(":/iconos/facturas.png"));
    BtnMenu[0]->setGeometry(RectTwips(2925, 420, 1620, 1005));
    BtnMenu[1] = Boton(this, QStringLiteral("BtnMenu(1)"), QStringLiteral("Informe (F9)"),
                       QStringLiteral(":/iconos/informe.png"));
    BtnMenu[1]->setGeometry(RectTwips(4905, 420, 1620, 1005));
    BtnSalir = Boton(this, QStringLiteral("BtnSalir"), QStringLiteral("Salir (ESC)"), QStringLiteral(":/iconos/salir.png"));
    BtnSalir->setGeometry(RectTwips(7740, 4680, kAnchoSalir, kAltoSalir));

    LblInfo = new QLabel(QStringLiteral("Información"), this);
    LblInfo->setObjectName(QStringLiteral("LblInfo"));
    LblInfo->setFont(Fuente(QStringLiteral("Arial"), 8.25));
    LblInfo->setGeometry(RectTwips(60, 3960, 9315, 255));

    LblTitulo = new QLabel(QStringLiteral("Fiscalino: Declaración Trimestral del IVA"), this);
    LblTitulo->setObjectName(QStringLiteral("LblTitulo"));
    LblTitulo->setFont(Fuente(QStringLiteral("Arial"), 15.75));
    QPalette p = LblTitulo->palette();
    p.setColor(QPalette::WindowText, kGrisOscuro);
    LblTitulo->setPalette(p);
    LblTitulo->setGeometry(RectTwips(60, 5100, 5970, kAltoTitulo));

    setTabOrder(BtnMenu[1], BtnMenu[0]);
    setTabOrder(BtnMenu[0], BtnSalir);

    connect(BtnMenu[0], &QToolButton::clicked, this, [this] { BtnMenu_Click(0); });
    connect(BtnMenu[1], &QToolButton::clicked, this, [this] { BtnMenu_Click(1); });
    connect(BtnSalir, &QToolButton::clicked, this, &Menufrm::BtnSalir_Click);

    // The panel sees every key before its buttons.
    for (QWidget* w : {static_cast<QWidget*>(BtnMenu[0]), static_cast<QWidget*>(BtnMenu[1]),
                       static_cast<QWidget*>(BtnSalir)})
        w->installEventFilter(this);
}

void Menufrm::Posiciona() {
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    QWidget* principal = VentanaPrincipal();
    if (!principal)
        return;
    QWidget* panel = sub ? static_cast<QWidget*>(sub) : this;
    panel->move(0, 0);
    const PosicionMenu pos = CalculaPosicionMenu(Twips(principal->frameGeometry().height()), Twips(width()),
                                                 kAltoTitulo, kAnchoSalir, kAltoSalir);
    panel->resize(panel->width(), Px(pos.alto));
    if (sub)
        resize(width(), Px(pos.alto));
    LblTitulo->move(LblTitulo->x(), Px(pos.tituloArriba));
    BtnSalir->move(Px(pos.salirIzquierda), Px(pos.salirArriba));
}

void Menufrm::Form_Activate() {
    for (QWidget* w : PantallasAbiertas()) {
        const QString nombre = w->objectName().toUpper();
        if (nombre == QLatin1String("MENUFRM") || nombre == QLatin1String("INICIOMDIFRM"))
            continue;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
            if (!sub->isMinimized())
                sub->showMinimized();
        } else if (w->isWindow() && !w->isModal() && !w->isMinimized()) {
            w->showMinimized();
        }
    }
    // A child that shrinks to an icon becomes the frame's active window: the
    // panel takes the activation back, or its keys would reach the icon.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        if (QMdiArea* area = sub->mdiArea(); area && area->activeSubWindow() != sub)
            area->setActiveSubWindow(sub);
}

void Menufrm::BtnMenu_Click(int indice) {
    auto* principal = qobject_cast<InicioMDIFrm*>(VentanaPrincipal());
    if (!principal)
        return;
    if (indice == 0)
        principal->MenuFacturas_Click();
    else if (indice == 1)
        principal->MenuListados_Click();
}

void Menufrm::BtnSalir_Click() {
    if (QWidget* principal = VentanaPrincipal())
        principal->close();
}

bool Menufrm::Form_KeyDown(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_F3:
        if (BtnMenu[0]->isEnabled())
            BtnMenu_Click(0);
        return true;
    case Qt::Key_F9:
        if (BtnMenu[1]->isEnabled())
            BtnMenu_Click(1);
        return true;
    case Qt::Key_Escape:
        // Salir is the panel's cancel button.
        if (BtnSalir->isEnabled())
            BtnSalir->click();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter presses the button that has the focus.
        if (auto* b = qobject_cast<QToolButton*>(focusWidget()); b && e->modifiers() == Qt::NoModifier) {
            b->click();
            return true;
        }
        return false;
    default: return false;
    }
}

bool Menufrm::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress && Form_KeyDown(static_cast<QKeyEvent*>(evento)))
        return true;
    return QWidget::eventFilter(objeto, evento);
}

void Menufrm::keyPressEvent(QKeyEvent* e) {
    if (!Form_KeyDown(e))
        QWidget::keyPressEvent(e);
}

void Menufrm::EnfocaInicio() { BtnMenu[1]->setFocus(); }
