#include "libros/ArchivoLibros.h"

#include "data/comun/Archivos.h"
#include "data/comun/Bitacora.h"
#include "data/comun/Formatos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <xlsxwriter.h>
#ifdef Q_OS_UNIX
#include <clocale>
#include <locale.h>
#include <unistd.h>
#endif

namespace {

// The library writes its own complaints, in English, to standard error, where
// the commands put their Spanish ones: while it works they go to the log.
class QuejasALaBitacora {
public:
    QuejasALaBitacora() {
#ifdef Q_OS_UNIX
        std::fflush(stderr);
        if (archivo_.open()) {
            guardado_ = dup(STDERR_FILENO);
            if (guardado_ >= 0)
                dup2(archivo_.handle(), STDERR_FILENO);
        }
#endif
    }
    ~QuejasALaBitacora() {
#ifdef Q_OS_UNIX
        if (guardado_ < 0)
            return;
        std::fflush(stderr);
        dup2(guardado_, STDERR_FILENO);
        close(guardado_);
        archivo_.seek(0);
        const QString quejas = QString::fromLocal8Bit(archivo_.readAll()).trimmed();
        if (!quejas.isEmpty())
            AnotaBitacora(QStringLiteral("libxlsxwriter: ") + quejas);
#endif
    }
    QuejasALaBitacora(const QuejasALaBitacora&) = delete;
    QuejasALaBitacora& operator=(const QuejasALaBitacora&) = delete;

private:
    QTemporaryFile archivo_;
    int guardado_ = -1;
};

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

// Every row through `escribe`, with the progress between; false when stopped.
template <class F>
bool RecorreFilas(const DatosLibros& datos, const ProgresoLibros& progreso, F escribe) {
    const int total = static_cast<int>(datos.facturas.size());
    std::vector<CeldaLibro> celdas;
    for (int i = 0; i < total; ++i) {
        if (progreso && i % kPasoProgreso == 0 && !progreso(i, total))
            return false;
        const FacturaLibro& f = datos.facturas[static_cast<size_t>(i)];
        CeldasLibro(f, datos.empresa, celdas);
        escribe(f, celdas);
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
};

// Rows 1 to 3 as the agency's template: group names (over their columns),
// sub-column names, formats. Row after row: the rows of a sheet go to the
// file in order.
void Cabecera(lxw_worksheet* hoja, const HojaLibro& h, const Formatos& f) {
    const auto& cols = h.columnas;
    const auto n = static_cast<lxw_col_t>(cols.size());
    for (lxw_col_t c = 0; c < n;) {
        lxw_col_t ultima = c;
        while (*cols[c].subcolumna && ultima + 1 < n && *cols[ultima + 1].subcolumna &&
               QByteArray(cols[ultima + 1].grupo) == cols[c].grupo)
            ++ultima;
        if (ultima > c)
            worksheet_merge_range(hoja, 0, c, 0, ultima, cols[c].grupo, f.cabecera);
        else
            worksheet_write_string(hoja, 0, c, cols[c].grupo, f.cabecera);
        c = ultima + 1;
    }
    for (lxw_col_t c = 0; c < n; ++c)
        if (*cols[c].subcolumna)
            worksheet_write_string(hoja, 1, c, cols[c].subcolumna, f.cabecera);
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
// process's locale: under a Spanish one 9.35 would reach the file as "9,35",
// which no spreadsheet reads as a number. This thread writes in the C locale
// while the workbook is made.
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

ResultadoLibros EscribeXlsx(const QString& ruta, const DatosLibros& datos, const ProgresoLibros& progreso) {
    const QString temporal = Temporal(ruta);
    const QuejasALaBitacora quejas;
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

    lxw_worksheet* expedidas = workbook_add_worksheet(libro, HojaExpedidas().nombre);
    lxw_worksheet* recibidas = workbook_add_worksheet(libro, HojaRecibidas().nombre);
    Cabecera(expedidas, HojaExpedidas(), f);
    Cabecera(recibidas, HojaRecibidas(), f);
    lxw_row_t filaExpedidas = 3, filaRecibidas = 3;
    // The longest text of each column, in characters.
    std::vector<int> textosExpedidas(HojaExpedidas().columnas.size()), textosRecibidas(HojaRecibidas().columnas.size());
    lxw_error error = LXW_NO_ERROR;
    const bool completo = RecorreFilas(datos, progreso, [&](const FacturaLibro& factura, const std::vector<CeldaLibro>& celdas) {
        lxw_worksheet* hoja = factura.expedida ? expedidas : recibidas;
        lxw_row_t& fila = factura.expedida ? filaExpedidas : filaRecibidas;
        std::vector<int>& textos = factura.expedida ? textosExpedidas : textosRecibidas;
        const std::vector<ColumnaLibro>& cols = HojaDe(factura).columnas;
        for (lxw_col_t c = 0; c < celdas.size(); ++c) {
            const CeldaLibro& celda = celdas[c];
            lxw_error e = LXW_NO_ERROR;
            if (celda.clase == CeldaLibro::Clase::Texto) {
                e = worksheet_write_string(hoja, fila, c, celda.texto.toUtf8().constData(), f.texto);
                if (c < textos.size())
                    textos[c] = std::max(textos[c], static_cast<int>(celda.texto.size()));
            } else if (celda.clase == CeldaLibro::Clase::Numero)
                e = worksheet_write_number(hoja, fila, c, celda.numero,
                                           cols[c].clase == ClaseColumnaLibro::Entero ? f.entero : f.importe);
            if (e != LXW_NO_ERROR && error == LXW_NO_ERROR)
                error = e;
        }
        ++fila;
    });
    AnchosColumnas(expedidas, HojaExpedidas(), textosExpedidas);
    AnchosColumnas(recibidas, HojaRecibidas(), textosRecibidas);
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

// Quoted only when the field holds the separator, a quote or a line break.
void AnadeTexto(QByteArray& linea, const QString& texto) {
    const QByteArray t = texto.toUtf8();
    if (!t.contains(';') && !t.contains('"') && !t.contains('\n') && !t.contains('\r')) {
        linea += t;
        return;
    }
    QByteArray q = t;
    q.replace('"', "\"\"");
    linea += '"' + q + '"';
}

// Writes the whole file under its temporary name.
class ArchivoCsv {
public:
    ArchivoCsv(const QString& ruta, const HojaLibro& hoja) : ruta_(ruta), archivo_(Temporal(ruta)) {
        bien_ = archivo_.open(QIODevice::WriteOnly | QIODevice::Truncate);
        // The mark of UTF-8, so that spreadsheets read the accents right.
        bufer_ = "\xEF\xBB\xBF";
        for (size_t c = 0; c < hoja.columnas.size(); ++c) {
            if (c > 0)
                bufer_ += ';';
            AnadeTexto(bufer_, TituloColumna(hoja.columnas[c]));
        }
        bufer_ += "\r\n";
    }
    ~ArchivoCsv() {
        if (archivo_.isOpen())
            archivo_.close();
    }
    void Fila(const std::vector<ColumnaLibro>& cols, const std::vector<CeldaLibro>& celdas) {
        for (size_t c = 0; c < celdas.size(); ++c) {
            if (c > 0)
                bufer_ += ';';
            const CeldaLibro& celda = celdas[c];
            if (celda.clase == CeldaLibro::Clase::Texto)
                AnadeTexto(bufer_, celda.texto);
            else if (celda.clase == CeldaLibro::Clase::Numero)
                bufer_ += (cols[c].clase == ClaseColumnaLibro::Entero ? QString::number(qRound64(celda.numero))
                                                                      : FormatoDosDecimales(celda.numero))
                              .toLatin1();
        }
        bufer_ += "\r\n";
        if (bufer_.size() > (1 << 16))
            Vacia();
    }
    // True when the whole file reached the disk.
    bool Termina() {
        Vacia();
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
    void Vacia() {
        if (bien_ && archivo_.write(bufer_) != bufer_.size())
            bien_ = false;
        bufer_.clear();
    }
    QString ruta_;
    QFile archivo_;
    QByteArray bufer_;
    bool bien_ = false;
};

ResultadoLibros EscribeCsv(const QString& ruta, const DatosLibros& datos, const ProgresoLibros& progreso) {
    const QStringList rutas = ArchivosLibros(ruta, FormatoLibros::Csv);
    ArchivoCsv expedidas(rutas[0], HojaExpedidas()), recibidas(rutas[1], HojaRecibidas());
    const bool completo = RecorreFilas(datos, progreso, [&](const FacturaLibro& f, const std::vector<CeldaLibro>& celdas) {
        (f.expedida ? expedidas : recibidas).Fila(HojaDe(f).columnas, celdas);
    });
    if (!completo) {
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
