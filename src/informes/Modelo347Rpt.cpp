#include "informes/Modelo347Rpt.h"

#include "base/Formatos.h"
#include "dominio/declaraciones/Modelo347Logica.h"

#include <QFontMetricsF>
#include <QPainter>

using namespace MedidasInforme;

namespace {

const Qt::Alignment kIzq = Qt::AlignLeft;
const Qt::Alignment kCentro = Qt::AlignHCenter;
const Qt::Alignment kDer = Qt::AlignRight;

const ObjetoInforme kTitulo{171, 0, 9918, 330, 13, true, kIzq, Borde::Ninguno};
const ObjetoInforme kApartado{171, 0, 9918, 270, 11, true, kIzq, Borde::LineaAbajo};
const ObjetoInforme kAviso{171, 0, 9918, 224, 9, false, kIzq, Borde::Ninguno};

// The row's columns: key, NIF, name, province, country, total, 1T..4T.
struct Columna {
    double x, ancho;
    Qt::Alignment alineacion;
    bool importe;
};
const Columna kColumnas[] = {{171, 420, kCentro, false},  {611, 1000, kIzq, false},   {1631, 2260, kIzq, false},
                             {3911, 400, kCentro, false}, {4331, 400, kCentro, false}, {4751, 1180, kDer, true},
                             {5951, 1020, kDer, true},    {6991, 1020, kDer, true},   {8031, 1020, kDer, true},
                             {9071, 1018, kDer, true}};
constexpr int kPuntosFila = 8;

const double kAltoLinea = 230;
const double kAltoAviso = 220;
const double kEntreApartados = 150;
const double kEntreAvisos = 50;

QStringList Importes(qint64 total, const std::array<qint64, 4>& trimestres) {
    QStringList r{FormatoCentimos(total)};
    for (qint64 t : trimestres)
        r << FormatoCentimos(t);
    return r;
}

}  // namespace

Modelo347Rpt::Modelo347Rpt(const Modelo347& modelo, const CabeceraEmpresa& empresa, const QDate& fechaImpresion)
    : modelo_(modelo), empresa_(empresa), fecha_(fechaImpresion), paginas_(empresa) {
    Coloca({Renglon::Titulo, {TextoModelo347::Titulo}}, 330);
    // What must be looked into before filing comes before the rows.
    if (!modelo_.avisos.isEmpty()) {
        Coloca({Renglon::Apartado, {QStringLiteral("Avisos")}}, kAltoLinea + 60, kEntreApartados);
        for (const QString& aviso : modelo_.avisos) {
            const QStringList lineas = ParteEnLineas(aviso, kAviso);
            for (int i = 0; i < lineas.size(); ++i)
                Coloca({Renglon::Aviso, {lineas[i]}}, kAltoAviso, i == 0 ? kEntreAvisos : 0);
        }
    }
    const QStringList columnas{QStringLiteral("Clave"), QStringLiteral("NIF"), QStringLiteral("Nombre"),
                               QStringLiteral("Prov."), QStringLiteral("País"), QStringLiteral("Total anual"),
                               QStringLiteral("1T"), QStringLiteral("2T"), QStringLiteral("3T"), QStringLiteral("4T")};
    const std::vector<TotalClave347> totales = TotalesPorClave(modelo_);
    size_t fila = 0;
    for (const TotalClave347& t : totales) {
        Coloca({Renglon::Apartado, {NombreClave347(t.clave)}}, kAltoLinea + 60, kEntreApartados);
        Coloca({Renglon::Columnas, columnas}, kAltoLinea);
        for (int i = 0; i < t.declarados; ++i, ++fila) {
            const Fila347& f = modelo_.filas[fila];
            Coloca({Renglon::Fila, QStringList{QString(f.clave), f.nif, f.nombre, f.provincia, f.pais} +
                                       Importes(f.total, f.trimestres)},
                   kAltoLinea);
        }
        Coloca({Renglon::Total, QStringList{TextoTotalClave(t)} + Importes(t.total, t.trimestres)}, kAltoLinea + 40, 40);
    }
    if (totales.empty())
        Coloca({Renglon::Apartado, {TextoModelo347::SinDeclarados}}, kAltoLinea + 60,
               kEntreApartados);
}

void Modelo347Rpt::Coloca(Renglon r, double alto, double antes) {
    // A caption never stays alone at the foot of a page: it takes the line after it along.
    const double reserva = r.clase == Renglon::Apartado || r.clase == Renglon::Columnas ? 2 * kAltoLinea : 0;
    const PaginasDocumento::Lugar lugar = paginas_.Coloca(alto, antes, reserva);
    r.pagina = lugar.pagina;
    r.arriba = lugar.arriba;
    renglones_.push_back(r);
}

void Modelo347Rpt::PintaContenido(QPainter& p, int pagina) const {
    const double x0 = MargenIzquierdo;
    if (pagina == 0)
        PintaCabeceraDocumento(p, x0, MargenSuperior, empresa_, QStringLiteral("Modelo 347"),
                               QStringLiteral("Operaciones con terceros del año %1").arg(modelo_.anio));
    for (const Renglon& r : renglones_) {
        if (r.pagina != pagina)
            continue;
        switch (r.clase) {
        case Renglon::Titulo: PintaTexto(p, kTitulo, x0, r.arriba, r.textos.value(0)); break;
        case Renglon::Apartado: PintaTexto(p, kApartado, x0, r.arriba, r.textos.value(0)); break;
        case Renglon::Aviso: PintaTexto(p, kAviso, x0, r.arriba, r.textos.value(0)); break;
        case Renglon::Columnas:
        case Renglon::Fila:
            for (int i = 0; i < r.textos.size() && i < static_cast<int>(std::size(kColumnas)); ++i) {
                const Columna& c = kColumnas[i];
                const bool titulos = r.clase == Renglon::Columnas;
                PintaTexto(p, {c.x, 0, c.ancho, 224, kPuntosFila, titulos, titulos && c.importe ? kDer : c.alineacion,
                               titulos ? Borde::LineaAbajo : Borde::Ninguno},
                           x0, r.arriba, r.textos[i], c.importe && !titulos);
            }
            break;
        case Renglon::Total: {
            // The caption takes the columns before the amounts.
            const Columna& total = kColumnas[5];
            PintaTexto(p, {kColumnas[0].x, 30, total.x - kColumnas[0].x - 20, 224, kPuntosFila, true, kIzq,
                           Borde::Ninguno},
                       x0, r.arriba, r.textos.value(0));
            PintaLinea(p, QPointF(x0 + total.x, r.arriba + 10), QPointF(x0 + 10089, r.arriba + 10));
            for (int i = 1; i < r.textos.size() && i + 4 < static_cast<int>(std::size(kColumnas)); ++i) {
                const Columna& c = kColumnas[i + 4];
                PintaTexto(p, {c.x, 30, c.ancho, 224, kPuntosFila, true, kDer, Borde::Ninguno}, x0, r.arriba,
                           r.textos[i], true);
            }
            break;
        }
        }
    }
    PintaPieDocumento(p, x0, AltoPagina - MargenInferior - AltoPieDocumento, fecha_, pagina);
}
