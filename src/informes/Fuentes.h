#pragma once
// The faces the screens name (Tahoma, Arial, Verdana, MS Sans Serif) on
// machines that lack them: free look-alikes stand in.
#include <QFont>
#include <QString>

// Loads the free Tahoma and MS Sans Serif look-alikes when they are installed
// and sets the substitutes (the screen tests, the reports).
void InstalaSustitutosFuentes();
// The substitutes alone, at start: the Tahoma look-alike is loaded by the
// first Fuente() of that face.
void PreparaSustitutosFuentes();

// A font of the named face, in points.
QFont Fuente(const QString& familia, double puntos, bool negrita = false);
