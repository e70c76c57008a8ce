#pragma once
// Key preview: a window sees the keys typed in any of its controls before the
// control does.
#include <QWidget>
#include <functional>

class QAbstractButton;
class QKeyEvent;

// Hands every key pressed in `ventana` or one of its controls to `alPulsar`
// (with the control the key is meant for) before that control sees it, while
// no modal dialog is up; the key goes no further when `alPulsar` returns true.
void VistaPreviaTeclas(QWidget* ventana, std::function<bool(QWidget* destino, QKeyEvent* tecla)> alPulsar);

// Esc in `ventana` or any of its controls presses `boton`, its cancel button.
void BotonCancelar(QWidget* ventana, QAbstractButton* boton);
