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
// they are (a line break as "\n"), numbers as "#" and Python's repr of the float, dates as "@" and
// day/month/year, empty cells empty, trailing empty cells left out; then per
// sheet the merged ranges and the number format of each column that holds
// numbers or dates. Nothing when the file cannot be read, the reader's
// complaint in `error`.
inline QStringList LeeXlsx(const QString& ruta, QString* error = nullptr) {
    static const char* const kLector = R"PY(
import sys, datetime, openpyxl
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
            elif isinstance(v, datetime.datetime):
                valores.append("@" + v.strftime("%d/%m/%Y"))
                formatos.setdefault(celda.column_letter, set()).add(celda.number_format)
            elif isinstance(v, (int, float)):
                valores.append("#" + repr(float(v)))
                formatos.setdefault(celda.column_letter, set()).add(celda.number_format)
            else:
                valores.append(str(v).replace("\n", "\\n"))
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

// Rows 1 to 3 and the merged ranges of each of our sheets against the
// agency's template (our EXPEDIDAS is its EXPEDIDAS_INGRESOS, RECIBIDAS its
// RECIBIDAS_GASTOS), cell by cell: one line per difference, none when they
// agree.
inline QStringList DiferenciasConLaPlantilla(const QString& ruta, const QString& plantilla) {
    static const char* const kComparador = R"PY(
import sys, openpyxl
nuestro = openpyxl.load_workbook(sys.argv[1])
agencia = openpyxl.load_workbook(sys.argv[2])
for hoja, suya in (("EXPEDIDAS", "EXPEDIDAS_INGRESOS"), ("RECIBIDAS", "RECIBIDAS_GASTOS")):
    a, b = nuestro[hoja], agencia[suya]
    if a.max_column != b.max_column:
        print("%s: %d columnas, la plantilla %d" % (hoja, a.max_column, b.max_column))
    for fila in (1, 2, 3):
        for col in range(1, max(a.max_column, b.max_column) + 1):
            x, y = a.cell(fila, col).value, b.cell(fila, col).value
            if x != y:
                print("%s %s: %r, la plantilla %r" % (hoja, a.cell(fila, col).coordinate, x, y))
    x = sorted(str(r) for r in a.merged_cells.ranges)
    y = sorted(str(r) for r in b.merged_cells.ranges)
    if x != y:
        print("%s combinadas: %s, la plantilla %s" % (hoja, " ".join(x), " ".join(y)))
)PY";
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-W"), QStringLiteral("ignore"), QStringLiteral("-c"),
                                                 QString::fromUtf8(kComparador), ruta, plantilla});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {QStringLiteral("no se pudo comparar: ") + QString::fromUtf8(p.readAllStandardError())};
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

inline QByteArray ContenidoArchivo(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
