#pragma once
// The year's declaration of operations with third parties (Modelo 347)
// without windows: one row per counterparty and key whose net total of the
// year, VAT included, exceeds the threshold, with its four quarters by the
// same period rule as the quarterly return. Amounts are whole cents.
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <vector>

class ConexionBD;

// 3.005,06 €: a total must exceed it, in absolute value, to be declared.
constexpr qint64 Umbral347 = 300506;

// One invoice as the declaration reads it.
struct FacturaTercero {
    bool cobro = false;  // "Cobros" (key B); otherwise "Pagos" (key A)
    QDate fecha;            // of issue
    QDate fechaOperacion;   // invalid when it has none
    qint64 total = 0;       // cents, VAT included; Null counts as zero
    QString nif;            // as stored
    QString nombre, pais;   // the counterparty as the invoice names it
};

// A customer or supplier as kept once, by its NIF.
struct DatosTercero {
    QString nombre, pais, codigoPostal;
};

struct Fila347 {
    QChar clave;  // 'A' paid, 'B' collected
    QString nif;  // normalised; empty for a named counterparty without one
    QString nombre;
    QString provincia;  // "28"; "99" abroad; "" without a Spanish postal code
    QString pais;       // "" for Spain
    qint64 total = 0;
    std::array<qint64, 4> trimestres{};
    int facturas = 0;
    bool Extranjero() const { return !pais.isEmpty(); }
};

struct Modelo347 {
    int anio = 0;
    // Declared, by NIF and key.
    std::vector<Fila347> filas;
    // Above the threshold with an EU country: for the intra-EU return, not this one.
    std::vector<Fila347> intracomunitarios;
    // What the user must look at before filing, one line each.
    QStringList avisos;

    qint64 Total() const;
    // "Modelo 347 del año 2026"
    QString Titulo() const;
    // What the command writes: the title and the warnings after "# ", then
    // one line per row: key, NIF, name, province, country, the year's total
    // and the four quarters, separated by tabs.
    QStringList LineasOrden() const;
};

// A member state of the EU by its two-letter code (Greece as "GR" or "EL",
// Northern Ireland "XI").
bool EsPaisUE(const QString& pais);
// The province of a Spanish postal code ("28001" -> "28"); "" for anything else.
QString ProvinciaDeCodigoPostal(const QString& codigoPostal);

// The declaration of `anio` from these invoices (those of other years by
// their date of declaration are left out) and the customers and suppliers
// kept by NIF (normalised).
Modelo347 CalculaModelo347(int anio, const std::vector<FacturaTercero>& facturas,
                           const std::map<QString, DatosTercero>& terceros);

// The collected and paid invoices the year may hold, in one statement.
// Throws ErrorBD.
std::vector<FacturaTercero> LeeFacturasTerceros(ConexionBD& con, int anio);
// The customers and suppliers kept, by normalised NIF; none in a database of
// an earlier layout opened only to read. Throws ErrorBD.
std::map<QString, DatosTercero> LeeTerceros(ConexionBD& con);
// Both, and the declaration. Throws ErrorBD.
Modelo347 LeeModelo347(ConexionBD& con, int anio);

// A year as a script writes it ("2026", "26"), or 0 with the Spanish reason.
int LeeAnioOrden(const QString& texto, QString* error);
