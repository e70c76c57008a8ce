#pragma once
// The busy pointer for the time of a block of database work; set back on
// leaving the block (also when a failure is thrown through it), or earlier
// with Restaura when a message must show with the normal pointer.
#include <QApplication>
#include <QCursor>

class PunteroOcupado {
public:
    PunteroOcupado() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~PunteroOcupado() { Restaura(); }
    PunteroOcupado(const PunteroOcupado&) = delete;
    PunteroOcupado& operator=(const PunteroOcupado&) = delete;
    void Restaura() {
        if (activo_)
            QApplication::restoreOverrideCursor();
        activo_ = false;
    }

private:
    bool activo_ = true;
};
