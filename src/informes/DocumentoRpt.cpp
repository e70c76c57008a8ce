#include "informes/DocumentoRpt.h"

#include "base/Archivos.h"
#include "base/Bitacora.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "dominio/listado/Listado.h"
#include "informes/Fuentes.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrinter>
#include <QTemporaryFile>
#include <algorithm>

namespace {

// Lines and frames: half a point.
const double kGrosorLinea = 10;
const QColor kPlata(192, 192, 192);

QPen Pluma() {
    QPen pluma(Qt::black, kGrosorLinea);
    pluma.setCapStyle(Qt::FlatCap);
    return pluma;
}

const Qt::Alignment kIzq = Qt::AlignLeft;

const ObjetoInforme kTxtNombre{171, 57, 3933, 240, 10, false, kIzq, Borde::Ninguno};
const ObjetoInforme kTxtDireccion{171, 342, 3933, 240, 10, false, kIzq, Borde::Ninguno};
const ObjetoInforme kTxtOtros{171, 627, 3933, 240, 10, false, kIzq, Borde::Ninguno};
const ObjetoInforme kTxtNif{171, 912, 3933, 240, 10, false, kIzq, Borde::Ninguno};
const ObjetoInforme kTxtTitulo{4218, 114, 5871, 399, 18, false, Qt::AlignHCenter, Borde::Ninguno};
const ObjetoInforme kTxtFecha{4218, 570, 5871, 240, 10, false, kIzq, Borde::Ninguno};

const ObjetoInforme kField5{114, 171, 1068, 228, 10, false, kIzq, Borde::Ninguno};
const ObjetoInforme kField6{9006, 171, 1068, 228, 10, false, Qt::AlignRight, Borde::Ninguno};

}  // namespace

QPageLayout PaginaA4() { return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()); }

QFont FuenteInforme(int puntos, bool negrita) {
    InstalaSustitutosFuentes();
    QFont f = Fuente(QStringLiteral("Arial"), puntos, negrita);
    f.setPixelSize(puntos * 20);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

int TamanoImporte(const QString& texto, int puntos, bool negrita, double ancho) {
    QFont f = FuenteInforme(puntos, negrita);
    int tamano = f.pixelSize();
    while (tamano > 1 && QFontMetricsF(f).horizontalAdvance(texto) > ancho)
        f.setPixelSize(--tamano);
    return tamano;
}

QRectF CajaObjeto(const ObjetoInforme& o, double x0, double y0) { return QRectF(x0 + o.x, y0 + o.y, o.ancho, o.alto); }

void PintaBorde(QPainter& p, const QRectF& r, Borde borde) {
    p.setPen(Pluma());
    p.setBrush(Qt::NoBrush);
    switch (borde) {
    case Borde::Ninguno: break;
    case Borde::MarcoGris: p.fillRect(r, kPlata); [[fallthrough]];
    case Borde::Marco: p.drawRect(r); break;
    case Borde::LineaAbajo: p.drawLine(r.bottomLeft(), r.bottomRight()); break;
    case Borde::LineaArriba: p.drawLine(r.topLeft(), r.topRight()); break;
    }
}

void PintaLinea(QPainter& p, const QPointF& desde, const QPointF& hasta) {
    p.setPen(Pluma());
    p.drawLine(desde, hasta);
}

void PintaTexto(QPainter& p, const ObjetoInforme& o, double x0, double y0, const QString& texto, bool importe) {
    const QRectF r = CajaObjeto(o, x0, y0);
    PintaBorde(p, r, o.borde);
    if (texto.isEmpty())
        return;
    QFont f = FuenteInforme(o.puntos, o.negrita);
    QFontMetricsF fm(f);
    Qt::Alignment al = o.alineacion;
    const double ancho = fm.horizontalAdvance(texto);
    if (ancho > r.width()) {
        if (importe) {
            f.setPixelSize(TamanoImporte(texto, o.puntos, o.negrita, r.width()));
            fm = QFontMetricsF(f);
        } else {
            al = Qt::AlignLeft;
        }
    }
    p.save();
    // Glyphs may reach below a box drawn smaller than the line; only the sides clip.
    p.setClipRect(QRectF(r.left(), r.top(), r.width(), std::max(r.height(), fm.height())), Qt::IntersectClip);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(r, static_cast<int>(al | Qt::AlignTop | Qt::TextSingleLine), texto);
    p.restore();
}

void PintaCabeceraDocumento(QPainter& p, double x0, double y0, const CabeceraEmpresa& empresa, const QString& titulo,
                            const QString& subtitulo) {
    PintaTexto(p, kTxtNombre, x0, y0, empresa.linea1);
    PintaTexto(p, kTxtDireccion, x0, y0, empresa.linea2);
    PintaTexto(p, kTxtOtros, x0, y0, empresa.linea3);
    if (!empresa.nif.isEmpty())
        PintaTexto(p, kTxtNif, x0, y0, QStringLiteral("NIF: ") + empresa.nif);
    PintaTexto(p, kTxtTitulo, x0, y0, titulo);
    PintaTexto(p, kTxtFecha, x0, y0, subtitulo);
}

void PintaPieDocumento(QPainter& p, double x0, double y0, const QDate& fecha, int pagina) {
    PintaTexto(p, kField5, x0, y0, EscribeFecha(fecha));
    PintaTexto(p, kField6, x0, y0, QString::number(pagina + 1));
}

void DocumentoRpt::PintaPagina(QPainter& p, int pagina) const {
    if (pagina < 0 || pagina >= NumPaginas() || !p.isActive())
        return;
    QPaintDevice* d = p.device();
    const double dpiX = d->logicalDpiX(), dpiY = d->logicalDpiY();
    QPointF origen(0, 0);
    if (auto* paginado = dynamic_cast<QPagedPaintDevice*>(d)) {
        // The painter starts at the printable area's corner; the layout is
        // measured from the sheet's.
        const QPageLayout pl = paginado->pageLayout();
        const QRect util = pl.paintRectPixels(d->logicalDpiX());
        const QRect hoja = pl.fullRectPixels(d->logicalDpiX());
        origen = QPointF(hoja.topLeft() - util.topLeft());
    }
    p.save();
    p.translate(origen);
    p.scale(dpiX / 1440.0, dpiY / 1440.0);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    PintaContenido(p, pagina);
    p.restore();
}

bool DocumentoRpt::Imprime(QPagedPaintDevice& dispositivo, int desde, int hasta) const {
    const int total = NumPaginas();
    const int primera = std::clamp(desde > 0 ? desde : 1, 1, total);
    const int ultima = std::clamp(hasta > 0 ? hasta : total, primera, total);
    QPainter p;
    if (!p.begin(&dispositivo))
        return false;
    for (int i = primera; i <= ultima; ++i) {
        if (i > primera)
            dispositivo.newPage();
        PintaPagina(p, i - 1);
    }
    return p.end();
}

bool EscribePdf(const DocumentoRpt& doc, const QString& ruta, const QString& titulo) {
    // Written beside the destination, then put in its place in one step.
    const QFileInfo destino(ruta);
    QTemporaryFile temporal(destino.absoluteDir().filePath(QStringLiteral(".") + destino.fileName() +
                                                           QStringLiteral(".XXXXXX")));
    QString detalle;
    bool ok = temporal.open();
    if (ok) {
        temporal.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        {
            QPdfWriter pdf(&temporal);
            pdf.setPageLayout(PaginaA4());
            pdf.setResolution(1200);
            pdf.setTitle(titulo);
            pdf.setCreator(TituloAplicacion);
            ok = doc.Imprime(pdf);
        }
        temporal.close();
        ok = ok && temporal.error() == QFileDevice::NoError;
    }
    if (!ok)
        detalle = temporal.errorString();
    else
        ok = ReemplazaArchivo(temporal.fileName(), ruta, &detalle);
    if (!ok)
        AnotaBitacora(QStringLiteral("PDF ") + ruta + QStringLiteral(": ") + detalle);
    return ok;
}

QString TextoPdfNoGuardado(const QString& ruta) {
    return QStringLiteral("No se pudo guardar el archivo ") + QDir::toNativeSeparators(ruta) + QStringLiteral(".");
}

QStringList ParteEnLineas(const QString& texto, const ObjetoInforme& o) {
    const QFontMetricsF fm(FuenteInforme(o.puntos, o.negrita));
    QStringList lineas;
    QString linea;
    for (const QString& palabra : texto.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString con = linea.isEmpty() ? palabra : linea + QLatin1Char(' ') + palabra;
        if (!linea.isEmpty() && fm.horizontalAdvance(con) > o.ancho) {
            lineas << linea;
            linea = palabra;
        } else {
            linea = con;
        }
    }
    if (!linea.isEmpty())
        lineas << linea;
    return lineas;
}

PaginasDocumento::Lugar PaginasDocumento::Coloca(double alto, double antes, double reserva) {
    using namespace MedidasInforme;
    const double tope = AltoPagina - MargenInferior - AltoPieDocumento;
    double y = y_ + antes;
    if (y + alto + reserva > tope && y_ > MargenSuperior) {
        ++paginas_;
        y = MargenSuperior;
    }
    y_ = y + alto;
    return {paginas_ - 1, y};
}
