#pragma once
// Printing and saving a document from a screen: the busy pointer while the
// work lasts, the print and save dialogs, and the message on failure.
#include "informes/DocumentoRpt.h"

class QPrinter;
class QWidget;

// The screens' side: the busy pointer while the work lasts, and on failure a
// message ("No se pudo guardar el archivo RUTA." / `fallo`).
bool GuardaPdfDocumento(const DocumentoRpt& doc, const QString& ruta, const QString& titulo);
bool ImprimeDocumento(const DocumentoRpt& doc, QPrinter& impresora, int desde, int hasta, const QString& fallo);
// The print dialog on the shared printer (A4 portrait, every page offered),
// then the pages the user chose; `paginaActual` is the page on show.
void ImprimeConDialogo(QWidget* padre, const DocumentoRpt& doc, const QString& tituloDialogo, int paginaActual,
                       const QString& fallo);
// Asks where to save a PDF, proposing `nombre` in the user's documents folder
// (or his home folder); ".pdf" is added when missing. "" when cancelled.
QString PideArchivoPdf(QWidget* padre, const QString& titulo, const QString& nombre);
