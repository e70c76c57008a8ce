#pragma once
// The quarterly return box by box, without windows: Modelo 303 for IVA and
// Modelo 420 for IGIC, from the invoices of two dates. Amounts are whole
// cents and rates hundredths of a percent, so that every sum is exact.
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class ConexionBD;
class Registros;

enum class ModeloDeclaracion { M303, M420 };

// 420 for the tax word "IGIC" (any case, blanks around it), 303 for any other.
ModeloDeclaracion ModeloDeImpuesto(const QString& palabra);
// "IVA", "IGIC".
QString ImpuestoDelModelo(ModeloDeclaracion modelo);
// "Modelo 303 (IVA)", "Modelo 420 (IGIC)".
QString NombreModelo(ModeloDeclaracion modelo);

// One invoice as the return reads it.
struct FacturaDeclarada {
    QString codigo;
    QDate fecha;
    bool cobro = false;                     // "Cobros"; otherwise "Pagos"
    qint64 base = 0, cuota = 0, total = 0;  // cents
    std::optional<qint64> tipo;             // hundredths of a percent (2100 is 21 %); none when Null
};

// Where a box stands on the form.
enum class Apartado { Devengado, Deducible, Resultado };

struct Casilla {
    QString numero;  // as the form writes it: "07", "150"
    QString concepto;
    Apartado apartado = Apartado::Devengado;
    qint64 valor = 0;  // cents, or hundredths of a percent for a rate box
    bool total = false;  // a total or a result, printed bold
    // "1.000,00", a rate "21,00".
    QString Texto() const;
};

// The collected invoices of a rate that has no boxes on the form.
struct TipoSinCasilla {
    std::optional<qint64> tipo;  // none: invoices without a rate
    qint64 base = 0, cuota = 0;
    int facturas = 0;
};

// An invoice whose cuota is more than a cent away from its base by its rate.
struct CuotaDescuadrada {
    FacturaDeclarada factura;
    qint64 calculada = 0;  // base by rate, to the cent
};

struct Liquidacion {
    ModeloDeclaracion modelo = ModeloDeclaracion::M303;
    QString impuesto;  // the tax word as configured
    QString desde, hasta;
    std::vector<Casilla> casillas;  // in the form's order
    std::vector<TipoSinCasilla> sinCasilla;
    std::vector<CuotaDescuadrada> descuadres;
    // The browser's tax difference collected minus paid for the same dates,
    // as it shows it; "" when it was not compared.
    QString diferenciaNavegador;

    const Casilla* Busca(const QString& numero) const;
    qint64 Valor(const QString& numero) const;  // 0 for a box the model lacks
    qint64 CuotasSinCasilla() const;
    // Total devengado minus total a deducir: 27 - 45 (303), 25 - 40 (420).
    qint64 Resultado() const;
    // The result plus the cuotas without a box is the browser's difference.
    bool Cuadra() const;

    // "Modelo 303 (IVA) entre las fechas 01/01/2026  y  31/03/2026"
    QString Titulo() const;
    // The warnings and checks, one line each, in the order they are shown;
    // `advertencia` marks what the user must look into before filing.
    struct Aviso {
        QString texto;
        bool advertencia;
    };
    std::vector<Aviso> Avisos() const;
    // What the command writes: the title and the warnings after "# ", and one
    // line per box, number and amount separated by a tab ("07\t1.000,00").
    QStringList LineasOrden() const;
};

// The return of these invoices, without the comparison with the browser.
Liquidacion CalculaLiquidacion(ModeloDeclaracion modelo, const QString& impuesto,
                               const std::vector<FacturaDeclarada>& facturas);

// The invoices of a list the browser shows (its columns by name). Null
// amounts count as zero. Throws ErrorBD.
std::vector<FacturaDeclarada> FacturasDeclaradas(const Registros& rs, bool cobros);

// The return of the dates (texts as the browser holds them, already checked)
// read through the browser's own statements, compared with the browser's
// difference. Throws ErrorBD.
Liquidacion LeeLiquidacion(ConexionBD& con, const QString& desde, const QString& hasta, const QString& impuesto);

// A year and a quarter as a script writes them ("2026", "1".."4" or "1T".."4T"):
// the quarter's dates, or the Spanish reason it is refused.
struct PeriodoOrden {
    QString desde, hasta;
    QString error;
};
PeriodoOrden LeePeriodoOrden(const QString& anio, const QString& trimestre);
