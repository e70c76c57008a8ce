#pragma once
// Spanish dictionary order of texts ("Álava" with the A's, "a-1" beside
// "A-1", "ñ" after "n"), the same on every machine whatever its locale.
#include <QString>

namespace OrdenEspanol {
// Negative, zero or positive as `a` sorts before, with or after `b`. Texts of
// printable ASCII (nearly every invoice code) are compared by tables taken
// once from the collator, without converting them; the rest goes through the
// collator. Texts equal to the collator are ordered by their code points, so
// that only identical texts compare equal.
int Compara(const char* a, int bytesA, const char* b, int bytesB);
int Compara(const QString& a, const QString& b);
}  // namespace OrdenEspanol
