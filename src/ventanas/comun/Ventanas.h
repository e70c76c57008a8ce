#pragma once
// How screens find the frame and each other. The main window installs itself
// here; where there is none (tests) child screens show as top-level windows.
#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <functional>

class QDialog;
class QPrinter;

QWidget* VentanaPrincipal();
void EstableceVentanaPrincipal(QWidget* ventana);

// The main window installs how a child screen enters the frame.
void EstableceMostradorHija(std::function<void(QWidget*)> mostrador);
// Shows `w` as a child window of the frame and brings it forward.
void MuestraHija(QWidget* w);
// The open screen with this object name (a child of the frame or a top-level window).
QWidget* BuscaPantalla(const QString& nombre);
// Every open screen (children of the frame and top-level windows) but the frame itself.
QList<QWidget*> PantallasAbiertas();

// After the database was replaced by another (a restore): every open screen
// reads its data again (its method ActualizaDatos); one that has no such
// method is closed, so that none shows what is no longer there. The button
// menu shows no data.
void ActualizaPantallas();

// One window of a kind at a time: brings the open one forward or creates it.
template <class T>
T* MuestraPantalla(const QString& nombre) {
    if (auto* w = qobject_cast<T*>(BuscaPantalla(nombre))) {
        MuestraHija(w);
        return w;
    }
    T* nueva = new T();
    nueva->setObjectName(nombre);
    nueva->setAttribute(Qt::WA_DeleteOnClose);
    MuestraHija(nueva);
    return nueva;
}

// Shows `dialogo` modally and, once it is closed, gives the keyboard back
// to the control that had it before: the window manager hands the
// activation back to the window, not always the focus to its control.
int EjecutaModal(QDialog& dialogo);

// The one printer the program prints on; the printer setup chooses it.
QPrinter& ImpresoraCompartida();
