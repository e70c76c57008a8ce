#pragma once
// What a text box may hand to the database. The one rule every screen that
// writes text applies before any statement: no control characters (the
// invisible ones a paste may bring, a NUL among them; a line break only in a
// box of several lines) and never half a character. Lengths count whole
// characters: an emoji is one, though it takes two UTF-16 units.
#include <QString>

bool TextoAdmitido(const QString& texto, bool variasLineas = false);
// The message for a box whose text is not admitted, named by its caption.
QString MensajeTextoNoAdmitido(const QString& campo);

// Whole characters in the text.
int LongitudEnCaracteres(const QString& texto);
// Leaves at most `limite` whole characters: halves of a character go, and
// what exceeds the limit goes from just before `cursor` (where an insertion
// ends), as a box with a length limit drops the part of a paste that does not
// fit. `cursor` follows the text.
void RecortaACaracteres(QString& texto, int& cursor, int limite);
