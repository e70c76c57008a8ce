#include "dominio/importacion/Importacion.h"

#include "base/Archivos.h"
#include "datos/ConexionBD.h"
#include "datos/motor/TransaccionBD.h"
#include "base/Formatos.h"
#include "dominio/importacion/LectorCsv.h"
#include "dominio/importacion/LectorXlsx.h"
#include "dominio/importacion/ValoresImportacion.h"
#include "dominio/facturas/Facturas.h"
#include "dominio/facturas/Nif.h"
#include "dominio/facturas/TiposVigentes.h"
#include "dominio/parametros/Parametros.h"
#include "dominio/libros/Libros.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <cmath>

namespace {

// The amounts a row lacks, completed from the others as the editor completes
// them: the rate chosen among those in force on the date that rules it.
struct ImportesFila {
    std::optional<double> total, base, tipo, cuota;
};
ImportesFila CompletaImportes(ImportesFila r, const QDate& fecha) {
    if (r.total && r.base && r.tipo && r.cuota)
        return r;
    if (!r.total && r.base && r.cuota)
        r.total = *r.base + *r.cuota;
    if (!r.cuota && r.total && r.base)
        r.cuota = *r.total - *r.base;
    auto texto = [](const std::optional<double>& v) { return v ? TextoNumero(*v) : QString(); };
    const Importes c = CalculaImportes({texto(r.cuota), texto(r.total), texto(r.base), texto(r.tipo)},
                                       ImpuestoDePalabra(OpcionIva), fecha);
    auto completa = [](std::optional<double>& v, const QString& t) {
        if (!v && !t.isEmpty())
            v = LeeNumero(t);
    };
    completa(r.cuota, c.iva);
    completa(r.base, c.neto);
    completa(r.tipo, c.porcentaje);
    // A rate below one half reads as none; with no cuota it is none.
    if (!r.tipo && r.cuota && *r.cuota == 0 && r.base)
        r.tipo = 0;
    return r;
}

using K = CampoImportacion;
using Estado = FilaImportacion::Estado;

// How many rows a progress report waits for, and how many rows one insert stores.
constexpr int kPasoProgreso = 256;
constexpr int kFilasPorSentencia = 50;
// The header of a sheet is found in its first rows.
constexpr int kMaximoFilasCabecera = 6;

const QString kSinCabecera =
    QStringLiteral("no tiene una fila de cabecera con los nombres de las columnas (Fecha, Total, ...)");

// Words the headers of invoices' sheets are made of.
const QSet<QString>& PalabrasCabecera() {
    static const QSet<QString> p = [] {
        QSet<QString> r;
        for (const char* w :
             {"ejercicio", "periodo", "fecha", "factura", "nif", "nombre", "total", "base", "tipo", "cuota", "codigo",
              "numero", "importe", "iva", "igic", "descripcion", "concepto", "serie", "identificacion",
              "autoliquidacion", "actividad", "cliente", "proveedor", "neto", "pais", "expedicion", "operacion",
              "destinatario", "expedidor", "exenta", "computable", "imponible", "repercutida", "soportado",
              "deducible", "recepcion", "final", "recargo", "retencion", "irpf", "medio", "situacion", "referencia",
              "catastral", "acuerdo", "facturacion", "inversion", "pasivo", "posterior", "deduccion", "ingreso",
              "gasto", "epigrafe", "clave", "calificacion", "cobro", "pago", "importe", "%"})
            r.insert(QString::fromLatin1(w));
        return r;
    }();
    return p;
}

enum class ClaseFila { Cabecera, Formato, Datos };

// The agency's third header row: "Decimal(12,2)", "Alfanumérico (2)", "dd/mm/yyyy".
bool EsFormato(const QString& texto) {
    static const QRegularExpression re(
        QStringLiteral("^((decimal|alfanumerico|numerico|fecha|an|a|n)( \\d+)+|(fecha )?dd mm (aa)?aa)$"));
    return re.match(NormalizaCabecera(texto)).hasMatch();
}

ClaseFila Clasifica(const std::vector<CeldaLeida>& celdas, bool primera) {
    int conPalabra = 0, formatos = 0;
    for (const CeldaLeida& c : celdas) {
        if (c.clase != CeldaLeida::Clase::Texto)
            return ClaseFila::Datos;
        if (EsFormato(c.texto))
            ++formatos;
        for (const QString& w : NormalizaCabecera(c.texto).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (PalabrasCabecera().contains(w)) {
                ++conPalabra;
                break;
            }
    }
    if (!primera && formatos * 2 >= static_cast<int>(celdas.size()))
        return ClaseFila::Formato;
    // Below the first, a header row names mostly columns; a row of texts that do not is data.
    if (conPalabra > 0 && (primera || conPalabra * 3 >= static_cast<int>(celdas.size())))
        return ClaseFila::Cabecera;
    return ClaseFila::Datos;
}

// One title per column from the header rows: a group name over its
// sub-columns ("Identificación de la Factura" over "Serie" and "Número") is
// carried to the right over the columns whose row below has a name.
QStringList Titulos(const std::vector<std::vector<CeldaLeida>>& filas) {
    int columnas = 0;
    for (const auto& f : filas)
        for (const CeldaLeida& c : f)
            columnas = qMax(columnas, c.columna + 1);
    std::vector<QStringList> textos(filas.size(), QStringList(columnas));
    for (size_t h = 0; h < filas.size(); ++h)
        for (const CeldaLeida& c : filas[h])
            textos[h][c.columna] = c.texto.simplified();
    for (size_t h = 0; h + 1 < filas.size(); ++h) {
        QString ultimo;
        for (int c = 0; c < columnas; ++c) {
            if (!textos[h][c].isEmpty()) {
                ultimo = textos[h][c];
                continue;
            }
            for (size_t abajo = h + 1; abajo < filas.size(); ++abajo)
                if (!textos[abajo][c].isEmpty()) {
                    textos[h][c] = ultimo;
                    break;
                }
        }
    }
    QStringList r;
    for (int c = 0; c < columnas; ++c) {
        QStringList partes;
        for (size_t h = 0; h < filas.size(); ++h)
            if (!textos[h][c].isEmpty())
                partes << textos[h][c];
        r << partes.join(QLatin1Char(' '));
    }
    return r;
}

QString TextoCelda(const CeldaLeida* c) {
    if (!c)
        return QString();
    switch (c->clase) {
    case CeldaLeida::Clase::Texto: return c->texto.trimmed();
    case CeldaLeida::Clase::Numero: return TextoNumero(c->porcentaje ? c->numero * 100 : c->numero);
    case CeldaLeida::Clase::Fecha: return EscribeFecha(c->fecha);
    }
    return QString();
}

QString Numero(qint64 n) { return FormatoEnteroAgrupado(static_cast<double>(n)); }

// To the cent as the books take it; an amount already in cents stays as it is
// (most do, and the rounding by text is not cheap).
double Centimos2(double v) { return std::nearbyint(v * 100) / 100 == v ? v : RedondeaDosDecimales(v); }

// Turns the cells of one row into an invoice, checked; appends it.
class ConstructorFilas {
public:
    ConstructorFilas(Importacion& imp, const QString& hoja, const QStringList& titulos, const MapaColumnas& mapa,
                     QChar decimal)
        : imp_(imp), hoja_(hoja), titulos_(titulos), mapa_(mapa), decimal_(decimal) {
        for (int k = 0; k < NumCamposImportacion; ++k) {
            const int col = mapa.columnas[static_cast<size_t>(k)];
            if (col < 0)
                continue;
            if (col >= static_cast<int>(campoDeColumna_.size()))
                campoDeColumna_.resize(static_cast<size_t>(col) + 1, -1);
            campoDeColumna_[static_cast<size_t>(col)] = k;
        }
    }

    bool Usa(int columna) const {
        return columna < static_cast<int>(campoDeColumna_.size()) && campoDeColumna_[static_cast<size_t>(columna)] >= 0;
    }

    // `fallo`: what is wrong with the row as a whole (a CSV line), or nothing.
    void Fila(int linea, const std::vector<CeldaLeida>& celdas, const QString& fallo = QString()) {
        celdas_.fill(nullptr);
        bool vacia = true;
        for (const CeldaLeida& c : celdas)
            if (Usa(c.columna)) {
                celdas_[static_cast<size_t>(campoDeColumna_[static_cast<size_t>(c.columna)])] = &c;
                vacia = vacia && c.clase == CeldaLeida::Clase::Texto && c.texto.trimmed().isEmpty();
            }
        if (vacia && fallo.isEmpty())
            return;
        FilaImportacion f;
        f.linea = linea;
        f.hoja = hoja_;
        error_.clear();
        if (!fallo.isEmpty())
            error_ = Donde(f) + QStringLiteral(": ") + fallo;
        else
            Interpreta(f);
        if (!error_.isEmpty()) {
            f.estado = Estado::Rechazada;
            f.motivo = error_;
            // What the file says, to be mended; the type as the program names it where it was read.
            for (int k = 0; k < NumCamposMapa; ++k)
                f.textos << TextoCelda(celdas_[static_cast<size_t>(k)]);
            if (const auto tipo = mapa_.tipoFijo ? mapa_.tipoFijo : LeeTipoTexto(f.textos[static_cast<int>(K::Tipo)]))
                f.textos[static_cast<int>(K::Tipo)] = *tipo ? TipoCobros : TipoPagos;
        } else if (const int igual = Repite(f); igual >= 0) {
            // The same line twice in one file is entered once.
            f.estado = Estado::Repetida;
            f.motivo = QStringLiteral("repite la línea %1").arg(imp_.filas[static_cast<size_t>(igual)].linea);
        } else {
            vistas_.insert(Huella(f), static_cast<int>(imp_.filas.size()));
        }
        imp_.filas.push_back(std::move(f));
    }

private:
    QString Donde(const FilaImportacion& f) const {
        return hoja_.isEmpty() ? QStringLiteral("Línea %1").arg(f.linea)
                               : QStringLiteral("Hoja %1, línea %2").arg(hoja_).arg(f.linea);
    }

    // Refuses the row for field `k` (the first fault found is the one told).
    void Rechaza(const FilaImportacion& f, K k, const QString& que) {
        if (!error_.isEmpty())
            return;
        const int col = mapa_[k];
        const QString titulo = col >= 0 ? titulos_.value(col).simplified() : QString();
        error_ = Donde(f) + (titulo.isEmpty() ? QString() : QStringLiteral(", columna ") + titulo) +
                 QStringLiteral(": ") + que;
    }

    const CeldaLeida* Celda(K k) const { return celdas_[static_cast<size_t>(k)]; }

    QString Texto(const FilaImportacion& f, K k, int largo, const char* nombre) {
        const QString t = TextoCelda(Celda(k)).simplified();
        if (largo > 0 && t.size() > largo)
            Rechaza(f, k, QStringLiteral("%1 tiene más de %2 caracteres.").arg(QString::fromUtf8(nombre)).arg(largo));
        return t;
    }

    std::optional<QDate> Fecha(const FilaImportacion& f, K k) {
        const CeldaLeida* c = Celda(k);
        if (!c)
            return std::nullopt;
        if (c->clase == CeldaLeida::Clase::Fecha)
            return c->fecha;
        if (c->clase == CeldaLeida::Clase::Numero) {
            // A date without its format: a serial number of these years.
            const QDate d = FechaDeSerie(c->numero);
            if (d.isValid() && d.year() >= 1950 && d.year() <= 2100)
                return d;
        } else if (c->texto.trimmed().isEmpty()) {
            return std::nullopt;
        } else if (const auto d = LeeFechaTexto(c->texto)) {
            return d;
        }
        Rechaza(f, k, QLatin1Char('\'') + TextoCelda(c) + QStringLiteral("' no es una fecha."));
        return std::nullopt;
    }

    std::optional<double> Importe(const FilaImportacion& f, K k) {
        const CeldaLeida* c = Celda(k);
        if (!c)
            return std::nullopt;
        const bool porcentaje = k == K::Porcentaje;
        std::optional<double> v;
        if (c->clase == CeldaLeida::Clase::Numero) {
            v = c->porcentaje && porcentaje ? c->numero * 100 : c->numero;
        } else if (c->clase == CeldaLeida::Clase::Texto) {
            QString t = c->texto.trimmed();
            if (t.isEmpty())
                return std::nullopt;
            if (porcentaje)
                t.remove(QLatin1Char('%'));
            v = LeeImporteTexto(t, decimal_);
        }
        if (!v) {
            Rechaza(f, k, QLatin1Char('\'') + TextoCelda(c) +
                              (porcentaje ? QStringLiteral("' no es un porcentaje.") : QStringLiteral("' no es un importe.")));
            return std::nullopt;
        }
        return Centimos2(*v);
    }

    void Interpreta(FilaImportacion& f) {
        if (mapa_.tipoFijo) {
            f.cobro = *mapa_.tipoFijo;
        } else {
            const QString t = TextoCelda(Celda(K::Tipo));
            const auto tipo = LeeTipoTexto(t);
            if (t.isEmpty())
                Rechaza(f, K::Tipo, QStringLiteral("falta el tipo (Cobros o Pagos)."));
            else if (!tipo)
                Rechaza(f, K::Tipo, QLatin1Char('\'') + t + QStringLiteral("' no es Cobros ni Pagos."));
            f.cobro = tipo.value_or(false);
        }
        // The number, after its series; a summary of several ends with the last one.
        const QString serie = Texto(f, K::Serie, 0, ""), numero = Texto(f, K::Codigo, 0, ""),
                      final = Texto(f, K::NumeroFinal, 0, "");
        f.codigo = serie.isEmpty() || numero.startsWith(serie) ? numero : serie + QLatin1Char('-') + numero;
        if (!final.isEmpty() && final != numero)
            f.codigo += QStringLiteral(" a ") + final;
        if (f.codigo.size() > LongitudesFactura[0])
            Rechaza(f, K::Codigo, QStringLiteral("el código tiene más de %1 caracteres.").arg(LongitudesFactura[0]));
        const auto fecha = Fecha(f, K::Fecha);
        if (!fecha && TextoCelda(Celda(K::Fecha)).isEmpty())
            Rechaza(f, K::Fecha, QStringLiteral("falta la fecha."));
        f.fecha = fecha.value_or(QDate());
        f.fechaOperacion = Fecha(f, K::FechaOperacion).value_or(QDate());
        const auto recepcion = Fecha(f, K::FechaRecepcion);
        f.descripcion = Texto(f, K::Descripcion, LongitudesFactura[6], "la descripción");
        f.nif = NormalizaNif(Texto(f, K::Nif, 0, ""));
        if (f.nif.size() > LongitudesTercero[0])
            Rechaza(f, K::Nif, QStringLiteral("el NIF tiene más de %1 caracteres.").arg(LongitudesTercero[0]));
        f.nombre = Texto(f, K::Nombre, LongitudesTercero[2], "el nombre");
        const QString pais = Texto(f, K::Pais, 0, "");
        static const QRegularExpression dosLetras(QStringLiteral("^[A-Za-z]{2}$"));
        if (!pais.isEmpty() && !dosLetras.match(pais).hasMatch())
            Rechaza(f, K::Pais, QLatin1Char('\'') + pais + QStringLiteral("' no es un código de país de dos letras."));
        f.pais = pais.toUpper();
        f.tipoIdentificacion = Texto(f, K::TipoIdentificacion, 2, "el tipo de identificación");
        ImportesFila libro;
        libro.total = Importe(f, K::Total);
        libro.base = Importe(f, K::Neto);
        libro.tipo = Importe(f, K::Porcentaje);
        libro.cuota = Importe(f, K::Cuota);
        if (!error_.isEmpty())
            return;
        if (!libro.total && !libro.base) {
            Rechaza(f, mapa_[K::Total] >= 0 ? K::Total : K::Neto, QStringLiteral("faltan el total y la base."));
            return;
        }
        // An exempt operation carries no tax.
        if (!TextoCelda(Celda(K::Exenta)).isEmpty() && !libro.tipo && !libro.cuota)
            libro.tipo = libro.cuota = 0.0;
        // IGIC books (operation key 08) carry the base alone, as the agency's
        // design asks: the tax is not there to read, and is not made up as 0 %.
        f.sinImpuesto = TextoCelda(Celda(K::ClaveOperacion)).trimmed() == QLatin1String("08");
        if (f.sinImpuesto)
            libro.tipo = libro.cuota = std::nullopt;
        const ImportesFila i = f.sinImpuesto ? libro
                                             : CompletaImportes(libro, f.fechaOperacion.isValid() ? f.fechaOperacion
                                                                                                  : f.fecha);
        QStringList completados;
        auto toma = [&completados](const std::optional<double>& leido, const std::optional<double>& calculado,
                                   std::optional<double>& destino, const char* nombre) {
            destino = leido;
            if (!leido && calculado) {
                destino = Centimos2(*calculado);
                completados << QString::fromUtf8(nombre);
            }
        };
        toma(libro.base, i.base, f.neto, "base");
        toma(libro.tipo, i.tipo, f.porcentaje, "tipo");
        toma(libro.cuota, i.cuota, f.cuota, "cuota");
        toma(libro.total, i.total, f.total, "total");
        if (completados.size() > 1)
            f.completados = completados.mid(0, completados.size() - 1).join(QStringLiteral(", ")) +
                            QStringLiteral(" y ") + completados.last();
        else
            f.completados = completados.join(QString());
        // A received invoice is declared when it arrives: the program keeps that
        // date as the operation's when it is the later one.
        if (!f.cobro && recepcion && *recepcion > f.fecha &&
            (!f.fechaOperacion.isValid() || *recepcion > f.fechaOperacion))
            f.fechaOperacion = *recepcion;
        if (f.fechaOperacion == f.fecha)
            f.fechaOperacion = QDate();
        // The agency's name for sales without a customer is no customer's.
        if (f.cobro && f.nif.isEmpty() && f.nombre.compare(QLatin1String("VENTAS A CONSUMIDOR FINAL"), Qt::CaseInsensitive) == 0)
            f.nombre.clear();
    }

    // A row's values in one number, so that a repeated line is found without comparing every earlier one.
    static size_t Huella(const FilaImportacion& f) {
        auto n = [](const std::optional<double>& v) { return v ? qHash(*v) : size_t(1); };
        return qHashMulti(0, f.cobro, f.codigo, f.fecha.toJulianDay(), f.fechaOperacion.toJulianDay(), n(f.neto),
                          n(f.porcentaje), n(f.cuota), n(f.total), f.descripcion, f.nif, f.nombre, f.pais,
                          f.tipoIdentificacion);
    }
    static bool Iguales(const FilaImportacion& a, const FilaImportacion& b) {
        return a.cobro == b.cobro && a.codigo == b.codigo && a.fecha == b.fecha &&
               a.fechaOperacion == b.fechaOperacion && a.neto == b.neto && a.porcentaje == b.porcentaje &&
               a.cuota == b.cuota && a.total == b.total && a.descripcion == b.descripcion && a.nif == b.nif &&
               a.nombre == b.nombre && a.pais == b.pais && a.tipoIdentificacion == b.tipoIdentificacion;
    }
    // The earlier row of the file equal to `f`, or -1.
    int Repite(const FilaImportacion& f) const {
        for (auto it = vistas_.constFind(Huella(f)); it != vistas_.constEnd() && it.key() == Huella(f); ++it)
            if (Iguales(imp_.filas[static_cast<size_t>(*it)], f))
                return *it;
        return -1;
    }

    Importacion& imp_;
    QString hoja_;
    QStringList titulos_;
    MapaColumnas mapa_;
    QChar decimal_;
    std::vector<int> campoDeColumna_;
    std::array<const CeldaLeida*, NumCamposImportacion> celdas_{};
    QString error_;
    QMultiHash<size_t, int> vistas_;  // row's values -> its place in imp_.filas
};

// ---- Workbooks -----------------------------------------------------------------

// A sheet's header, found in its first rows, and the map it gives.
struct CabeceraHoja {
    bool hallada = false;
    QStringList titulos;
    MapaColumnas mapa;
};

class LectorHoja {
public:
    // `libro`: the sheet is a book and its own columns say the map;
    // otherwise `mapa` is the caller's.
    LectorHoja(Importacion* imp, const QString& nombre, std::optional<bool> libro, const MapaColumnas& mapa)
        : imp_(imp), nombre_(nombre), libro_(libro), mapaDado_(mapa) {}

    // One row read; false once the header is known when only the header is wanted.
    bool Fila(int fila, const std::vector<CeldaLeida>& celdas) {
        if (!cabecera_.hallada) {
            const ClaseFila clase = Clasifica(celdas, filas_.empty() && formatos_ == 0);
            if (clase == ClaseFila::Formato) {
                ++formatos_;
                ultimaCabecera_ = fila;
                return true;
            }
            if (clase == ClaseFila::Cabecera && formatos_ == 0 && filas_.size() < kMaximoFilasCabecera) {
                filas_.push_back(celdas);
                ultimaCabecera_ = fila;
                return true;
            }
            if (filas_.empty())
                return false;  // no header: nothing of it is read
            Decide();
            if (!imp_)
                return false;
        }
        CeldasCombinadas(fila, celdas);
        constructor_->Fila(fila, combinadas_.empty() ? celdas : fila_);
        return true;
    }

    // After the last row: a sheet of headers alone has its header too.
    const CabeceraHoja& Termina() {
        if (!cabecera_.hallada && !filas_.empty())
            Decide();
        return cabecera_;
    }

    const CabeceraHoja& Cabecera() const { return cabecera_; }
    // The columns the map reads.
    std::vector<char> Columnas() const {
        std::vector<char> r;
        for (const int c : cabecera_.mapa.columnas)
            if (c >= 0) {
                r.resize(std::max(r.size(), static_cast<size_t>(c) + 1), 0);
                r[static_cast<size_t>(c)] = 1;
            }
        return r;
    }

    // The merged ranges that reach data rows: they fill their cells when read again.
    bool Combina(const std::vector<RangoCombinado>& rangos) {
        for (const RangoCombinado& r : rangos)
            if (r.fila1 > ultimaCabecera_ && (r.fila2 > r.fila1 || r.columna2 > r.columna1))
                combinadas_.push_back({r, CeldaLeida()});
        return !combinadas_.empty();
    }
    void Reinicia() {
        cabecera_ = CabeceraHoja();
        filas_.clear();
        formatos_ = 0;
        constructor_.reset();
    }

private:
    void Decide() {
        cabecera_.hallada = true;
        cabecera_.titulos = Titulos(filas_);
        if (libro_) {
            cabecera_.mapa = ProponeMapa(cabecera_.titulos);
            cabecera_.mapa[K::Tipo] = -1;
            cabecera_.mapa.tipoFijo = libro_;
        } else {
            cabecera_.mapa = mapaDado_;
        }
        if (imp_)
            constructor_ = std::make_unique<ConstructorFilas>(*imp_, nombre_, cabecera_.titulos, cabecera_.mapa,
                                                              QLatin1Char(','));
    }

    // The row with the value of each merged range copied into the cells it covers.
    void CeldasCombinadas(int fila, const std::vector<CeldaLeida>& celdas) {
        if (combinadas_.empty())
            return;
        fila_ = celdas;
        for (auto& [r, valor] : combinadas_) {
            if (fila < r.fila1 || fila > r.fila2)
                continue;
            if (fila == r.fila1)
                for (const CeldaLeida& c : celdas)
                    if (c.columna == r.columna1)
                        valor = c;
            for (int col = r.columna1; col <= r.columna2; ++col) {
                if (fila == r.fila1 && col == r.columna1)
                    continue;
                CeldaLeida copia = valor;
                copia.columna = col;
                fila_.push_back(copia);
            }
        }
    }

    Importacion* imp_;
    QString nombre_;
    std::optional<bool> libro_;
    MapaColumnas mapaDado_;
    CabeceraHoja cabecera_;
    std::vector<std::vector<CeldaLeida>> filas_;
    int formatos_ = 0;
    int ultimaCabecera_ = 0;
    std::unique_ptr<ConstructorFilas> constructor_;
    std::vector<std::pair<RangoCombinado, CeldaLeida>> combinadas_;
    std::vector<CeldaLeida> fila_;
};

// The sheets a workbook's books are on: those named as the books are.
std::vector<std::pair<int, bool>> HojasLibros(const QStringList& hojas) {
    std::vector<std::pair<int, bool>> r;
    for (int i = 0; i < hojas.size(); ++i) {
        const QString n = NormalizaCabecera(hojas[i]);
        if (n.startsWith(QLatin1String("expedidas")) || n.startsWith(QLatin1String("recibidas")))
            r.emplace_back(i, n.startsWith(QLatin1String("expedidas")));
    }
    return r;
}

QString NoSeLee(const QString& ruta, const QString& motivo) {
    return QStringLiteral("El archivo ") + QDir::toNativeSeparators(ruta) + QLatin1Char(' ') + motivo +
           QLatin1Char('.');
}

// The header of sheet `hoja`, reading no further than it.
CabeceraHoja LeeCabeceraHoja(LectorXlsx& lector, int hoja, std::optional<bool> libro) {
    LectorHoja l(nullptr, lector.Hojas().value(hoja), libro, MapaColumnas());
    lector.LeeHoja(hoja, [&l](int fila, const std::vector<CeldaLeida>& c) { return l.Fila(fila, c); });
    return l.Termina();
}

ExamenImportacion ExaminaXlsx(const QString& ruta) {
    ExamenImportacion e;
    LectorXlsx lector;
    if (!lector.Abre(ruta)) {
        e.error = NoSeLee(ruta, lector.Error());
        return e;
    }
    const auto libros = HojasLibros(lector.Hojas());
    for (const auto& [hoja, cobros] : libros) {
        const CabeceraHoja c = LeeCabeceraHoja(lector, hoja, cobros);
        const QString falta = c.hallada ? c.mapa.Falta() : QString();
        if (!c.hallada || !falta.isEmpty()) {
            e.error = QStringLiteral("La hoja ") + lector.Hojas()[hoja] + QStringLiteral(" de ") +
                      QDir::toNativeSeparators(ruta) + QLatin1Char(' ') +
                      (c.hallada ? QStringLiteral("no tiene columna para ") + falta : kSinCabecera) + QLatin1Char('.');
            return e;
        }
    }
    if (!libros.empty()) {
        e.libros = true;
        return e;
    }
    // Any other workbook: its first sheet, mapped as a CSV is.
    const CabeceraHoja c = LeeCabeceraHoja(lector, 0, std::nullopt);
    if (!c.hallada) {
        e.error = NoSeLee(ruta, QStringLiteral("no tiene hojas de libros registro (EXPEDIDAS, RECIBIDAS) y su primera hoja ") +
                                    kSinCabecera);
        return e;
    }
    e.cabeceras = c.titulos;
    e.propuesto = ProponeMapa(c.titulos);
    if (!e.propuesto.tipoFijo && e.propuesto[K::Tipo] < 0)
        e.propuesto.tipoFijo = TipoDeLibro(lector.Hojas()[0], c.titulos);
    e.claveMapa = ClaveMapaGuardado(c.titulos);
    return e;
}

void LeeXlsx(const QString& ruta, const MapaColumnas& mapa, const ProgresoImportacion& progreso, Importacion& imp) {
    LectorXlsx lector;
    if (!lector.Abre(ruta)) {
        imp.error = NoSeLee(ruta, lector.Error());
        return;
    }
    std::vector<std::pair<int, std::optional<bool>>> hojas;
    for (const auto& [hoja, cobros] : HojasLibros(lector.Hojas()))
        hojas.emplace_back(hoja, cobros);
    if (hojas.empty())
        hojas.emplace_back(0, std::nullopt);
    for (size_t h = 0; h < hojas.size() && !imp.cancelada; ++h) {
        const auto [hoja, libro] = hojas[h];
        const QString nombre = lector.Hojas()[hoja];
        LectorHoja l(&imp, nombre, libro, mapa);
        const size_t antes = imp.filas.size();
        int leidas = 0;
        auto alLeer = [&](int fila, const std::vector<CeldaLeida>& c) {
            if (++leidas % kPasoProgreso == 0 && progreso &&
                !progreso(static_cast<int>((h * 1000 + static_cast<size_t>(lector.Avance())) / hojas.size()))) {
                imp.cancelada = true;
                return false;
            }
            const bool sinCabecera = !l.Cabecera().hallada;
            const bool sigue = l.Fila(fila, c);
            // Once the header is known, the other columns' cells are not worth reading.
            if (sinCabecera && l.Cabecera().hallada)
                lector.SoloColumnas(l.Columnas());
            return sigue;
        };
        bool bien = lector.LeeHoja(hoja, alLeer);
        // Merged cells over the data are listed after it: read again, filling them.
        if (bien && !imp.cancelada && l.Combina(lector.Combinadas())) {
            imp.filas.resize(antes);
            l.Reinicia();
            bien = lector.LeeHoja(hoja, alLeer);
        }
        if (!bien) {
            imp.filas.clear();
            imp.error = NoSeLee(ruta, lector.Error());
            return;
        }
        if (!l.Termina().hallada) {
            imp.filas.clear();
            imp.error = QStringLiteral("La hoja ") + nombre + QStringLiteral(" de ") + QDir::toNativeSeparators(ruta) +
                        QLatin1Char(' ') + kSinCabecera + QLatin1Char('.');
            return;
        }
    }
}

// ---- CSV -----------------------------------------------------------------------

std::vector<CeldaLeida> Celdas(const QStringList& campos) {
    std::vector<CeldaLeida> r;
    r.reserve(static_cast<size_t>(campos.size()));
    for (int i = 0; i < campos.size(); ++i) {
        CeldaLeida c;
        c.columna = i;
        c.texto = campos[i];
        r.push_back(std::move(c));
    }
    return r;
}

// A CSV of the books: its headers' words say which, and its columns are known.
std::optional<MapaColumnas> MapaLibroCsv(const QString& ruta, const QStringList& cabeceras) {
    const auto tipo = TipoDeLibro(QFileInfo(ruta).completeBaseName(), cabeceras);
    MapaColumnas m = ProponeMapa(cabeceras);
    const int fecha = m[K::Fecha];
    if (!tipo || fecha < 0 || !NormalizaCabecera(cabeceras[fecha]).contains(QLatin1String("expedicion")))
        return std::nullopt;
    m[K::Tipo] = -1;
    m.tipoFijo = tipo;
    if (!m.Falta().isEmpty())
        return std::nullopt;
    return m;
}

ExamenImportacion ExaminaCsv(const QString& ruta) {
    ExamenImportacion e;
    LectorCsv lector;
    RegistroCsv cabecera;
    if (!lector.Abre(ruta) || !lector.Siguiente(cabecera)) {
        e.error = NoSeLee(ruta, lector.Error().isEmpty() ? QStringLiteral("está vacío") : lector.Error());
        return e;
    }
    if (MapaLibroCsv(ruta, cabecera.campos)) {
        e.libros = true;
        return e;
    }
    e.cabeceras = cabecera.campos;
    e.propuesto = ProponeMapa(e.cabeceras);
    e.claveMapa = ClaveMapaGuardado(e.cabeceras);
    return e;
}

// The decimal separator most amounts of the file show, where they show one.
QChar DecimalDelArchivo(LectorCsv lector, const MapaColumnas& m) {
    int comas = 0, puntos = 0;
    RegistroCsv r;
    while (lector.Siguiente(r))
        for (const K k : {K::Neto, K::Porcentaje, K::Cuota, K::Total}) {
            // Only amounts that read with it count: "12,3,4" tells nothing.
            const QString t = m[k] >= 0 ? r.campos.value(m[k]) : QString();
            QChar d = DecimalEvidente(t);
            if (!d.isNull() && !LeeImporteTexto(t, d))
                d = QChar();
            comas += d == QLatin1Char(',') ? 1 : 0;
            puntos += d == QLatin1Char('.') ? 1 : 0;
        }
    return puntos > comas ? QLatin1Char('.') : QLatin1Char(',');
}

void LeeCsv(const QString& ruta, const MapaColumnas& mapaDado, const ProgresoImportacion& progreso, Importacion& imp) {
    LectorCsv lector;
    RegistroCsv r;
    if (!lector.Abre(ruta) || !lector.Siguiente(r)) {
        imp.error = NoSeLee(ruta, lector.Error().isEmpty() ? QStringLiteral("está vacío") : lector.Error());
        return;
    }
    const QStringList cabeceras = r.campos;
    const MapaColumnas mapa = MapaLibroCsv(ruta, cabeceras).value_or(mapaDado);
    ConstructorFilas constructor(imp, QString(), cabeceras, mapa, DecimalDelArchivo(lector, mapa));
    const QString separador = lector.Separador() == QLatin1Char('\t') ? QStringLiteral("un tabulador")
                                                                      : QStringLiteral("«%1»").arg(lector.Separador());
    int leidas = 0;
    while (lector.Siguiente(r)) {
        if (++leidas % kPasoProgreso == 0 && progreso && !progreso(lector.Avance())) {
            imp.cancelada = true;
            return;
        }
        QString fallo;
        const bool sobran = std::any_of(r.campos.cbegin() + qMin(r.campos.size(), cabeceras.size()), r.campos.cend(),
                                        [](const QString& c) { return !c.trimmed().isEmpty(); });
        if (r.comillasAbiertas)
            fallo = QStringLiteral("unas comillas no se cierran.");
        else if (r.campos.size() == 1 && cabeceras.size() > 1 && !r.campos[0].trimmed().isEmpty())
            fallo = QStringLiteral("no está separada por ") + separador + QStringLiteral(" como la cabecera.");
        else if (sobran)
            fallo = QStringLiteral("tiene %1 campos y la cabecera %2.").arg(r.campos.size()).arg(cabeceras.size());
        constructor.Fila(r.linea, Celdas(r.campos), fallo);
    }
}

// ---- Writing -------------------------------------------------------------------

// Empty texts are stored as Null, as the editor stores them.
Valor ValorTexto(const QString& t) { return t.isEmpty() ? Valor::Nulo() : Valor::DeTexto(t); }
Valor ValorFecha(const QDate& d) { return d.isValid() ? Valor::DeFecha(d) : Valor::Nulo(); }
Valor ValorNumero(const std::optional<double>& v) { return v ? Valor::DeDecimal(*v) : Valor::Nulo(); }

// Quoted only when the field holds the separator, a quote or a line break.
QString Campo(const QString& t) {
    if (!t.contains(QLatin1Char(';')) && !t.contains(QLatin1Char('"')) && !t.contains(QLatin1Char('\n')) &&
        !t.contains(QLatin1Char('\r')))
        return t;
    QString q = t;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

}  // namespace

std::optional<FormatoImportacion> FormatoImportable(const QString& ruta) {
    const QString extension = QFileInfo(ruta).suffix().toLower();
    if (extension == QLatin1String("xlsx"))
        return FormatoImportacion::Xlsx;
    if (extension == QLatin1String("csv") || extension == QLatin1String("txt"))
        return FormatoImportacion::Csv;
    return std::nullopt;
}

ExamenImportacion ExaminaImportacion(const QString& ruta) {
    const auto formato = FormatoImportable(ruta);
    if (!formato) {
        ExamenImportacion e;
        e.error = NoSeLee(ruta, QStringLiteral("no es un libro de Excel (.xlsx) ni un texto CSV (.csv, .txt)"));
        return e;
    }
    if (!QFileInfo(ruta).isFile()) {
        ExamenImportacion e;
        e.error = NoSeLee(ruta, QStringLiteral("no existe"));
        return e;
    }
    return *formato == FormatoImportacion::Xlsx ? ExaminaXlsx(ruta) : ExaminaCsv(ruta);
}

int Importacion::Cuenta(FilaImportacion::Estado estado) const {
    return static_cast<int>(
        std::count_if(filas.begin(), filas.end(), [estado](const FilaImportacion& f) { return f.estado == estado; }));
}

Importacion LeeImportacion(const QString& ruta, const MapaColumnas& mapa, const ProgresoImportacion& progreso) {
    Importacion imp;
    imp.archivo = ruta;
    const auto formato = FormatoImportable(ruta);
    if (!formato || !QFileInfo(ruta).isFile())
        imp.error = ExaminaImportacion(ruta).error;
    else if (*formato == FormatoImportacion::Xlsx)
        LeeXlsx(ruta, mapa, progreso, imp);
    else
        LeeCsv(ruta, mapa, progreso, imp);
    if (imp.cancelada)
        imp.filas.clear();
    else if (progreso)
        progreso(1000);
    return imp;
}

void MarcaRepetidas(ConexionBD& con, Importacion& imp) {
    // The editor's rule wants the same type and code: only rows whose code
    // the database holds for that type are asked about, each against those rows.
    QHash<QString, QStringList> ids;
    auto clave = [](bool cobro, const QString& codigo) {
        return (cobro ? QStringLiteral("C") : QStringLiteral("P")) + QChar(0x1F) + codigo;
    };
    {
        auto rs = con.AbrirRegistros(QStringLiteral("select ID, TIPO, COD_FACTURA from FACTURAS"));
        for (int i = 0; i < rs->NumFilas(); ++i)
            ids[clave(rs->Celda(i, 1).Texto() == QLatin1String("C"), rs->Celda(i, 2).Texto())]
                << rs->Celda(i, 0).Texto();
    }
    for (FilaImportacion& f : imp.filas) {
        if (f.estado != Estado::Nueva)
            continue;
        const auto candidatas = ids.constFind(clave(f.cobro, f.codigo));
        if (candidatas == ids.constEnd())
            continue;
        auto texto = [](const std::optional<double>& v) { return v ? TextoNumero(*v) : QString(); };
        const CamposFactura campos{f.codigo,       EscribeFecha(f.fecha), texto(f.cuota), texto(f.total),
                                   texto(f.neto),  texto(f.porcentaje),   f.descripcion};
        const CamposTercero tercero{f.nif, f.fechaOperacion.isValid() ? EscribeFecha(f.fechaOperacion) : QString(),
                                    f.nombre};
        const auto sql = SqlFacturaRepetida(campos, f.cobro ? TipoCobros : TipoPagos, tercero, QString());
        if (!sql)
            continue;
        if (!con.AbrirRegistros(*sql + QStringLiteral(" and ID in (") + candidatas->join(QLatin1Char(',')) +
                                QLatin1Char(')'))
                 ->Fin()) {
            f.estado = Estado::Repetida;
            f.motivo = QStringLiteral("ya está en la base de datos");
        }
    }
}

int GrabaImportacion(ConexionBD& con, const Importacion& imp, const ProgresoImportacion& progreso) {
    // The counterparty's country and kind of identifier where the database keeps them.
    const QStringList columnas = con.AbrirRegistros(QStringLiteral("select * from FACTURAS where ID = 0"))->Columnas();
    auto tiene = [&columnas](const char* c) { return columnas.contains(QLatin1String(c), Qt::CaseInsensitive); };
    const bool conPais = tiene("PAIS_TERCERO"), conTipoId = tiene("TIPO_ID_TERCERO");
    const QString nombres = QStringLiteral("COD_FACTURA, FECHA_FACTURA, IMPORTE_IVA, IMPORTE_TOTAL, IMPORTE_NETO, IVA, "
                                           "DESCRIPCION, TIPO, NIF_TERCERO, FECHA_OPERACION, NOMBRE_TERCERO") +
                            (conPais ? QStringLiteral(", PAIS_TERCERO") : QString()) +
                            (conTipoId ? QStringLiteral(", TIPO_ID_TERCERO") : QString());
    const int porFila = 11 + (conPais ? 1 : 0) + (conTipoId ? 1 : 0);
    QStringList marcas;
    for (int i = 0; i < porFila; ++i)
        marcas << QStringLiteral("?");
    const QString grupo = QLatin1Char('(') + marcas.join(QStringLiteral(", ")) + QLatin1Char(')');

    std::vector<const FilaImportacion*> nuevas;
    for (const FilaImportacion& f : imp.filas)
        if (f.estado == Estado::Nueva)
            nuevas.push_back(&f);
    if (nuevas.empty())
        return 0;
    TransaccionBD transaccion(con);
    std::vector<Valor> valores;
    QStringList grupos;
    const int total = static_cast<int>(nuevas.size());
    for (int i = 0; i < total; i += kFilasPorSentencia) {
        if (progreso && i % (kFilasPorSentencia * 20) == 0 && !progreso(static_cast<int>(qint64(i) * 1000 / total)))
            return -1;
        const int n = qMin(kFilasPorSentencia, total - i);
        valores.clear();
        grupos.clear();
        for (int j = 0; j < n; ++j) {
            const FilaImportacion& f = *nuevas[static_cast<size_t>(i + j)];
            valores.insert(valores.end(),
                           {ValorTexto(f.codigo), ValorFecha(f.fecha), ValorNumero(f.cuota), ValorNumero(f.total),
                            ValorNumero(f.neto), ValorNumero(f.porcentaje), ValorTexto(f.descripcion),
                            Valor::DeTexto(f.cobro ? QStringLiteral("C") : QStringLiteral("P")), ValorTexto(f.nif),
                            ValorFecha(f.fechaOperacion), ValorTexto(f.nombre)});
            if (conPais)
                valores.push_back(ValorTexto(f.pais));
            if (conTipoId)
                valores.push_back(ValorTexto(f.tipoIdentificacion));
            grupos << grupo;
        }
        transaccion.Comprueba();
        con.Ejecutar(QStringLiteral("insert into FACTURAS (") + nombres + QStringLiteral(") values ") +
                         grupos.join(QStringLiteral(", ")),
                     valores);
    }
    transaccion.Confirma();
    if (progreso)
        progreso(1000);
    return total;
}

QString ResumenImportacion(int importadas, int repetidas, int rechazadas) {
    QString r = importadas == 0   ? QStringLiteral("No se importó ninguna factura")
                : importadas == 1 ? QStringLiteral("Importada 1 factura")
                                  : QStringLiteral("Importadas ") + Numero(importadas) + QStringLiteral(" facturas");
    if (repetidas == 1)
        r += QStringLiteral("; 1 repetida no se importó");
    else if (repetidas > 1)
        r += QStringLiteral("; ") + Numero(repetidas) + QStringLiteral(" repetidas no se importaron");
    if (rechazadas == 1)
        r += QStringLiteral("; 1 rechazada");
    else if (rechazadas > 1)
        r += QStringLiteral("; ") + Numero(rechazadas) + QStringLiteral(" rechazadas");
    return r + QLatin1Char('.');
}

QString CuentaImportacion(const Importacion& imp) {
    const int nuevas = imp.Nuevas(), repetidas = imp.Repetidas(), rechazadas = imp.Rechazadas();
    const auto completadas = std::count_if(imp.filas.begin(), imp.filas.end(), [](const FilaImportacion& f) {
        return f.estado == Estado::Nueva && !f.completados.isEmpty();
    });
    QString r = nuevas == 1 ? QStringLiteral("1 factura nueva") : Numero(nuevas) + QStringLiteral(" facturas nuevas");
    const auto sinImpuesto = std::count_if(imp.filas.begin(), imp.filas.end(), [](const FilaImportacion& f) {
        return f.estado == Estado::Nueva && f.sinImpuesto;
    });
    QStringList notas;
    if (completadas > 0)
        notas << Numero(completadas) + QStringLiteral(" con importes completados");
    if (sinImpuesto > 0)
        notas << Numero(sinImpuesto) + QStringLiteral(" sin tipo ni cuota de IGIC, que los libros no llevan");
    if (!notas.isEmpty())
        r += QStringLiteral(" (") + notas.join(QStringLiteral("; ")) + QLatin1Char(')');
    r += QStringLiteral(", ") + Numero(repetidas) + (repetidas == 1 ? QStringLiteral(" repetida") : QStringLiteral(" repetidas"));
    r += QStringLiteral(" y ") + Numero(rechazadas) +
         (rechazadas == 1 ? QStringLiteral(" rechazada.") : QStringLiteral(" rechazadas."));
    return r;
}

bool EscribeRechazadas(const QString& ruta, const Importacion& imp, QString* error) {
    QString texto = QStringLiteral("\uFEFF");
    QStringList cabecera;
    for (int k = 0; k < NumCamposMapa; ++k)
        cabecera << Campo(TituloCampo(static_cast<K>(k)));
    cabecera << QStringLiteral("Motivo del rechazo");
    texto += cabecera.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    for (const FilaImportacion& fila : imp.filas) {
        if (fila.estado != Estado::Rechazada)
            continue;
        QStringList campos;
        for (const QString& t : fila.textos)
            campos << Campo(t);
        campos << Campo(fila.motivo);
        texto += campos.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    if (EscribeArchivoEntero(ruta, texto.toUtf8()))
        return true;
    if (error)
        *error = QStringLiteral("No se pudo escribir el archivo ") + QDir::toNativeSeparators(ruta) +
                 QStringLiteral(". Compruebe que la carpeta existe, que puede escribir en ella y que queda espacio en "
                                "el disco.");
    return false;
}
