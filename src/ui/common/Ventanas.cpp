#include "ui/common/Ventanas.h"

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

QPrinter& ImpresoraCompartida() {
    static QPrinter impresora(QPrinter::HighResolution);
    return impresora;
}
