#include "informes/LiquidacionRpt.h"

#include <QFontMetricsF>
#include <QPainter>

using namespace MedidasInforme;

namespace {

const Qt::Alignment kIzq = Qt::AlignLeft;

// The lines' boxes, from the left margin and the line's top edge.
const ObjetoInforme kModelo{171, 0, 9918, 330, 14, true, kIzq, Borde::Ninguno};
const ObjetoInforme kApartado{171, 0, 9918, 270, 11, true, kIzq, Borde::LineaAbajo};
const ObjetoInforme kTituloCasilla{171, 0, 700, 224, 9, true, Qt::AlignHCenter, Borde::Ninguno};
const ObjetoInforme kTituloConcepto{1000, 0, 6500, 224, 9, true, kIzq, Borde::Ninguno};
const ObjetoInforme kTituloImporte{7600, 0, 2489, 224, 9, true, Qt::AlignRight, Borde::Ninguno};
const ObjetoInforme kNumero{171, 0, 700, 224, 10, true, Qt::AlignHCenter, Borde::Marco};
const ObjetoInforme kConcepto{1000, 6, 6500, 224, 10, false, kIzq, Borde::Ninguno};
const ObjetoInforme kConceptoTotal{1000, 6, 6500, 224, 10, true, kIzq, Borde::Ninguno};
const ObjetoInforme kImporte{7600, 6, 2489, 224, 10, false, Qt::AlignRight, Borde::Ninguno};
const ObjetoInforme kImporteTotal{7600, 6, 2489, 224, 10, true, Qt::AlignRight, Borde::Ninguno};
const ObjetoInforme kAviso{171, 0, 9918, 224, 10, false, kIzq, Borde::Ninguno};
const ObjetoInforme kAdvertencia{171, 0, 9918, 224, 10, true, kIzq, Borde::Ninguno};

const double kAltoLinea = 250;     // a box, a column caption
const double kAltoAviso = 240;     // each line of a warning
const double kEntreApartados = 150;
const double kEntreAvisos = 80;

QString TituloApartado(Apartado a, const QString& impuesto) {
    switch (a) {
    case Apartado::Devengado: return impuesto + QStringLiteral(" devengado");
    case Apartado::Deducible: return impuesto + QStringLiteral(" deducible");
    case Apartado::Resultado: break;
    }
    return QStringLiteral("Resultado");
}

}  // namespace

LiquidacionRpt::LiquidacionRpt(const CabeceraEmpresa& empresa, const QString& titulo, const QString& subtitulo,
                               const QDate& fechaImpresion)
    : empresa_(empresa), fecha_(fechaImpresion), titulo_(titulo), subtitulo_(subtitulo), paginas_(empresa) {}

LiquidacionRpt::LiquidacionRpt(const Liquidacion& liquidacion, const CabeceraEmpresa& empresa,
                               const QDate& fechaImpresion)
    : LiquidacionRpt(empresa, QStringLiteral("Liquidación del Trimestre"),
                     LineaTitulo(liquidacion.desde, liquidacion.hasta), fechaImpresion) {
    liquidacion_ = liquidacion;
    const QString impuesto = ImpuestoDelModelo(liquidacion_.modelo);
    Coloca({Renglon::Modelo, {}, NombreModelo(liquidacion_.modelo), {}}, 330);
    // The incomplete invoices come before the boxes they leave short.
    const std::vector<Liquidacion::Aviso> previos = liquidacion_.AvisosPrevios();
    if (!previos.empty())
        ColocaApartado(QStringLiteral("Facturas incompletas"), false);
    for (const Liquidacion::Aviso& aviso : previos)
        ColocaAviso(aviso);
    const std::vector<Casilla>& casillas = liquidacion_.casillas;
    for (size_t i = 0; i < casillas.size(); ++i) {
        const Casilla& c = casillas[i];
        if (i == 0 || c.apartado != casillas[i - 1].apartado)
            ColocaApartado(TituloApartado(c.apartado, impuesto), true);
        ColocaCasilla(c.numero, c.concepto, c.Texto(), c.total);
    }
    ColocaApartado(QStringLiteral("Avisos y comprobaciones"), false);
    for (const Liquidacion::Aviso& aviso : liquidacion_.Avisos())
        ColocaAviso(aviso);
}

void LiquidacionRpt::ColocaApartado(const QString& titulo, bool columnas) {
    // With its column captions, the heading takes them and a box along.
    Coloca({Renglon::Apartado, {}, titulo, {}}, kAltoLinea + 60, kEntreApartados, (columnas ? 3 : 2) * kAltoLinea);
    if (columnas)
        Coloca({Renglon::Columnas, QStringLiteral("Casilla"), QStringLiteral("Concepto"), QStringLiteral("Importe")},
               kAltoLinea);
}

void LiquidacionRpt::ColocaCasilla(const QString& numero, const QString& concepto, const QString& importe, bool total) {
    Renglon r{Renglon::Casilla, numero, concepto, importe};
    r.negrita = total;
    Coloca(r, kAltoLinea);
}

void LiquidacionRpt::ColocaAviso(const Liquidacion::Aviso& aviso) {
    // What must be looked into before filing prints bold.
    const QStringList lineas = ParteEnLineas(aviso.texto, aviso.advertencia ? kAdvertencia : kAviso);
    for (int i = 0; i < lineas.size(); ++i) {
        Renglon r{Renglon::Aviso, {}, lineas[i], {}};
        r.negrita = aviso.advertencia;
        Coloca(r, kAltoAviso, i == 0 ? kEntreAvisos : 0);
    }
}

void LiquidacionRpt::Coloca(Renglon r, double alto, double antes, double reserva) {
    // A caption never stays alone at the foot of a page: it takes the line after it along.
    if (reserva < 0)
        reserva = r.clase == Renglon::Apartado || r.clase == Renglon::Columnas ? 2 * kAltoLinea : 0;
    const PaginasDocumento::Lugar lugar = paginas_.Coloca(alto, antes, reserva);
    r.pagina = lugar.pagina;
    r.arriba = lugar.arriba;
    renglones_.push_back(r);
}

void LiquidacionRpt::PintaContenido(QPainter& p, int pagina) const {
    const double x0 = MargenIzquierdo;
    if (pagina == 0)
        PintaCabeceraDocumento(p, x0, MargenSuperior, empresa_, titulo_, subtitulo_);
    for (const Renglon& r : renglones_) {
        if (r.pagina != pagina)
            continue;
        switch (r.clase) {
        case Renglon::Modelo: PintaTexto(p, kModelo, x0, r.arriba, r.texto); break;
        case Renglon::Apartado: PintaTexto(p, kApartado, x0, r.arriba, r.texto); break;
        case Renglon::Columnas:
            PintaTexto(p, kTituloCasilla, x0, r.arriba, r.numero);
            PintaTexto(p, kTituloConcepto, x0, r.arriba, r.texto);
            PintaTexto(p, kTituloImporte, x0, r.arriba, r.importe);
            break;
        case Renglon::Casilla:
            PintaTexto(p, kNumero, x0, r.arriba, r.numero);
            PintaTexto(p, r.negrita ? kConceptoTotal : kConcepto, x0, r.arriba, r.texto);
            PintaTexto(p, r.negrita ? kImporteTotal : kImporte, x0, r.arriba, r.importe, true);
            break;
        case Renglon::Aviso: PintaTexto(p, r.negrita ? kAdvertencia : kAviso, x0, r.arriba, r.texto); break;
        }
    }
    PintaPieDocumento(p, x0, AltoPagina - MargenInferior - AltoPieDocumento, fecha_, pagina);
}
