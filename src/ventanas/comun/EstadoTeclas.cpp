#include "ventanas/comun/EstadoTeclas.h"

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
// The X libraries are loaded at run time: nothing to link against, and no
// X11 needed on other platforms. Xlib's headers are kept out (their macros
// clash with Qt's names), so the two Xlib calls are declared by hand.
using FnXInternAtom = unsigned long (*)(void* pantalla, const char* nombre, int soloSiExiste);
using FnXkbGetNamedIndicator = int (*)(void* pantalla, unsigned long nombre, int* indice, int* estado, void* mapa,
                                       int* real);

struct FuncionesX {
    FnXInternAtom internaAtomo = nullptr;
    FnXkbGetNamedIndicator indicador = nullptr;
    decltype(&xcb_get_keyboard_control) pideControl = nullptr;
    decltype(&xcb_get_keyboard_control_reply) respuestaControl = nullptr;
    unsigned long atomoMayus = 0;
    unsigned long atomoNum = 0;
};

FuncionesX& X(void* pantalla) {
    static FuncionesX f;
    static bool intentado = false;
    if (!intentado) {
        intentado = true;
        QLibrary x11(QStringLiteral("X11"), 6);
        f.internaAtomo = reinterpret_cast<FnXInternAtom>(x11.resolve("XInternAtom"));
        f.indicador = reinterpret_cast<FnXkbGetNamedIndicator>(x11.resolve("XkbGetNamedIndicator"));
        if (pantalla && f.internaAtomo && f.indicador) {
            f.atomoMayus = f.internaAtomo(pantalla, "Caps Lock", 0);
            f.atomoNum = f.internaAtomo(pantalla, "Num Lock", 0);
        }
        QLibrary xcb(QStringLiteral("xcb"), 1);
        f.pideControl = reinterpret_cast<decltype(f.pideControl)>(xcb.resolve("xcb_get_keyboard_control"));
        f.respuestaControl =
            reinterpret_cast<decltype(f.respuestaControl)>(xcb.resolve("xcb_get_keyboard_control_reply"));
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
    if (!x11)
        return false;
    void* pantalla = x11->display();
    xcb_connection_t* c = x11->connection();
    // Without a display (the offscreen platform) there are no LEDs to read,
    // and loading the X libraries would only slow the start.
    if (!pantalla && !c)
        return false;
    FuncionesX& f = X(pantalla);
    // The keyboard extension's named indicators follow the lock state itself.
    if (pantalla && f.indicador && f.atomoMayus && f.atomoNum) {
        int m = 0, n = 0;
        if (f.indicador(pantalla, f.atomoMayus, nullptr, &m, nullptr, nullptr) &&
            f.indicador(pantalla, f.atomoNum, nullptr, &n, nullptr, nullptr)) {
            mayus = m != 0;
            num = n != 0;
            return true;
        }
    }
    // Otherwise the core protocol's LED mask, in the usual numbering: 1 Caps Lock, 2 Num Lock.
    if (!c || !f.pideControl || !f.respuestaControl)
        return false;
    xcb_get_keyboard_control_reply_t* r = f.respuestaControl(c, f.pideControl(c), nullptr);
    if (!r)
        return false;
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
