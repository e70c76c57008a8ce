#pragma once
// The rows of the program's tables from one engine into another.
class MotorBD;

// Copies every row of the program's tables from `origen` into `destino`,
// ids included, each value typed as it was read. The caller holds the
// transactions.
void CopiaTablas(MotorBD& origen, MotorBD& destino);
