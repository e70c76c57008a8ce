#pragma once
// Which column of a file holds which field of the invoice: proposed from the
// words of its headers (the tax agency's books, the program's own exports,
// a spreadsheet of the user's), written down as a map the user can keep.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The fields a file may bring. A CSV is mapped by the first thirteen; the
// rest are the books' own.
enum class CampoImportacion {
    Tipo, Codigo, Fecha, FechaOperacion, Neto, Porcentaje, Cuota, Total, Descripcion, Nif, Nombre, Pais,
    TipoIdentificacion, Serie, NumeroFinal, FechaRecepcion, Exenta, ClaveOperacion,
};
constexpr int NumCamposImportacion = 18;
constexpr int NumCamposMapa = 13;

// The field's key in a map file (the column of FACTURAS it fills, or the
// books' name) and its Spanish title.
QString ClaveCampo(CampoImportacion campo);
QString TituloCampo(CampoImportacion campo);

struct MapaColumnas {
    std::array<int, NumCamposImportacion> columnas;  // -1 for none
    std::optional<bool> tipoFijo;                    // every row Cobros (true) or Pagos (false)
    MapaColumnas() { columnas.fill(-1); }
    int& operator[](CampoImportacion c) { return columnas[static_cast<size_t>(c)]; }
    int operator[](CampoImportacion c) const { return columnas[static_cast<size_t>(c)]; }
    bool operator==(const MapaColumnas& o) const { return columnas == o.columnas && tipoFijo == o.tipoFijo; }
    // What the invoices cannot do without, in Spanish ("la fecha y el total
    // o la base"); empty when nothing is missing.
    QString Falta() const;
};

// Lower case, without accents, words apart: "Fecha\nExpedición" -> "fecha expedicion".
QString NormalizaCabecera(const QString& texto);

// The map the headers' words suggest, each column to one field at most.
MapaColumnas ProponeMapa(const QStringList& cabeceras);

// The book a sheet or CSV file is, by its name ("EXPEDIDAS...", "..._RECIBIDAS.csv")
// or by its headers' words: Cobros (true), Pagos (false), or none.
std::optional<bool> TipoDeLibro(const QString& nombre, const QStringList& cabeceras);

// A map file: one line "CLAVE=columna" per field, the column by its header
// (case and blanks aside) or by number ("#3"); "TIPO=Cobros" or "TIPO=Pagos"
// for a file of one type; lines beginning with "#" are notes.
struct LecturaMapa {
    MapaColumnas mapa;
    QString error;  // Spanish, when a line cannot be understood
};
LecturaMapa LeeMapa(const QString& texto, const QStringList& cabeceras);
QString EscribeMapa(const MapaColumnas& mapa, const QStringList& cabeceras);

// The settings key under which the map of files with these headers is kept.
QString ClaveMapaGuardado(const QStringList& cabeceras);
