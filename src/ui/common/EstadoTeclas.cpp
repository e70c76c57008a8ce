#include "ui/common/EstadoTeclas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLibrary>
#include <QWidget>

#if QT_CONFIG(xcb) && __has_include(<xcb/xcb.h>)
#define FISCALINO_LEDS_X11 1
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace {

#ifdef FISCALINO_LEDS_X11
// libxcb is loaded at run time: the program needs no X11 library to build
// against, and runs without it on other platforms.
struct FuncionesXcb {
    decltype(&xcb_get_keyboard_control) pide = nullptr;
    decltype(&xcb_get_keyboard_control_reply) respuesta = nullptr;
    bool cargadas = false;
};

FuncionesXcb& Xcb() {
    static FuncionesXcb f;
    static bool intentado = false;
    if (!intentado) {
        intentado = true;
        QLibrary lib(QStringLiteral("xcb"), 1);
        f.pide = reinterpret_cast<decltype(f.pide)>(lib.resolve("xcb_get_keyboard_control"));
        f.respuesta = reinterpret_cast<decltype(f.respuesta)>(lib.resolve("xcb_get_keyboard_control_reply"));
        f.cargadas = f.pide && f.respuesta;
    }
    return f;
}
#endif

}  // namespace

EstadoTeclas::EstadoTeclas(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
    LeeLeds(num_, mayus_);
}

EstadoTeclas::~EstadoTeclas() {
    if (qApp)
        qApp->removeEventFilter(this);
}

bool EstadoTeclas::LeeLeds(bool& num, bool& mayus) {
#ifdef FISCALINO_LEDS_X11
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return false;
    FuncionesXcb& f = Xcb();
    if (!f.cargadas)
        return false;
    xcb_connection_t* c = x11->connection();
    xcb_get_keyboard_control_reply_t* r = f.respuesta(c, f.pide(c), nullptr);
    if (!r)
        return false;
    // The usual LED numbering: 1 Caps Lock, 2 Num Lock.
    mayus = (r->led_mask & 1u) != 0;
    num = (r->led_mask & 2u) != 0;
    free(r);
    return true;
#else
    Q_UNUSED(num);
    Q_UNUSED(mayus);
    return false;
#endif
}

void EstadoTeclas::Actualiza() {
    bool n = num_, m = mayus_;
    if (LeeLeds(n, m) && (n != num_ || m != mayus_)) {
        num_ = n;
        mayus_ = m;
        emit Cambiado();
    }
}

bool EstadoTeclas::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress)
        return false;
    auto* k = static_cast<QKeyEvent*>(evento);
    if (k->isAutoRepeat())
        return false;
    // A key press travels from the focus widget up to its window: count it once.
    QWidget* foco = QApplication::focusWidget();
    bool primero = foco ? objeto == foco : (objeto->isWidgetType() && static_cast<QWidget*>(objeto)->isWindow());
    if (!primero)
        return false;
    switch (k->key()) {
    case Qt::Key_Insert: ins_ = !ins_; break;
    case Qt::Key_NumLock: num_ = !num_; break;
    case Qt::Key_CapsLock: mayus_ = !mayus_; break;
    default: return false;
    }
    // The LEDs, where they can be read, have the last word.
    bool n = num_, m = mayus_;
    if (LeeLeds(n, m)) {
        num_ = n;
        mayus_ = m;
    }
    emit Cambiado();
    return false;
}
