#pragma once
// The quarterly return box by box, without windows: Modelo 303 for IVA and
// Modelo 420 for IGIC, from the invoices of two dates. Amounts are whole
// cents and rates hundredths of a percent, so that every sum is exact.
//
// An invoice is declared in the period of its date of declaration (see
// FechaDeclaracion): a sale by its operation date, a purchase by its
// reception date. The quarter browser lists invoices by their issue date; the
// return says which invoices it took in or left out because of that, and its
// check against the browser counts them.
#include <QDate>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

class ConexionBD;

enum class ModeloDeclaracion { M303, M420 };

// 420 for the tax word "IGIC" (any case, blanks around it), 303 for any other.
ModeloDeclaracion ModeloDeImpuesto(const QString& palabra);
// "IVA", "IGIC".
QString ImpuestoDelModelo(ModeloDeclaracion modelo);
// "Modelo 303 (IVA)", "Modelo 420 (IGIC)".
QString NombreModelo(ModeloDeclaracion modelo);

// One invoice as the return reads it: the stored figures, none completed.
struct FacturaDeclarada {
    qint64 id = 0;  // in the database; 0 for none
    QString codigo;
    QDate fecha;           // of issue
    QDate fechaOperacion;  // invalid when it has none
    bool cobro = false;    // "Cobros"; otherwise "Pagos"
    qint64 base = 0, cuota = 0, total = 0;  // cents; a Null amount counts as zero
    std::optional<qint64> tipo;             // hundredths of a percent (2100 is 21 %); none when Null
    // The amounts stored as Null.
    bool sinBase = false, sinCuota = false, sinTotal = false;
    // IMPORTE_IVA as stored (0 when Null): the browser sums these unrounded.
    double cuotaLeida = 0;

    bool Negativa() const { return total < 0; }
    bool Incompleta() const { return sinBase || sinCuota || sinTotal || !tipo; }
    // The date whose rates apply: the operation's, else the issue's.
    QDate FechaDevengo() const { return fechaOperacion.isValid() ? fechaOperacion : fecha; }
    // The date that places it in a period.
    QDate FechaDeclaracion() const;
};

// Where a box stands on the form.
enum class Apartado { Devengado, Deducible, Resultado };

struct Casilla {
    QString numero;  // as the form writes it: "07", "150"
    QString concepto;
    Apartado apartado = Apartado::Devengado;
    qint64 valor = 0;    // cents, or hundredths of a percent for a rate box
    bool total = false;  // a total or a result, printed bold
    bool vacia = false;  // a row of the form left blank (420 rows without a rate)
    // "1.000,00", a rate "21,00"; "" for a blank box.
    QString Texto() const;
};

// Invoices of one side and rate added to no box, and why.
struct TipoSinCasilla {
    enum class Motivo {
        NoVigente,    // no rate, or not one in force on the operation's date
        FilaOcupada,  // in force, but its row of the form holds another rate
    };
    bool cobro = true;
    std::optional<qint64> tipo;  // none: invoices without a rate
    Motivo motivo = Motivo::NoVigente;
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
    // Missing their VAT amount, net, total or rate: listed before the boxes.
    std::vector<FacturaDeclarada> incompletas;
    // Taken in, and left out, by their operation date against their issue date.
    std::vector<FacturaDeclarada> entran, salen;
    // The current purchases of boxes 28/29 by rate (the annual summary splits them).
    struct BaseCuota {
        qint64 base = 0, cuota = 0;
    };
    std::map<qint64, BaseCuota> interioresPorTipo;
    // Paid invoices without a cuota (0 % or exempt): in no box.
    qint64 baseSinCuota = 0;
    int pagosSinCuota = 0;
    // The browser's VAT difference collected minus paid for the same dates,
    // as it shows it; "" when it was not compared.
    QString diferenciaNavegador;
    // The same difference worked out the browser's way (unrounded sums, each
    // then rounded) from the invoices the return read with an issue date
    // between the dates: two texts when a sum falls on half a cent, which
    // the engine's own summing decides.
    QStringList diferenciasLeidas;

    const Casilla* Busca(const QString& numero) const;
    qint64 Valor(const QString& numero) const;  // 0 for a box the model lacks
    // The cuotas added to no box: collected ones add, paid ones subtract.
    qint64 CuotasSinCasilla() const;
    // Total devengado minus total a deducir: 27 - 45 (303), 25 - 40 (420).
    qint64 Resultado() const;
    // What the browser's difference must be, from the return: the result and
    // the cuotas without a box, less the invoices taken in by their operation
    // date and plus those left out, every amount to the cent.
    qint64 Comprobacion() const;
    // The browser shows the same, or what differs is only the rounding of
    // amounts with more than two decimals.
    bool Cuadra() const;

    // "Modelo 303 (IVA) entre las fechas 01/01/2026  y  31/03/2026"
    QString Titulo() const;
    // The warnings and checks, one line each, in the order they are shown;
    // `advertencia` marks what the user must look into before filing.
    struct Aviso {
        QString texto;
        bool advertencia;
    };
    // The incomplete invoices, shown before the boxes.
    std::vector<Aviso> AvisosPrevios() const;
    // The rest, shown after the boxes.
    std::vector<Aviso> Avisos() const;
    // What the command writes: the title and the incomplete invoices after
    // "# ", one line per box, number and amount separated by a tab
    // ("07\t1.000,00"), then the other warnings after "# ".
    QStringList LineasOrden() const;
};

// The return of the dates from these invoices: those of the period by their
// date of declaration go to the boxes; the others are only counted for the
// comparison with the browser when their issue date is between the dates.
Liquidacion CalculaLiquidacion(ModeloDeclaracion modelo, const QString& impuesto, const QDate& desde,
                               const QDate& hasta, const std::vector<FacturaDeclarada>& facturas);

// The invoices of types "C" and "P" that the dates may hold: issued or
// operated between them, without their codes (CompletaCodigos gives them to
// those a return lists). Throws ErrorBD.
std::vector<FacturaDeclarada> LeeFacturasDeclaradas(ConexionBD& con, const QDate& desde, const QDate& hasta);
// The codes of the invoices the return names, by their id. Throws ErrorBD.
void CompletaCodigos(ConexionBD& con, Liquidacion& l);

// The return of the dates (texts as the browser holds them, already checked),
// compared with the browser's difference. Throws ErrorBD.
Liquidacion LeeLiquidacion(ConexionBD& con, const QString& desde, const QString& hasta, const QString& impuesto);

// A year and a quarter as a script writes them ("2026", "1".."4" or "1T".."4T"):
// the quarter's dates, or the Spanish reason it is refused.
struct PeriodoOrden {
    QString desde, hasta;
    QString error;
};
PeriodoOrden LeePeriodoOrden(const QString& anio, const QString& trimestre);
