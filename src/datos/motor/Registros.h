#pragma once
// A static result set: every row is read when it opens. Each cell takes 16
// bytes (a tagged union); the texts of a result set live in one shared block
// of UTF-8 and become QStrings only when a cell is read.
#include "datos/motor/ErrorBD.h"
#include "datos/motor/Valor.h"

#include <QByteArray>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

// One cell: its kind and its value or, for a text, where its bytes are.
struct CeldaCompacta {
    enum Tipo : std::uint8_t { Nulo, Texto, Entero, Decimal, Fecha };
    Tipo tipo = Nulo;
    std::uint32_t bytes = 0;  // texts only
    union {
        qint64 entero;
        double decimal;
        qint64 dia;           // Julian day
        std::uint64_t desde;  // texts: offset in the shared block
    };
    CeldaCompacta() : entero(0) {}
};
static_assert(sizeof(CeldaCompacta) <= 16, "a cell takes 16 bytes at most");

class Registros {
public:
    // How an engine fills a result set, cell after cell, row after row.
    class Constructor {
    public:
        // `filasPrevistas` reserves the cells up front when the engine knows them.
        explicit Constructor(QStringList columnas, size_t filasPrevistas = 0);
        void Nulo() { celdas_.emplace_back(); }
        void Entero(qint64 n);
        void Decimal(double d);
        void Fecha(qint64 diaJuliano);
        void Texto(const char* utf8, int bytes);
        std::unique_ptr<Registros> Termina();

    private:
        std::unique_ptr<Registros> rs_;
        std::vector<CeldaCompacta>& celdas_;
    };

    // True when no row came back (the program reads the first row only).
    bool Fin() const { return numFilas_ == 0; }
    int NumFilas() const { return numFilas_; }
    int NumColumnas() const { return columnas_.size(); }
    const QStringList& Columnas() const { return columnas_; }
    // Column position by name, case-insensitive; -1 when there is none.
    int IndiceColumna(const QString& nombre) const;

    // Field of the current (first) row, by name or zero-based position.
    // Throws ErrorBD for an unknown column or when there is no row.
    Valor Campo(const QString& nombre) const;
    Valor Campo(int columna) const;
    // Any cell.
    Valor Celda(int fila, int columna) const;

    void Cerrar();

private:
    Registros() = default;
    QStringList columnas_;
    std::vector<CeldaCompacta> celdas_;  // row after row
    QByteArray textos_;
    int numFilas_ = 0;
};
