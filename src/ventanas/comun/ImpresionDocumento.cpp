#include "ventanas/comun/ImpresionDocumento.h"

#include "base/Mensajes.h"
#include "dominio/listado/Listado.h"
#include "ventanas/comun/PunteroOcupado.h"
#include "ventanas/comun/Ventanas.h"

#include <QDir>
#include <QFileDialog>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

bool GuardaPdfDocumento(const DocumentoRpt& doc, const QString& ruta, const QString& titulo) {
    bool ok;
    {
        PunteroOcupado cursor;
        ok = EscribePdf(doc, ruta, titulo);
    }
    if (!ok)
        Aviso(TextoPdfNoGuardado(ruta));
    return ok;
}

bool ImprimeDocumento(const DocumentoRpt& doc, QPrinter& impresora, int desde, int hasta, const QString& fallo) {
    bool ok;
    {
        PunteroOcupado cursor;
        ok = doc.Imprime(impresora, desde, hasta);
    }
    if (!ok)
        Aviso(fallo);
    return ok;
}

void ImprimeConDialogo(QWidget* padre, const DocumentoRpt& doc, const QString& tituloDialogo, int paginaActual,
                       const QString& fallo) {
    QPrinter& impresora = ImpresoraCompartida();
    impresora.setPageSize(QPageSize(QPageSize::A4));
    impresora.setPageOrientation(QPageLayout::Portrait);
    impresora.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialogo(&impresora, padre);
    dialogo.setWindowTitle(tituloDialogo);
    dialogo.setMinMax(1, doc.NumPaginas());
    dialogo.setOption(QAbstractPrintDialog::PrintCurrentPage);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    int desde = 0, hasta = 0;
    if (impresora.printRange() == QPrinter::PageRange) {
        desde = impresora.fromPage();
        hasta = impresora.toPage();
    } else if (impresora.printRange() == QPrinter::CurrentPage) {
        desde = hasta = paginaActual;
    }
    ImprimeDocumento(doc, impresora, desde, hasta, fallo);
}

QString PideArchivoPdf(QWidget* padre, const QString& titulo, const QString& nombre) {
    const QString carpeta =
        CarpetaParaGuardar(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath());
    QString ruta = QFileDialog::getSaveFileName(padre, titulo, QDir(carpeta).filePath(nombre),
                                                QStringLiteral("Documentos PDF (*.pdf)"));
    if (!ruta.isEmpty() && !ruta.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        ruta += QStringLiteral(".pdf");
    return ruta;
}
