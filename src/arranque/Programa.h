#pragma once
// What the program sets up on its QApplication before the start-up sequence.

// Spanish for Qt's own dialogs, the fonts' look-alikes, the message boxes,
// the window icon, the program's name and folder.
void PreparaAplicacion();
// The program's name and folder (from its file), which the database's name follows.
void FijaNombreYCarpeta();
