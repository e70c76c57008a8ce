#pragma once
// The listing report: a banded A4 page layout painted by hand onto any
// QPainter device (printer, PDF writer, image, print preview). All positions
// are in twips from the top left corner of their band.
#include "informes/DocumentoRpt.h"
#include "dominio/listado/Listado.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

// Band measures, in twips.
namespace MedidasInforme {
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

// Column sums (Null cells left out) and the two differences collected minus paid.
struct SumasInforme {
    double ivaC = 0, totalC = 0, ivaV = 0, totalV = 0;
    double DiferenciaIva() const { return ivaV - ivaC; }
    double DiferenciaTotal() const { return totalV - totalC; }
};
SumasInforme SumaFilas(const std::vector<FilaListado>& filas);

class FacturasRpt : public DocumentoRpt {
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

    int NumPaginas() const override;

protected:
    void PintaContenido(QPainter& p, int pagina) const override;

private:
    void PintaBanda(QPainter& p, const BandaColocada& b, int pagina) const;

    std::vector<FilaListado> filas_;
    std::vector<PaginaInforme> paginas_;
    QMap<QString, QString> textos_;
    QDate fechaImpresion_;
};
