#pragma once
// The year's VAT summary (Modelo 390) without windows, for a business in the
// general regime: the boxes its invoices fill, from the same invoices and
// period rule as the quarterly return, and the check against the year's four
// quarterly returns as the program computes them. Amounts are whole cents.
#include "dominio/liquidacion/Liquidacion.h"

#include <array>
#include <memory>

class Registros;

// One box of the form, with its place in the agency's import file.
struct Casilla390 {
    QString numero;  // "01", "700"
    QString concepto;
    QString seccion;  // the form's heading it stands under
    const char* pagina = "";  // "02000"
    int posicion = 0;         // first character in its page, from 1
    qint64 valor = 0;
    bool total = false;  // printed bold
};

struct Modelo390 {
    int anio = 0;
    QString impuesto;  // the tax word as configured
    std::vector<Casilla390> casillas;  // in the form's order
    // Box 71 of the quarterly returns 1T..4T: positive to pay, negative a credit.
    std::array<qint64, 4> trimestres{};
    // The boxes whose yearly figure differs from the sum of the quarters'
    // ("06: 1.000,00 frente a 990,00 de los trimestres"); none when it tallies.
    QStringList diferencias;
    // What the user must look at, shown before the boxes (incomplete
    // invoices) and after them.
    std::vector<Liquidacion::Aviso> avisosPrevios, avisos;

    const Casilla390* Busca(const QString& numero) const;
    qint64 Valor(const QString& numero) const;
    qint64 SumaTrimestres() const;
    // 86 minus the sum of the quarterly results.
    qint64 Diferencia() const;
    bool Cuadra() const { return Diferencia() == 0 && diferencias.isEmpty(); }
    // The check line: 86 against the quarters and against 95 − 97 − 98 − 662.
    QString Comprobacion() const;
    // "Modelo 390 (IVA), resumen anual del año 2025"
    QString Titulo() const;
    // What the command writes: the title and the incomplete invoices after
    // "# ", one line per box ("06\t1.000,00"), then the quarterly results,
    // the check and the other warnings after "# ".
    QStringList LineasOrden() const;
};

// The summary of `anio` from these invoices (those of other years by their
// date of declaration are left out).
Modelo390 CalculaModelo390(int anio, const QString& impuesto, const std::vector<FacturaDeclarada>& facturas);

// The year's invoices and the summary, with the codes of the invoices it
// names. Throws ErrorBD.
Modelo390 LeeModelo390(ConexionBD& con, int anio, const QString& impuesto);

// The screen's grid: "Casilla", "Concepto", "Importe", one row per box and a
// row with the heading where a section of the form starts.
std::unique_ptr<Registros> RegistrosModelo390(const Modelo390& m);
// The names proposed for its PDF and its agency's file: "Modelo 390 2025.pdf", "Modelo 390 2025.txt".
QString NombreArchivo390(int anio, const QString& extension);
