#include "ventanas/comun/Ventanas.h"

#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>

namespace {
QPointer<QWidget>& principal() {
    static QPointer<QWidget> p;
    return p;
}
std::function<void(QWidget*)>& mostrador() {
    static std::function<void(QWidget*)> m;
    return m;
}
}  // namespace

QWidget* VentanaPrincipal() { return principal().data(); }
void EstableceVentanaPrincipal(QWidget* ventana) { principal() = ventana; }
void EstableceMostradorHija(std::function<void(QWidget*)> m) { mostrador() = std::move(m); }

void MuestraHija(QWidget* w) {
    if (mostrador() && principal()) {
        mostrador()(w);
        return;
    }
    if (w->isMinimized())
        w->showNormal();
    else
        w->show();
    w->raise();
    w->activateWindow();
}

QList<QWidget*> PantallasAbiertas() {
    QList<QWidget*> r;
    if (auto* p = principal().data()) {
        if (auto* area = p->findChild<QMdiArea*>()) {
            for (QMdiSubWindow* s : area->subWindowList())
                if (s->widget())
                    r << s->widget();
        }
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != principal().data() && !w->objectName().isEmpty() && w->isVisible() && !r.contains(w))
            r << w;
    return r;
}

void ActualizaPantallas() {
    for (QWidget* w : PantallasAbiertas()) {
        if (w->objectName().compare(QLatin1String("Menufrm"), Qt::CaseInsensitive) == 0)
            continue;
        if (w->metaObject()->indexOfMethod("ActualizaDatos()") >= 0) {
            QMetaObject::invokeMethod(w, "ActualizaDatos");
            continue;
        }
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
            sub->close();
        else
            w->close();
    }
}

QWidget* BuscaPantalla(const QString& nombre) {
    for (QWidget* w : PantallasAbiertas())
        if (w->objectName() == nombre)
            return w;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == nombre && w != principal().data())
            return w;
    return nullptr;
}

namespace {

// The first control inside `dentro` that takes the focus with Tab.
QWidget* PrimerControl(QWidget* dentro) {
    for (QWidget* w = dentro->nextInFocusChain(); w && w != dentro; w = w->nextInFocusChain())
        if (dentro->isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            return w;
    return nullptr;
}

}  // namespace

int EjecutaModal(QDialog& dialogo) {
    const QPointer<QWidget> foco = QApplication::focusWidget();
    const QPointer<QWidget> ventana = foco ? foco->window() : QApplication::activeWindow();
    const int r = dialogo.exec();
    if (!ventana || !ventana->isVisible())
        return r;
    ventana->activateWindow();
    QWidget* destino = foco && foco->isVisible() && foco->isEnabled() ? foco.data() : nullptr;
    if (!destino) {
        // A control the dialog closed (a restore closes screens) leaves the
        // keys to the child window in front, or to the window's first control.
        QWidget* hija = nullptr;
        if (auto* area = ventana->findChild<QMdiArea*>(); area && area->activeSubWindow())
            hija = area->activeSubWindow()->widget();
        destino = hija && hija->focusWidget() ? hija->focusWidget() : PrimerControl(hija ? hija : ventana.data());
    }
    if (!destino)
        return r;
    for (QWidget* p = destino->parentWidget(); p; p = p->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(p)) {
            if (QMdiArea* area = sub->mdiArea())
                area->setActiveSubWindow(sub);
            break;
        }
    destino->setFocus(Qt::ActiveWindowFocusReason);
    return r;
}

QPrinter& ImpresoraCompartida() {
    static QPrinter impresora(QPrinter::HighResolution);
    return impresora;
}
