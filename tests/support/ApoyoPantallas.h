#pragma once
// Helpers for the Qt Test programs of the screens.
#include "ApoyoPruebas.h"

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

// Acts on the next modal window that opens (a dialog shown with exec()):
// polls until one other than those open now is up, then calls `accion` with
// it once. The action must close it (or open the next step).
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

// Types any text (accents, "ñ", "€" included) into a widget, one key per character.
void Teclea(QWidget* w, const QString& texto);

// The visible child screens of the frame, by object name (minimised ones included).
QStringList NombresHijas(QWidget* principal);
