#include "informes/FacturasRpt.h"

#include "base/Formatos.h"
#include "informes/Fuentes.h"

#include <QPainter>
#include <algorithm>

using namespace MedidasInforme;

namespace {

using Objeto = ObjetoInforme;

const Qt::Alignment kIzq = Qt::AlignLeft;
const Qt::Alignment kDer = Qt::AlignRight;
const Qt::Alignment kCentro = Qt::AlignHCenter;

// Page header
const Objeto kText5{2938, 113, 2534, 208, 10, true, kCentro, Borde::MarcoGris};
const Objeto kText7{5814, 114, 2556, 208, 10, true, kCentro, Borde::MarcoGris};
const Objeto kText1{1356, 452, 1243, 208, 10, true, kCentro, Borde::LineaAbajo};
const Objeto kTxtIVA1{2938, 452, 1166, 208, 10, true, kDer, Borde::LineaAbajo};
const Objeto kText8{4218, 456, 1243, 208, 10, true, kDer, Borde::LineaAbajo};
const Objeto kTxtIVA2{5814, 456, 1188, 208, 10, true, kDer, Borde::LineaAbajo};
const Objeto kText10{7125, 456, 1243, 208, 10, true, kDer, Borde::LineaAbajo};
const double kLine1X = 5637, kLine1Y = 57;

// Detail
const Objeto kField1{1356, 0, 1283, 230, 10, false, kCentro, Borde::Ninguno};
const Objeto kField3{2938, 0, 1188, 224, 10, false, kDer, Borde::Ninguno};
const Objeto kField4{4218, 0, 1243, 224, 10, false, kDer, Borde::Ninguno};
const Objeto kField7{5814, 0, 1188, 224, 10, false, kDer, Borde::Ninguno};
const Objeto kField8{7125, 0, 1243, 224, 10, false, kDer, Borde::Ninguno};

// Report footer
const Objeto kText6{1808, 40, 855, 220, 10, true, kIzq, Borde::Ninguno};
const Objeto kField10{2938, 40, 1188, 234, 10, true, kDer, Borde::LineaArriba};
const Objeto kField11{4239, 40, 1243, 234, 10, true, kDer, Borde::LineaArriba};
const Objeto kField12{5823, 40, 1188, 234, 10, true, kDer, Borde::LineaArriba};
const Objeto kField13{7124, 40, 1243, 234, 10, true, kDer, Borde::LineaArriba};
const Objeto kBox1{114, 399, 9918, 563, 0, false, kIzq, Borde::Marco};
const Objeto kText11{456, 570, 3708, 289, 12, true, kDer, Borde::Ninguno};
const Objeto kTxtIVA3{4275, 570, 570, 289, 12, true, kDer, Borde::Ninguno};
const Objeto kField14{4902, 570, 1710, 289, 12, false, kIzq, Borde::Ninguno};
const Objeto kText13{6669, 570, 1017, 289, 12, true, kDer, Borde::Ninguno};
const Objeto kField15{7752, 570, 1808, 289, 12, false, kIzq, Borde::Ninguno};
const Objeto kTxtFraseFinal{342, 1155, 9576, 240, 10, false, kCentro, Borde::Ninguno};

QString Importe(const std::optional<double>& v) { return v ? FormatoImporte(*v) : QString(); }

}  // namespace

int PaginaInforme::Cuenta(Seccion s) const {
    return static_cast<int>(std::count_if(bandas.begin(), bandas.end(), [s](const BandaColocada& b) { return b.seccion == s; }));
}

std::vector<PaginaInforme> MaquetaInforme(int numFilas) {
    const double topePie = AltoPagina - MargenInferior - AltoPiePagina;
    std::vector<PaginaInforme> paginas;
    int fila = 0;
    bool pieInforme = false;
    while (!pieInforme) {
        PaginaInforme pg;
        double y = MargenSuperior;
        if (paginas.empty()) {
            pg.bandas.push_back({Seccion::CabeceraInforme, y});
            y += AltoCabeceraInforme;
        }
        pg.bandas.push_back({Seccion::CabeceraPagina, y});
        y += AltoCabeceraPagina;
        pg.primeraFila = fila;
        while (fila < numFilas && y + AltoDetalle <= topePie) {
            pg.bandas.push_back({Seccion::Detalle, y, fila});
            y += AltoDetalle;
            ++fila;
        }
        pg.numFilas = fila - pg.primeraFila;
        if (fila >= numFilas && y + AltoPieInforme <= topePie) {
            pg.bandas.push_back({Seccion::PieInforme, y});
            pieInforme = true;
        }
        pg.bandas.push_back({Seccion::PiePagina, topePie});
        paginas.push_back(std::move(pg));
    }
    return paginas;
}

SumasInforme SumaFilas(const std::vector<FilaListado>& filas) {
    SumasInforme s;
    for (const FilaListado& f : filas) {
        s.ivaC += f.ivaC.value_or(0);
        s.totalC += f.totalC.value_or(0);
        s.ivaV += f.ivaV.value_or(0);
        s.totalV += f.totalV.value_or(0);
    }
    return s;
}

FacturasRpt::FacturasRpt() : fechaImpresion_(QDate::currentDate()) {
    InstalaSustitutosFuentes();
    paginas_ = MaquetaInforme(0);
}

const QStringList& FacturasRpt::NombresTexto() {
    static const QStringList nombres{QStringLiteral("TxtNombre"),     QStringLiteral("TxtDireccion"),
                                     QStringLiteral("TxtOtros"),      QStringLiteral("TxtFecha"),
                                     QStringLiteral("TxtFraseFinal"), QStringLiteral("TxtIVA1"),
                                     QStringLiteral("TxtIVA2"),       QStringLiteral("TxtIVA3")};
    return nombres;
}

void FacturasRpt::SetDataSource(const std::vector<FilaListado>& filas) {
    filas_ = filas;
    paginas_ = MaquetaInforme(static_cast<int>(filas_.size()));
}

bool FacturasRpt::SetText(const QString& nombre, const QString& texto) {
    if (!NombresTexto().contains(nombre))
        return false;
    textos_.insert(nombre, texto);
    return true;
}

QString FacturasRpt::Texto(const QString& nombre) const {
    auto it = textos_.constFind(nombre);
    if (it != textos_.constEnd())
        return it.value();
    if (nombre == QLatin1String("TxtFecha"))
        return QStringLiteral("entre");
    if (nombre.startsWith(QLatin1String("TxtIVA")) && NombresTexto().contains(nombre))
        return QStringLiteral("IVA");
    return QString();
}

int FacturasRpt::NumPaginas() const { return static_cast<int>(paginas_.size()); }

void FacturasRpt::PintaContenido(QPainter& p, int pagina) const {
    const PaginaInforme& pg = paginas_[pagina];
    for (const BandaColocada& b : pg.bandas)
        PintaBanda(p, b, pagina);

    // The separator runs from the page header down through the lines of the
    // page, into the report footer as far as the difference frame.
    double yIni = -1, yFin = -1;
    for (const BandaColocada& b : pg.bandas) {
        switch (b.seccion) {
        case Seccion::CabeceraPagina:
            yIni = b.arriba + kLine1Y;
            yFin = b.arriba + AltoCabeceraPagina;
            break;
        case Seccion::Detalle: yFin = b.arriba + AltoDetalle; break;
        case Seccion::PieInforme: yFin = b.arriba + kBox1.y; break;
        default: break;
        }
    }
    if (yIni >= 0)
        PintaLinea(p, QPointF(MargenIzquierdo + kLine1X, yIni), QPointF(MargenIzquierdo + kLine1X, yFin));
}

void FacturasRpt::PintaBanda(QPainter& p, const BandaColocada& b, int pagina) const {
    const double x0 = MargenIzquierdo, y0 = b.arriba;
    switch (b.seccion) {
    case Seccion::CabeceraInforme:
        PintaCabeceraDocumento(p, x0, y0,
                               {Texto(QStringLiteral("TxtNombre")), Texto(QStringLiteral("TxtDireccion")),
                                Texto(QStringLiteral("TxtOtros"))},
                               QStringLiteral("Listado de Facturación"), Texto(QStringLiteral("TxtFecha")));
        break;
    case Seccion::CabeceraPagina:
        PintaTexto(p, kText5, x0, y0, QStringLiteral("PAGADO"));
        PintaTexto(p, kText7, x0, y0, QStringLiteral("COBRADO"));
        PintaTexto(p, kText1, x0, y0, QStringLiteral("FECHA "));
        PintaTexto(p, kTxtIVA1, x0, y0, Texto(QStringLiteral("TxtIVA1")));
        PintaTexto(p, kText8, x0, y0, QStringLiteral("TOTAL"));
        PintaTexto(p, kTxtIVA2, x0, y0, Texto(QStringLiteral("TxtIVA2")));
        PintaTexto(p, kText10, x0, y0, QStringLiteral("TOTAL"));
        break;
    case Seccion::Detalle: {
        if (b.fila < 0 || b.fila >= static_cast<int>(filas_.size()))
            break;
        const FilaListado& f = filas_[b.fila];
        PintaTexto(p, kField1, x0, y0, f.fecha.isValid() ? EscribeFecha(f.fecha) : QString());
        PintaTexto(p, kField3, x0, y0, Importe(f.ivaC), true);
        PintaTexto(p, kField4, x0, y0, Importe(f.totalC), true);
        PintaTexto(p, kField7, x0, y0, Importe(f.ivaV), true);
        PintaTexto(p, kField8, x0, y0, Importe(f.totalV), true);
        break;
    }
    case Seccion::PieInforme: {
        const SumasInforme s = Sumas();
        PintaTexto(p, kText6, x0, y0, QStringLiteral("TOTAL"));
        PintaTexto(p, kField10, x0, y0, FormatoImporte(s.ivaC), true);
        PintaTexto(p, kField11, x0, y0, FormatoImporte(s.totalC), true);
        PintaTexto(p, kField12, x0, y0, FormatoImporte(s.ivaV), true);
        PintaTexto(p, kField13, x0, y0, FormatoImporte(s.totalV), true);
        PintaBorde(p, CajaObjeto(kBox1, x0, y0), kBox1.borde);
        PintaTexto(p, kText11, x0, y0, QStringLiteral("DIFERENCIA (Cobros - Pagos)"));
        PintaTexto(p, kTxtIVA3, x0, y0, Texto(QStringLiteral("TxtIVA3")));
        PintaTexto(p, kField14, x0, y0, FormatoImporte(s.DiferenciaIva()), true);
        PintaTexto(p, kText13, x0, y0, QStringLiteral("TOTAL"));
        PintaTexto(p, kField15, x0, y0, FormatoImporte(s.DiferenciaTotal()), true);
        PintaTexto(p, kTxtFraseFinal, x0, y0, Texto(QStringLiteral("TxtFraseFinal")));
        break;
    }
    case Seccion::PiePagina:
        PintaPieDocumento(p, x0, y0, fechaImpresion_, pagina);
        break;
    }
}
