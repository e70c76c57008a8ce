#pragma once
// The faces the screens name (Tahoma, Arial, Verdana, MS Sans Serif) on
// machines that lack them: free look-alikes stand in.
#include <QFont>
#include <QString>

// Loads the free Tahoma and MS Sans Serif look-alikes when they are installed
// and sets the substitutes. Called once at start (and by the screen tests).
void InstalaSustitutosFuentes();

// A font of the named face, in points.
QFont Fuente(const QString& familia, double puntos, bool negrita = false);
