#pragma once
// The books as an independent reader sees them: Python's openpyxl opens the
// workbook and writes out every cell, so that the tests compare what a
// spreadsheet would show, not what our writer meant to write.
#include "ApoyoPruebas.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// One line per row of each sheet: "EXPEDIDAS 4: #2026.0|1T|...", texts as
// they are, numbers as "#" and Python's repr of the float, empty cells
// empty, trailing empty cells left out; then per sheet the merged ranges and
// the number format of each column that holds numbers. Nothing when the file
// cannot be read, the reader's complaint in `error`.
inline QStringList LeeXlsx(const QString& ruta, QString* error = nullptr) {
    static const char* const kLector = R"PY(
import sys, openpyxl
libro = openpyxl.load_workbook(sys.argv[1])
for hoja in libro.worksheets:
    print(hoja.title)
    formatos = {}
    for fila in hoja.iter_rows():
        valores = []
        for celda in fila:
            v = celda.value
            if v is None:
                valores.append("")
            elif isinstance(v, (int, float)):
                valores.append("#" + repr(float(v)))
                formatos.setdefault(celda.column_letter, set()).add(celda.number_format)
            else:
                valores.append(str(v))
        while valores and valores[-1] == "":
            valores.pop()
        print("%s %d: %s" % (hoja.title, fila[0].row, "|".join(valores)))
    print("%s combinadas: %s" % (hoja.title, " ".join(sorted(str(r) for r in hoja.merged_cells.ranges))))
    print("%s formatos: %s" % (hoja.title, " ".join("%s=%s" % (k, ",".join(sorted(v))) for k, v in sorted(formatos.items(), key=lambda x: (len(x[0]), x[0])))))
)PY";
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kLector), ruta});
    const bool acabado = p.waitForFinished(60000);
    const QString salida = QString::fromUtf8(p.readAllStandardOutput());
    if (error)
        *error = QString::fromUtf8(p.readAllStandardError());
    if (!acabado || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return salida.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

inline QByteArray ContenidoArchivo(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
