#pragma once
// Checks of a window as a person meets it, for any screen: no two visible
// controls over each other, each inside its window and the window inside
// the screen; access keys used twice; controls Tab never reaches.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QWidget;

// Controls that stand over each other by design, by object name.
using Superpuestos = QList<QPair<QString, QString>>;

// One line per fault found; none for a sound window. The children of a
// frame window (its client area) are windows of their own; the content of a
// scroll area may reach past its view, which scrolls to it.
QStringList FallosDisposicion(QWidget* ventana, const Superpuestos& permitidos = {});

// The access keys ("&E") more than one control of the window answers to,
// one line each, naming the controls. Each menu of a menu bar counts as a
// window of its own; a child window of a frame does not count with it.
QStringList TeclasAccesoRepetidas(QWidget* ventana);

// The controls of the shown, active window that can take the focus with
// Tab but that Tab, pressed round the window from the focused control,
// never reaches.
QStringList ControlesSinTabulador(QWidget* ventana);

// What the window shows, as `nombre`.png in the folder "capturas/escala<N>"
// of the current folder, for a person to look at.
void GuardaCaptura(QWidget* ventana, const QString& nombre);
