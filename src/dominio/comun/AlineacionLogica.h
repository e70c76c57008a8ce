#pragma once
// How a list grid aligns a column, from the name of the database column it
// shows: numbers and codes on the right, dates in the centre, texts on the left.
#include <QString>

// The values are the grid's own alignment codes.
enum class Alineacion { Izquierda = 0, Derecha = 1, Centro = 2 };

// The prefix is the part before the first "_" (the whole name without one),
// compared exactly: NUM, COD, CANTIDAD, IMPORTE, PRECIO, TOTAL -> right;
// FECHA -> centre; anything else -> left.
Alineacion AlineacionColumna(const QString& nombreCampo);
