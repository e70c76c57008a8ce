#pragma once
// What the program's printed documents share: A4 portrait pages painted by
// hand in twips onto any QPainter device (printer, PDF writer, image, print
// preview), the text boxes they are made of, and printing them or saving
// them as PDF.
#include "dominio/listado/Listado.h"

#include <QDate>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <Qt>

class QFont;
class QPageLayout;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

// Page measures, in twips.
namespace MedidasInforme {
constexpr double AnchoPagina = 11906;  // A4, 210 mm
constexpr double AltoPagina = 16838;   // A4, 297 mm
constexpr double MargenIzquierdo = 850;
constexpr double MargenSuperior = 720;
constexpr double MargenInferior = 720;
}  // namespace MedidasInforme

// A4 portrait without margins: every measure is taken from the sheet's corner.
QPageLayout PaginaA4();

enum class Borde { Ninguno, Marco, MarcoGris, LineaAbajo, LineaArriba };

// A text box of a page: position and size in twips from its band's corner,
// Arial at `puntos`, its alignment and its border.
struct ObjetoInforme {
    double x, y, ancho, alto;
    int puntos;
    bool negrita;
    Qt::Alignment alineacion;
    Borde borde;
};

// Arial sized in twips, for a painter that draws in twips.
QFont FuenteInforme(int puntos, bool negrita);
// The words of `texto` in lines no wider than the object's box; a word
// wider than a line has one of its own.
QStringList ParteEnLineas(const QString& texto, const ObjetoInforme& o);

// The font size, in twips (20 to the point), at which an amount fits a box
// `ancho` twips wide: its design size when it fits. Amounts are never cut.
int TamanoImporte(const QString& texto, int puntos, bool negrita, double ancho);

QRectF CajaObjeto(const ObjetoInforme& o, double x0, double y0);
void PintaBorde(QPainter& p, const QRectF& r, Borde borde);
// Half a point wide, black.
void PintaLinea(QPainter& p, const QPointF& desde, const QPointF& hasta);
// A one-line text inside its box (the box's corner at x0 + o.x, y0 + o.y);
// what does not fit is cut at the box's edges (a text wider than its box
// starts at the left edge). An amount is never cut, which would print a
// different figure: it prints smaller instead.
void PintaTexto(QPainter& p, const ObjetoInforme& o, double x0, double y0, const QString& texto, bool importe = false);

// The header every document opens with, at the top of its first page
// (AltoCabeceraDocumento high): the company's three lines on the left, the
// title and the line under it on the right. A company NIF, when the document
// carries one, goes on a fourth line (AltoCabeceraConNif high).
constexpr double AltoCabeceraDocumento = 1074;
constexpr double AltoCabeceraConNif = AltoCabeceraDocumento + 285;
void PintaCabeceraDocumento(QPainter& p, double x0, double y0, const CabeceraEmpresa& empresa, const QString& titulo,
                            const QString& subtitulo);
// The foot of every page (AltoPieDocumento high): the date of printing on the
// left, the page number (`pagina` 0-based) on the right.
constexpr double AltoPieDocumento = 492;
void PintaPieDocumento(QPainter& p, double x0, double y0, const QDate& fecha, int pagina);

// Where the lines of a document stand, one under another from below its
// header: a line that would reach the foot, together with the room the lines
// after it need on the same page, starts the next page.
class PaginasDocumento {
public:
    explicit PaginasDocumento(const CabeceraEmpresa& empresa)
        : y_(MedidasInforme::MargenSuperior + (empresa.nif.isEmpty() ? AltoCabeceraDocumento : AltoCabeceraConNif)) {}
    struct Lugar {
        int pagina;     // 0-based
        double arriba;  // twips from the sheet's top edge
    };
    // The place of a line `alto` high, `antes` below the one before.
    Lugar Coloca(double alto, double antes, double reserva);
    int Numero() const { return paginas_; }

private:
    double y_;
    int paginas_ = 1;
};

// A document of whole A4 pages.
class DocumentoRpt {
public:
    virtual ~DocumentoRpt() = default;

    virtual int NumPaginas() const = 0;
    // Paints page `pagina` (0-based) with the painter, which must be active on
    // its device. A paged device (printer, PDF) is taken at its page layout;
    // any other device is taken as the whole sheet.
    void PintaPagina(QPainter& p, int pagina) const;
    // Paints every page, or pages desde..hasta (1-based, both included; 0 for
    // all), onto a paged device, starting new pages as needed. Sets nothing on
    // the device; false when the painter cannot start on it.
    bool Imprime(QPagedPaintDevice& dispositivo, int desde = 0, int hasta = 0) const;

protected:
    // Paints page `pagina` in twips from the sheet's top left corner.
    virtual void PintaContenido(QPainter& p, int pagina) const = 0;
};

// Writes the whole document as an A4 PDF file, whole or not at all: a file
// already there stays as it was when the new one cannot be completed. The
// system's reason for a failure goes to the log. Draws no window.
bool EscribePdf(const DocumentoRpt& doc, const QString& ruta, const QString& titulo);
// "No se pudo guardar el archivo RUTA."
QString TextoPdfNoGuardado(const QString& ruta);
