#pragma once
// Shared steps of the invoice screen tests: finding controls, typing into the
// focused control, and acting on the editor while it is shown modally.
#include "ventanas/facturas/FacturasDatosFrm.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

template <class T>
T* Control(QWidget* w, const QString& nombre) {
    T* c = w->findChild<T*>(nombre);
    if (!c)
        qWarning("control %s not found", qPrintable(nombre));
    return c;
}

inline QWidget* Foco() { return QApplication::focusWidget(); }
inline QString NombreFoco() { return Foco() ? Foco()->objectName() : QStringLiteral("<none>"); }

// Types into whatever has the focus, as a person at the keyboard would.
inline void Teclea(const QString& texto) { QTest::keyClicks(Foco(), texto); }
inline void Pulsa(Qt::Key tecla, Qt::KeyboardModifiers mod = Qt::NoModifier) { QTest::keyClick(Foco(), tecla, mod); }
inline void Intro() { Pulsa(Qt::Key_Return); }
// Replaces the whole text of the focused box.
inline void Reescribe(const QString& texto) {
    Pulsa(Qt::Key_A, Qt::ControlModifier);
    if (texto.isEmpty())
        Pulsa(Qt::Key_Delete);
    else
        Teclea(texto);
}

// Waits until the widget itself is the active window: a dialog counts as
// active for its window system handle as soon as its parent window is.
inline void Activa(QWidget* w) {
    w->activateWindow();
    QVERIFY(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }));
}

// Runs `accion` on the editor as soon as it shows modally. Whatever the
// action leaves open is cancelled, so a failing test never waits for a person.
inline void CuandoEditor(std::function<void(FacturasDatosFrm*)> accion, bool* hecho = nullptr) {
    auto* t = new QTimer;
    t->setInterval(5);
    QObject::connect(t, &QTimer::timeout, [t, accion, hecho] {
        auto* d = qobject_cast<FacturasDatosFrm*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        t->stop();
        t->deleteLater();
        Activa(d);
        accion(d);
        if (hecho)
            *hecho = true;
        if (d->isVisible())
            d->reject();
    });
    t->start();
}

// The texts of one row of a grid, visible columns only.
inline QStringList FilaRejilla(QTableView* v, int fila) {
    QStringList r;
    for (int c = 0; c < v->model()->columnCount(); ++c)
        if (!v->isColumnHidden(c))
            r << v->model()->index(fila, c).data().toString();
    return r;
}

inline void DobleClic(QTableView* v, int fila) {
    const QRect r = v->visualRect(v->model()->index(fila, 1));
    const QPoint p = r.isValid() ? r.center() : QPoint(20, 20);
    QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, p);
}
