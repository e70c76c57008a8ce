#pragma once
// A workbook (XLSX) read as a spreadsheet shows it: shared and inline texts,
// numbers, date cells, the value a formula had when it was last computed.
// The zip is minizip's and the XML expat's, read as it is inflated: a sheet
// of a million rows takes the memory of one.
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct CeldaLeida {
    enum class Clase { Texto, Numero, Fecha };
    int columna = 0;  // from 0 (A)
    Clase clase = Clase::Texto;
    QString texto;
    double numero = 0;
    QDate fecha;
    bool porcentaje = false;  // a number shown as a percentage: 0,21 for 21 %
};

// Merged cells, rows from 1 and columns from 0 as the cells have them.
struct RangoCombinado {
    int fila1 = 0, columna1 = 0, fila2 = 0, columna2 = 0;
};

class LectorXlsx {
public:
    LectorXlsx();
    ~LectorXlsx();
    LectorXlsx(const LectorXlsx&) = delete;
    LectorXlsx& operator=(const LectorXlsx&) = delete;

    // Opens the workbook and reads its sheets' names, shared texts and
    // styles. False, with the Spanish reason in Error(), when it is not a
    // workbook or cannot be read.
    bool Abre(const QString& ruta);
    QString Error() const;
    QStringList Hojas() const;

    // Every row of sheet `hoja` that holds a value, in order: its number
    // (from 1) and its cells left to right; `alLeer` returns false to stop.
    // False, with Error(), when the sheet is damaged.
    using AlLeerFila = std::function<bool(int fila, const std::vector<CeldaLeida>& celdas)>;
    bool LeeHoja(int hoja, const AlLeerFila& alLeer);
    // From now on only the cells of the columns marked are read (all when
    // empty); the row callback may call it once it knows which it needs.
    void SoloColumnas(std::vector<char> columnas);
    // The merged ranges of the sheet read last (the file lists them after its rows).
    const std::vector<RangoCombinado>& Combinadas() const;
    // How far the sheet being read has gone, 0 to 1000.
    int Avance() const;

private:
    struct Datos;
    std::unique_ptr<Datos> d_;
};

// "A" -> 0, "AB" -> 27; -1 when it is not a column's letters.
int ColumnaDeLetras(const QString& letras);
// The date of a serial number (days since 30/12/1899, or since 1/1/1904);
// invalid outside the calendar a spreadsheet knows.
QDate FechaDeSerie(double serie, bool desde1904 = false);
