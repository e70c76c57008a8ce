#pragma once
// Files to import made by hand: workbooks written part by part with minizip
// (so that a test decides every byte of the XML a spreadsheet would write),
// and texts written as given.
#include "ApoyoPruebas.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <zip.h>

using PartesZip = QList<QPair<QString, QByteArray>>;

inline bool EscribeZip(const QString& ruta, const PartesZip& partes) {
    zipFile zip = zipOpen64(QFile::encodeName(ruta).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool bien = true;
    for (const auto& [nombre, contenido] : partes) {
        bien = bien && zipOpenNewFileInZip64(zip, nombre.toUtf8().constData(), nullptr, nullptr, 0, nullptr, 0, nullptr,
                                             Z_DEFLATED, Z_DEFAULT_COMPRESSION, 1) == ZIP_OK &&
               zipWriteInFileInZip(zip, contenido.constData(), static_cast<unsigned>(contenido.size())) == ZIP_OK &&
               zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && bien;
}

inline const char* kEspacioHoja = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";

// A workbook of one sheet named `hoja` whose <sheetData> (and what follows
// it) is `datos`; the shared texts and the cell styles are given apart.
inline bool EscribeLibro(const QString& ruta, const QString& hoja, const QByteArray& datos,
                         const QByteArray& textos = QByteArray(), const QByteArray& estilos = QByteArray()) {
    PartesZip partes{
        {"xl/workbook.xml", QByteArray("<workbook ") + kEspacioHoja +
                                R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name=")" +
                                hoja.toUtf8() + R"(" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
        {"xl/_rels/workbook.xml.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/hoja.xml"/></Relationships>)"},
        {"xl/worksheets/hoja.xml", QByteArray("<worksheet ") + kEspacioHoja + ">" + datos + "</worksheet>"},
    };
    if (!textos.isEmpty())
        partes.append({"xl/sharedStrings.xml", QByteArray("<sst ") + kEspacioHoja + ">" + textos + "</sst>"});
    if (!estilos.isEmpty())
        partes.append({"xl/styles.xml", QByteArray("<styleSheet ") + kEspacioHoja + ">" + estilos + "</styleSheet>"});
    return EscribeZip(ruta, partes);
}

// One row of inline texts: <row r="n"><c t="inlineStr"><is><t>…</t></is></c>…</row>.
inline QByteArray FilaTextos(int fila, const QStringList& textos) {
    QByteArray r = "<row r=\"" + QByteArray::number(fila) + "\">";
    for (const QString& t : textos)
        r += t.isEmpty() ? QByteArray("<c/>") : "<c t=\"inlineStr\"><is><t>" + t.toHtmlEscaped().toUtf8() + "</t></is></c>";
    return r + "</row>";
}

inline bool EscribeTexto(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
