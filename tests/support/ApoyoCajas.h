#pragma once
// Helpers for the text boxes of any screen, usable beside a screen's own test helpers.
#include <QString>

class QLineEdit;
class QWidget;

// Pastes with Ctrl+V over the box's whole text, as from another program.
void Pega(QWidget* caja, const QString& texto);
// The most characters the box keeps of a long run of digits pasted into it,
// whatever it held (which it gets back).
int LimiteDeCaja(QLineEdit* caja);
