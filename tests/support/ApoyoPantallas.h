#pragma once
// Helpers for the Qt Test programs of the screens.
#include "ApoyoCajas.h"
#include "ApoyoPruebas.h"
#include "base/Mensajes.h"

#include <QApplication>
#include <QLineEdit>
#include <QtGlobal>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Acts on the next modal window that opens (a dialog shown with exec()):
// polls until one other than those open now is up and active, then calls
// `accion` with it once. The action must close it (or open the next step).
void AlAbrirModal(std::function<void(QWidget*)> accion, int esperaMaxMs = 5000);
// Drops the waits of AlAbrirModal still pending (a test's cleanup calls it,
// so that no action outlives the test that set it).
void CancelaEsperasDeModales();

// Closes every modal window that opens while it lives, writing down each
// one's object name in order. Meant for sequences of dialogs (start-up).
class CierraModales : public QObject {
public:
    CierraModales();
    QStringList abiertos;
private:
    QTimer reloj_;
};

class InicioMDIFrm;

// Opens the program's main window as a user meets it: shown, and the active
// window once the test goes on; false when it never became active.
[[nodiscard]] bool AbrePrincipal(QPointer<InicioMDIFrm>& principal);
// Undoes what a screen test set up, last first: the pending waits for
// dialogs, the main window and every screen in it, the captured message
// boxes and the test database.
void CierraPrueba(QPointer<InicioMDIFrm>& principal, std::unique_ptr<RegistroMensajes>& mensajes,
                  std::unique_ptr<EntornoPruebas>& entorno);

// Types any text (accents, "ñ", "€" included) into a widget, one key per character.
void Teclea(QWidget* w, const QString& texto);

// The visible child screens of the frame, by object name (minimised ones included).
QStringList NombresHijas(QWidget* principal);

// A control of a screen by its object name; a missing one ends the test program.
template <class T = QLineEdit>
T* Control(QWidget* w, const QString& nombre) {
    T* c = w->findChild<T*>(nombre);
    if (!c)
        qFatal("falta el control %s", qPrintable(nombre));
    return c;
}
template <class T = QLineEdit, class W>
T* Control(const std::unique_ptr<W>& w, const QString& nombre) {
    return Control<T>(w.get(), nombre);
}

// Acts on the modal dialog of type T as soon as exec() shows it. A dialog
// still open after the action is rejected, so a test never hangs.
template <class T>
void CuandoSeAbra(std::function<void(T*)> accion, int intentos = 500) {
    QTimer::singleShot(10, [accion, intentos] {
        auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!d) {
            if (intentos > 0)
                CuandoSeAbra<T>(accion, intentos - 1);
            return;
        }
        accion(d);
        if (d->isVisible()) {
            qWarning("el diálogo sigue abierto tras la acción");
            d->reject();
        }
    });
}

// Puts the focus in the box and types as a person would, accented letters included.
void Escribe(QWidget* caja, const QString& texto);
// The same over the box's whole text, which the typing replaces.
void Reemplaza(QWidget* caja, const QString& texto);

