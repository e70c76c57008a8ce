#pragma once
// The listing report: a banded A4 page layout painted by hand onto any
// QPainter device (printer, PDF writer, image, print preview). All positions
// are in twips from the top left corner of their band.
#include "reports/Listado.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;
class QPagedPaintDevice;

// Page and band measures, in twips.
namespace MedidasInforme {
constexpr double AnchoPagina = 11906;  // A4, 210 mm
constexpr double AltoPagina = 16838;   // A4, 297 mm
constexpr double MargenIzquierdo = 850;
constexpr double MargenSuperior = 720;
constexpr double MargenInferior = 720;
constexpr double AltoCabeceraInforme = 1074;
constexpr double AltoCabeceraPagina = 704;
constexpr double AltoDetalle = 248;
constexpr double AltoPieInforme = 1463;
constexpr double AltoPiePagina = 492;
}  // namespace MedidasInforme

enum class Seccion { CabeceraInforme, CabeceraPagina, Detalle, PieInforme, PiePagina };

// One band placed on a page: its top edge in twips from the page's top edge,
// and for a detail band the row it prints.
struct BandaColocada {
    Seccion seccion;
    double arriba;
    int fila = -1;
};

struct PaginaInforme {
    std::vector<BandaColocada> bandas;
    int primeraFila = 0;
    int numFilas = 0;
    // Counts the bands of a kind on this page.
    int Cuenta(Seccion s) const;
};

// Which bands go on which page for a number of rows: report header once at
// the top of the first page, page header and footer on every page, as many
// detail lines as fit, and the report footer after the last line, on a new
// page of its own when it does not fit whole.
std::vector<PaginaInforme> MaquetaInforme(int numFilas);

// The font size, in twips (20 to the point), at which an amount fits a box
// `ancho` twips wide: its design size when it fits. Amounts are never cut.
int TamanoImporte(const QString& texto, int puntos, bool negrita, double ancho);

// Column sums (Null cells left out) and the two differences collected minus paid.
struct SumasInforme {
    double ivaC = 0, totalC = 0, ivaV = 0, totalV = 0;
    double DiferenciaIva() const { return ivaV - ivaC; }
    double DiferenciaTotal() const { return totalV - totalC; }
};
SumasInforme SumaFilas(const std::vector<FilaListado>& filas);

class FacturasRpt {
public:
    FacturasRpt();

    // The names of the text objects the caller may set.
    static const QStringList& NombresTexto();

    // The report keeps its own copy of the rows.
    void SetDataSource(const std::vector<FilaListado>& filas);
    // Sets one named text object; false (and nothing changes) for an unknown name.
    bool SetText(const QString& nombre, const QString& texto);
    // The text an object prints: the caller's text or its design text.
    QString Texto(const QString& nombre) const;

    const std::vector<FilaListado>& Filas() const { return filas_; }
    SumasInforme Sumas() const { return SumaFilas(filas_); }

    // The date the page footer prints; today unless set.
    void SetFechaImpresion(const QDate& fecha) { fechaImpresion_ = fecha; }
    QDate FechaImpresion() const { return fechaImpresion_; }

    int NumPaginas() const;
    // Paints page `pagina` (0-based) with the painter, which must be active on
    // its device. A paged device (printer, PDF) is taken at its page layout;
    // any other device is taken as the whole sheet.
    void PintaPagina(QPainter& p, int pagina) const;
    // Paints every page, or pages desde..hasta (1-based, both included; 0 for
    // all), onto a paged device, starting new pages as needed. Sets nothing on
    // the device; false when the painter cannot start on it.
    bool Imprime(QPagedPaintDevice& dispositivo, int desde = 0, int hasta = 0) const;

private:
    void PintaBanda(QPainter& p, const BandaColocada& b, int pagina) const;

    std::vector<FilaListado> filas_;
    std::vector<PaginaInforme> paginas_;
    QMap<QString, QString> textos_;
    QDate fechaImpresion_;
};
