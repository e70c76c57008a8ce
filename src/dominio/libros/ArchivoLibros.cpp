#include "dominio/libros/ArchivoLibros.h"

#include "dominio/libros/CeldasLibros.h"

#include "base/Archivos.h"
#include "base/Bitacora.h"
#include "base/Formatos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>
#include "dominio/libros/BibliotecaXlsx.h"
#ifdef Q_OS_UNIX
#include <locale.h>
#endif

namespace {

// How often a long export reports, in rows.
constexpr int kPasoProgreso = 1000;

QString TextoFallo(const QString& ruta) {
    return QStringLiteral("No se pudo escribir el archivo ") + QDir::toNativeSeparators(ruta) +
           QStringLiteral(". Compruebe que la carpeta existe, que puede escribir en ella y que queda espacio en el "
                          "disco.");
}

ResultadoLibros Fallo(const QString& ruta, const QString& detalle) {
    AnotaBitacora(QStringLiteral("Libros registro, ") + ruta + QStringLiteral(": ") + detalle);
    ResultadoLibros r;
    r.estado = ResultadoLibros::Estado::Fallido;
    r.error = TextoFallo(ruta);
    return r;
}

QString Temporal(const QString& ruta) { return ruta + QStringLiteral(".tmp"); }

// The characters of the ASCII range a CSV field is quoted for.
constexpr bool EsEspecialCsv(char16_t c) { return c == u';' || c == u'"' || c == u'\n' || c == u'\r'; }

// The first `longitud` whole characters of `t` in UTF-8 from `p`, which has
// room for three bytes per UTF-16 unit; a lone half of a character is none.
// Returns the end; `especial` tells whether a separator, quote or line break
// of the CSV is among them. One pass over the text.
inline char* Utf8(QStringView t, int longitud, char* p, bool& especial) {
    const char16_t* s = t.utf16();
    const qsizetype n = t.size();
    qsizetype quedan = longitud > 0 ? longitud : n;
    bool e = false;
    // Most texts are plain ASCII: a byte a character, until the first that is not.
    qsizetype i = 0;
    for (const qsizetype fin = std::min(n, quedan); i < fin && s[i] < 0x80; ++i) {
        p[i] = static_cast<char>(s[i]);
        e |= EsEspecialCsv(s[i]);
    }
    p += i;
    quedan -= i;
    for (; i < n && quedan > 0; ++i, --quedan) {
        const char16_t c = s[i];
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
            e |= EsEspecialCsv(c);
        } else if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            const char32_t u = QChar::surrogateToUcs4(c, s[++i]);
            *p++ = static_cast<char>(0xF0 | (u >> 18));
            *p++ = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (u & 0x3F));
        } else if (QChar::isSurrogate(c)) {
            ++quedan;  // no character
        } else {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    especial = e;
    return p;
}

// The place kept for a column's fixed text; empty until it is first written.
std::string& Fijo(std::vector<std::string>& fijos, int columna) {
    if (fijos.size() <= static_cast<size_t>(columna))
        fijos.resize(static_cast<size_t>(columna) + 1);
    return fijos[static_cast<size_t>(columna)];
}

// The decimal digits of `v` from `p`; returns the end.
char* Digitos(char* p, quint64 v) {
    char tmp[20];
    int n = 0;
    do {
        tmp[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    while (n)
        *p++ = tmp[--n];
    return p;
}

// Every row to the writer of its sheet, with the progress between; false when stopped.
template <class E>
bool RecorreFilas(const DatosLibros& datos, const ProgresoLibros& progreso, E& expedidas, E& recibidas) {
    const int total = static_cast<int>(datos.facturas.size());
    for (int i = 0; i < total; ++i) {
        if (progreso && i % kPasoProgreso == 0 && !progreso(i, total))
            return false;
        const FacturaLibro& f = datos.facturas[static_cast<size_t>(i)];
        (f.expedida ? expedidas : recibidas).Fila(f, datos.empresa, datos.impuesto);
    }
    return !progreso || progreso(total, total);
}

// ---- XLSX ---------------------------------------------------------------------

struct Formatos {
    lxw_format* cabecera;
    lxw_format* formato;
    lxw_format* texto;
    lxw_format* entero;
    lxw_format* importe;
    lxw_format* fecha;
};

// Rows 1 to 3 as the agency's template: group names over their columns,
// sub-column names, formats; a column of its own takes rows 1 and 2. The
// rows of a sheet go to the file in order: a range over rows 1 and 2 is
// merged once row 2 is the current one.
void Cabecera(lxw_worksheet* hoja, const HojaLibro& h, const Formatos& f) {
    const auto& cols = h.columnas;
    const auto n = static_cast<lxw_col_t>(cols.size());
    for (lxw_col_t c = 0; c < n;) {
        lxw_col_t ultima = c;
        while (*cols[c].subcolumna && ultima + 1 < n && *cols[ultima + 1].subcolumna &&
               std::strcmp(cols[ultima + 1].grupo, cols[c].grupo) == 0)
            ++ultima;
        if (ultima > c)
            worksheet_merge_range(hoja, 0, c, 0, ultima, cols[c].grupo, f.cabecera);
        else
            worksheet_write_string(hoja, 0, c, cols[c].grupo, f.cabecera);
        c = ultima + 1;
    }
    for (lxw_col_t c = 0; c < n; ++c) {
        if (*cols[c].subcolumna)
            worksheet_write_string(hoja, 1, c, cols[c].subcolumna, f.cabecera);
        else
            worksheet_merge_range(hoja, 0, c, 1, c, cols[c].grupo, f.cabecera);
    }
    for (lxw_col_t c = 0; c < n; ++c)
        worksheet_write_string(hoja, 2, c, cols[c].formato, f.formato);
    worksheet_freeze_panes(hoja, 3, 0);
}

// Each column as wide as its caption or its longest text, whichever is
// wider (an invoice number longer than "Número" shows whole), within bounds.
void AnchosColumnas(lxw_worksheet* hoja, const HojaLibro& h, const std::vector<int>& textos) {
    const auto& cols = h.columnas;
    for (size_t c = 0; c < cols.size(); ++c) {
        const int titulo = QString::fromUtf8(*cols[c].subcolumna ? cols[c].subcolumna : cols[c].grupo).size();
        const int largo = std::max(titulo, c < textos.size() ? textos[c] : 0);
        worksheet_set_column(hoja, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), qBound(8, largo + 2, 60),
                             nullptr);
    }
}

// The library writes numbers with the C library's printf, which follows the
// locale: under a Spanish one 9.35 would reach the file as "9,35", which no
// spreadsheet reads as a number. The thread that makes the workbook, and only
// it (uselocale, not setlocale), writes in the C locale meanwhile.
class NumerosConPunto {
public:
    NumerosConPunto() {
#ifdef Q_OS_UNIX
        c_ = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (c_)
            antes_ = uselocale(c_);
#endif
    }
    ~NumerosConPunto() {
#ifdef Q_OS_UNIX
        if (c_) {
            uselocale(antes_);
            freelocale(c_);
        }
#endif
    }
    NumerosConPunto(const NumerosConPunto&) = delete;
    NumerosConPunto& operator=(const NumerosConPunto&) = delete;

private:
#ifdef Q_OS_UNIX
    locale_t c_ = nullptr;
    locale_t antes_ = nullptr;
#endif
};

// Excel's serial day: 30/12/1899 is day 0.
constexpr qint64 kDiaCeroExcel = 2415019;

// One sheet of the workbook, row after row.
class HojaXlsx {
public:
    HojaXlsx(lxw_worksheet* hoja, const Formatos& f, lxw_error& error) : hoja_(hoja), f_(f), error_(error) {}
    void Fila(const FacturaLibro& factura, const EmpresaLibros& empresa, Impuesto impuesto) {
        RecorreCeldas(factura, empresa, impuesto, *this);
        ++fila_;
    }
    // The longest text written in each column, in characters.
    const std::vector<int>& Textos() const { return textos_; }
    void Vacia(int) {}
    void TextoFijo(int i, QStringView t, int longitud) {
        Mide(i, t, longitud);
        std::string& hecho = Fijo(fijos_, i);
        if (hecho.empty()) {
            hecho.resize(static_cast<size_t>(t.size()) * 3);
            bool especial;
            hecho.resize(static_cast<size_t>(Utf8(t, longitud, hecho.data(), especial) - hecho.data()));
        }
        Anota(worksheet_write_string(hoja_, fila_, static_cast<lxw_col_t>(i), hecho.c_str(), f_.texto));
    }
    void Codigo(int i, const char* ascii, int) {
        Anota(worksheet_write_string(hoja_, fila_, static_cast<lxw_col_t>(i), ascii, f_.texto));
    }
    void Texto(int i, QStringView t, int longitud) {
        Mide(i, t, longitud);
        const size_t hace = static_cast<size_t>(t.size()) * 3 + 1;
        if (texto_.size() < hace)
            texto_.resize(hace);
        bool especial;
        *Utf8(t, longitud, texto_.data(), especial) = '\0';
        Anota(worksheet_write_string(hoja_, fila_, static_cast<lxw_col_t>(i), texto_.data(), f_.texto));
    }
    void Entero(int i, qint64 n) { Numero(i, static_cast<double>(n), f_.entero); }
    void Centesimas(int i, qint64 n) { Numero(i, static_cast<double>(n) / 100.0, f_.importe); }
    void Fecha(int i, const QDate& d) { Numero(i, static_cast<double>(d.toJulianDay() - kDiaCeroExcel), f_.fecha); }

private:
    void Mide(int i, QStringView t, int longitud) {
        if (static_cast<size_t>(i) >= textos_.size())
            textos_.resize(static_cast<size_t>(i) + 1);
        const int largo = longitud > 0 ? std::min(static_cast<int>(t.size()), longitud) : static_cast<int>(t.size());
        textos_[static_cast<size_t>(i)] = std::max(textos_[static_cast<size_t>(i)], largo);
    }
    void Numero(int i, double v, lxw_format* formato) {
        Anota(worksheet_write_number(hoja_, fila_, static_cast<lxw_col_t>(i), v, formato));
    }
    void Anota(lxw_error e) {
        if (e != LXW_NO_ERROR && error_ == LXW_NO_ERROR)
            error_ = e;
    }
    lxw_worksheet* hoja_;
    const Formatos& f_;
    lxw_error& error_;
    lxw_row_t fila_ = 3;
    std::vector<char> texto_;
    std::vector<std::string> fijos_;
    std::vector<int> textos_;
};

ResultadoLibros EscribeXlsx(const QString& ruta, const DatosLibros& datos, const ProgresoLibros& progreso) {
    const QString temporal = Temporal(ruta);
    const NumerosConPunto numeros;
    lxw_workbook_options opciones{};
    opciones.constant_memory = LXW_TRUE;  // rows go to the file as they come
    lxw_workbook* libro = workbook_new_opt(QFile::encodeName(temporal).constData(), &opciones);
    if (!libro)
        return Fallo(ruta, QStringLiteral("no se pudo crear el libro"));
    Formatos f{};
    f.cabecera = workbook_add_format(libro);
    format_set_bold(f.cabecera);
    format_set_align(f.cabecera, LXW_ALIGN_CENTER);
    format_set_align(f.cabecera, LXW_ALIGN_VERTICAL_CENTER);
    format_set_text_wrap(f.cabecera);
    f.formato = workbook_add_format(libro);
    format_set_italic(f.formato);
    format_set_align(f.formato, LXW_ALIGN_CENTER);
    f.texto = workbook_add_format(libro);
    format_set_num_format(f.texto, "@");
    f.entero = workbook_add_format(libro);
    format_set_num_format(f.entero, "0");
    f.importe = workbook_add_format(libro);
    format_set_num_format(f.importe, "0.00");
    f.fecha = workbook_add_format(libro);
    format_set_num_format(f.fecha, "dd/mm/yyyy");

    lxw_worksheet* expedidas = workbook_add_worksheet(libro, HojaExpedidas().nombre);
    lxw_worksheet* recibidas = workbook_add_worksheet(libro, HojaRecibidas().nombre);
    Cabecera(expedidas, HojaExpedidas(), f);
    Cabecera(recibidas, HojaRecibidas(), f);
    lxw_error error = LXW_NO_ERROR;
    HojaXlsx hojaExpedidas(expedidas, f, error), hojaRecibidas(recibidas, f, error);
    const bool completo = RecorreFilas(datos, progreso, hojaExpedidas, hojaRecibidas);
    AnchosColumnas(expedidas, HojaExpedidas(), hojaExpedidas.Textos());
    AnchosColumnas(recibidas, HojaRecibidas(), hojaRecibidas.Textos());
    const lxw_error cierre = workbook_close(libro);
    if (error == LXW_NO_ERROR)
        error = cierre;
    if (!completo || error != LXW_NO_ERROR) {
        QFile::remove(temporal);
        if (!completo) {
            ResultadoLibros r;
            r.estado = ResultadoLibros::Estado::Cancelado;
            return r;
        }
        return Fallo(ruta, QString::fromUtf8(lxw_strerror(error)));
    }
    QString detalle;
    if (!ReemplazaArchivo(temporal, ruta, &detalle)) {
        QFile::remove(temporal);
        return Fallo(ruta, detalle);
    }
    ResultadoLibros r;
    r.archivos << ruta;
    return r;
}

// ---- CSV ----------------------------------------------------------------------

// One book, written whole under its temporary name: fields quoted only when
// they hold the separator, a quote or a line break.
class ArchivoCsv {
public:
    ArchivoCsv(const QString& ruta, const HojaLibro& hoja) : ruta_(ruta), archivo_(Temporal(ruta)) {
        bien_ = archivo_.open(QIODevice::WriteOnly | QIODevice::Truncate);
        // The mark of UTF-8, so that spreadsheets read the accents right.
        Anade("\xEF\xBB\xBF", 3);
        QStringList titulos;
        for (const ColumnaLibro& c : hoja.columnas)
            titulos << TituloColumna(c);
        const QByteArray cabecera = titulos.join(QLatin1Char(';')).toUtf8() + "\r\n";
        Anade(cabecera.constData(), static_cast<size_t>(cabecera.size()));
    }
    ~ArchivoCsv() {
        if (archivo_.isOpen())
            archivo_.close();
    }
    void Fila(const FacturaLibro& f, const EmpresaLibros& empresa, Impuesto impuesto) {
        // Room for every cell but the texts, which make their own.
        p_ = Reserva(kFijo);
        RecorreCeldas(f, empresa, impuesto, *this);
        *p_++ = '\r';
        *p_++ = '\n';
        usado_ = static_cast<size_t>(p_ - bufer_.data());
    }
    void Vacia(int i) { Separa(i); }
    void TextoFijo(int i, QStringView t, int longitud) {
        std::string& hecho = Fijo(fijos_, i);
        if (hecho.empty()) {
            hecho.resize(static_cast<size_t>(t.size()) * 6 + 2);
            hecho.resize(static_cast<size_t>(Campo(t, longitud, hecho.data()) - hecho.data()));
        }
        usado_ = static_cast<size_t>(p_ - bufer_.data());
        p_ = Reserva(hecho.size() + 1 + kFijo);
        Separa(i);
        std::memcpy(p_, hecho.data(), hecho.size());
        p_ += hecho.size();
    }
    void Codigo(int i, const char* ascii, int n) {
        Separa(i);
        std::memcpy(p_, ascii, static_cast<size_t>(n));
        p_ += n;
    }
    void Texto(int i, QStringView t, int longitud) {
        usado_ = static_cast<size_t>(p_ - bufer_.data());
        p_ = Reserva(static_cast<size_t>(t.size()) * 6 + 3 + kFijo);
        Separa(i);
        p_ = Campo(t, longitud, p_);
    }
    void Entero(int i, qint64 n) {
        Separa(i);
        if (n < 0)
            *p_++ = '-';
        p_ = Digitos(p_, n < 0 ? 0 - static_cast<quint64>(n) : static_cast<quint64>(n));
    }
    void Centesimas(int i, qint64 n) {
        Separa(i);
        if (n < 0)
            *p_++ = '-';
        const quint64 a = n < 0 ? 0 - static_cast<quint64>(n) : static_cast<quint64>(n);
        p_ = Digitos(p_, a / 100);
        *p_++ = ',';
        *p_++ = static_cast<char>('0' + a % 100 / 10);
        *p_++ = static_cast<char>('0' + a % 10);
    }
    void Fecha(int i, const QDate& d) {
        Separa(i);
        // Neighbouring rows share their dates: each is worked out once.
        if (d.toJulianDay() != diaHecho_) {
            int a, m, dia;
            d.getDate(&a, &m, &dia);
            const char texto[10] = {static_cast<char>('0' + dia / 10), static_cast<char>('0' + dia % 10), '/',
                                    static_cast<char>('0' + m / 10),   static_cast<char>('0' + m % 10),   '/',
                                    static_cast<char>('0' + a / 1000 % 10), static_cast<char>('0' + a / 100 % 10),
                                    static_cast<char>('0' + a / 10 % 10),   static_cast<char>('0' + a % 10)};
            std::memcpy(fechaHecha_, texto, sizeof texto);
            diaHecho_ = d.toJulianDay();
        }
        std::memcpy(p_, fechaHecha_, sizeof fechaHecha_);
        p_ += sizeof fechaHecha_;
    }
    // True when the whole file reached the disk.
    bool Termina() {
        VaciaBufer();
        bien_ = bien_ && archivo_.flush();
        archivo_.close();
        return bien_ && archivo_.error() == QFileDevice::NoError;
    }
    QString Detalle() const { return archivo_.errorString(); }
    void Descarta() {
        archivo_.close();
        QFile::remove(Temporal(ruta_));
    }

private:
    static constexpr size_t kBufer = 1 << 16;
    // Every cell of a row that is not a text fits in it, its separator included.
    static constexpr size_t kFijo = 64 * 32;
    // Room for `n` more bytes after what is kept.
    char* Reserva(size_t n) {
        if (usado_ + n > bufer_.size()) {
            VaciaBufer();
            if (n > bufer_.size())
                bufer_.resize(std::max(n, kBufer));
        }
        return bufer_.data() + usado_;
    }
    // The field of a text at `p`, which has room for six bytes per UTF-16
    // unit and two; returns the end.
    static char* Campo(QStringView t, int longitud, char* p) {
        bool especial;
        char* fin = Utf8(t, longitud, p, especial);
        if (!especial)
            return fin;
        // Rare: the same bytes again, quoted, their quotes doubled.
        const std::string campo(p, fin);
        *p++ = '"';
        for (const char c : campo) {
            if (c == '"')
                *p++ = '"';
            *p++ = c;
        }
        *p++ = '"';
        return p;
    }
    // The separator before every field but the first of a row.
    void Separa(int i) {
        if (i > 0)
            *p_++ = ';';
    }
    void Anade(const char* datos, size_t n) {
        std::memcpy(Reserva(n), datos, n);
        usado_ += n;
    }
    void VaciaBufer() {
        const auto n = static_cast<qint64>(usado_);
        if (bien_ && n > 0 && archivo_.write(bufer_.data(), n) != n)
            bien_ = false;
        usado_ = 0;
    }
    QString ruta_;
    QFile archivo_;
    std::vector<char> bufer_ = std::vector<char>(kBufer);
    size_t usado_ = 0;  // kept, up to the end of the last whole row
    char* p_ = nullptr;  // where the row being written goes on
    bool bien_ = false;
    qint64 diaHecho_ = std::numeric_limits<qint64>::min();
    char fechaHecha_[10] = {};
    std::vector<std::string> fijos_;
};

ResultadoLibros EscribeCsv(const QString& ruta, const DatosLibros& datos, const ProgresoLibros& progreso) {
    const QStringList rutas = ArchivosLibros(ruta, FormatoLibros::Csv);
    ArchivoCsv expedidas(rutas[0], HojaExpedidas()), recibidas(rutas[1], HojaRecibidas());
    if (!RecorreFilas(datos, progreso, expedidas, recibidas)) {
        expedidas.Descarta();
        recibidas.Descarta();
        ResultadoLibros r;
        r.estado = ResultadoLibros::Estado::Cancelado;
        return r;
    }
    const bool bienExpedidas = expedidas.Termina(), bienRecibidas = recibidas.Termina();
    if (!bienExpedidas || !bienRecibidas) {
        const QString detalle = bienExpedidas ? recibidas.Detalle() : expedidas.Detalle();
        expedidas.Descarta();
        recibidas.Descarta();
        return Fallo(bienExpedidas ? rutas[1] : rutas[0], detalle);
    }
    // Both are whole before either takes its place.
    ResultadoLibros r;
    for (const QString& destino : rutas) {
        QString detalle;
        if (!ReemplazaArchivo(Temporal(destino), destino, &detalle)) {
            for (const QString& d : rutas)
                QFile::remove(Temporal(d));
            ResultadoLibros fallo = Fallo(destino, detalle);
            fallo.archivos = r.archivos;
            return fallo;
        }
        r.archivos << destino;
    }
    return r;
}

}  // namespace

std::optional<FormatoLibros> FormatoDeArchivo(const QString& ruta) {
    const QString extension = QFileInfo(ruta).suffix().toLower();
    if (extension == QLatin1String("xlsx"))
        return FormatoLibros::Xlsx;
    if (extension == QLatin1String("csv"))
        return FormatoLibros::Csv;
    return std::nullopt;
}

QStringList ArchivosLibros(const QString& ruta, FormatoLibros formato) {
    if (formato == FormatoLibros::Xlsx)
        return {ruta};
    // Beside it, named as the user wrote it.
    const QString base = ruta.left(ruta.size() - QFileInfo(ruta).suffix().size() - 1) + QLatin1Char('_');
    return {base + QLatin1String(HojaExpedidas().nombre) + QStringLiteral(".csv"),
            base + QLatin1String(HojaRecibidas().nombre) + QStringLiteral(".csv")};
}

ResultadoLibros EscribeLibros(const QString& ruta, FormatoLibros formato, const DatosLibros& datos,
                              const ProgresoLibros& progreso) {
    return formato == FormatoLibros::Xlsx ? EscribeXlsx(ruta, datos, progreso) : EscribeCsv(ruta, datos, progreso);
}
