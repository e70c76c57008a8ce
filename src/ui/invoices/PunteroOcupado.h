#pragma once
// The busy pointer for the time of a block of database work; set back on
// leaving the block, also when a failure is thrown through it.
#include <QApplication>
#include <QCursor>

class PunteroOcupado {
public:
    PunteroOcupado() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~PunteroOcupado() { QApplication::restoreOverrideCursor(); }
    PunteroOcupado(const PunteroOcupado&) = delete;
    PunteroOcupado& operator=(const PunteroOcupado&) = delete;
};
