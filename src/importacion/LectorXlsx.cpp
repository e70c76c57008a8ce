#include "importacion/LectorXlsx.h"

#include "data/comun/Formatos.h"

#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QXmlStreamReader>
#include <cmath>
#include <unzip.h>

namespace {

// The part of the zip being read, as a device Qt's XML reader reads from:
// inflated as it is read, never whole in memory.
class ParteZip : public QIODevice {
public:
    ParteZip(unzFile zip, qint64 tamano) : zip_(zip), tamano_(tamano) { open(QIODevice::ReadOnly); }
    ~ParteZip() override { unzCloseCurrentFile(zip_); }
    bool isSequential() const override { return true; }
    qint64 Tamano() const { return tamano_; }
    qint64 Leidos() const { return leidos_; }

protected:
    qint64 readData(char* datos, qint64 maximo) override {
        const int n = unzReadCurrentFile(zip_, datos, static_cast<unsigned>(qMin<qint64>(maximo, 1 << 20)));
        if (n < 0)
            return -1;
        leidos_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    unzFile zip_;
    qint64 tamano_;
    qint64 leidos_ = 0;
};

// Beyond this a table of shared texts is no invoices' book but a trap for the memory.
constexpr qint64 kMaximoTextos = 512LL * 1024 * 1024;

const QString kNoEsLibro = QStringLiteral("no es un libro de Excel (XLSX) o está dañado");

// The number formats a spreadsheet shows as dates: 14 to 22, 27 to 36, 45
// to 47 and 50 to 58 (the last ones East Asian dates).
bool FormatoFechaIncorporado(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

// A format of the file's own is a date when, outside quotes, brackets and
// escaped characters, it shows a day or a year ("dd/mm/yyyy", "mm-dd-yy");
// a month or minute alone ("h:mm") is not enough.
bool CodigoDeFecha(const QString& codigo) {
    bool comillas = false;
    int corchetes = 0;
    for (int i = 0; i < codigo.size(); ++i) {
        const QChar c = codigo[i];
        if (c == QLatin1Char('"'))
            comillas = !comillas;
        else if (comillas)
            continue;
        else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*'))
            ++i;
        else if (c == QLatin1Char('['))
            ++corchetes;
        else if (c == QLatin1Char(']'))
            corchetes = qMax(0, corchetes - 1);
        else if (corchetes == 0 && (c.toLower() == QLatin1Char('d') || c.toLower() == QLatin1Char('y')))
            return true;
    }
    return false;
}

bool CodigoDePorcentaje(const QString& codigo) {
    bool comillas = false;
    for (const QChar c : codigo) {
        if (c == QLatin1Char('"'))
            comillas = !comillas;
        else if (!comillas && c == QLatin1Char('%'))
            return true;
    }
    return false;
}

// "AB12" -> column 27, row 12; false when it is not a cell's name.
bool LeeReferencia(QStringView ref, int& columna, int& fila) {
    int i = 0;
    while (i < ref.size() && ref[i].isLetter())
        ++i;
    columna = ColumnaDeLetras(ref.left(i).toString());
    bool ok = false;
    fila = ref.mid(i).toInt(&ok);
    return columna >= 0 && ok && fila > 0;
}

// The folder of a part inside the zip: "xl/workbook.xml" -> "xl/".
QString Carpeta(const QString& parte) {
    const int barra = parte.lastIndexOf(QLatin1Char('/'));
    return barra < 0 ? QString() : parte.left(barra + 1);
}

// A relationship's target, relative to the part's folder or absolute.
QString Destino(const QString& carpeta, const QString& destino) {
    QStringList partes;
    const QString ruta = destino.startsWith(QLatin1Char('/')) ? destino.mid(1) : carpeta + destino;
    for (const QString& p : ruta.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (p == QLatin1String(".."))
            partes.removeLast();
        else if (p != QLatin1String("."))
            partes << p;
    }
    return partes.join(QLatin1Char('/'));
}

// The relationships file of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels".
QString Relaciones(const QString& parte) {
    return Carpeta(parte) + QStringLiteral("_rels/") + parte.mid(Carpeta(parte).size()) + QStringLiteral(".rels");
}

}  // namespace

int ColumnaDeLetras(const QString& letras) {
    if (letras.isEmpty() || letras.size() > 3)
        return -1;
    int n = 0;
    for (const QChar c : letras) {
        const QChar m = c.toUpper();
        if (m < QLatin1Char('A') || m > QLatin1Char('Z'))
            return -1;
        n = n * 26 + (m.unicode() - 'A' + 1);
    }
    return n - 1;
}

QDate FechaDeSerie(double serie, bool desde1904) {
    // 31/12/9999 is the last day a spreadsheet knows.
    if (!std::isfinite(serie) || serie < 1 || serie >= 2958466)
        return QDate();
    const auto dias = static_cast<qint64>(std::floor(serie));
    if (desde1904)
        return QDate(1904, 1, 1).addDays(dias);
    // Day 60 is the 29th of February 1900 that never was.
    if (dias < 60)
        return QDate(1899, 12, 31).addDays(dias);
    if (dias == 60)
        return QDate();
    return QDate(1899, 12, 30).addDays(dias);
}

struct LectorXlsx::Datos {
    unzFile zip = nullptr;
    QString error;
    QStringList nombres;
    QStringList partes;     // each sheet's part in the zip
    QStringList textos;     // the shared texts
    std::vector<char> esFecha, esPorcentaje;  // by style
    bool desde1904 = false;
    std::vector<RangoCombinado> combinadas;
    ParteZip* hojaAbierta = nullptr;

    ~Datos() {
        if (zip)
            unzClose(zip);
    }

    // Opens a part for reading (one at a time); nothing (and the error set) when it is missing.
    std::unique_ptr<ParteZip> Abre(const QString& parte) {
        unz_file_info64 info{};
        if (!Existe(parte) || unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK) {
            error = kNoEsLibro;
            return nullptr;
        }
        return std::make_unique<ParteZip>(zip, static_cast<qint64>(info.uncompressed_size));
    }
    // Names in a zip are compared without case, as spreadsheets do.
    bool Existe(const QString& parte) { return unzLocateFile(zip, parte.toUtf8().constData(), 2) == UNZ_OK; }

    // The relationships of a part: id -> part.
    QHash<QString, QString> LeeRelaciones(const QString& parte, QString* documento = nullptr) {
        QHash<QString, QString> r;
        auto f = Abre(Relaciones(parte));
        if (!f)
            return r;
        QXmlStreamReader x(f.get());
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("Relationship")) {
                const auto a = x.attributes();
                const QString destino = Destino(Carpeta(parte), a.value(QLatin1String("Target")).toString());
                r.insert(a.value(QLatin1String("Id")).toString(), destino);
                if (documento && a.value(QLatin1String("Type")).endsWith(QLatin1String("/officeDocument")))
                    *documento = destino;
            }
        }
        return r;
    }

    bool LeeLibro() {
        QString libro;
        LeeRelaciones(QString(), &libro);
        if (libro.isEmpty())
            libro = QStringLiteral("xl/workbook.xml");
        error.clear();
        const QHash<QString, QString> rel = LeeRelaciones(libro);
        auto f = Abre(libro);
        if (!f)
            return false;
        QXmlStreamReader x(f.get());
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement())
                continue;
            const auto a = x.attributes();
            if (x.name() == QLatin1String("workbookPr")) {
                const auto v = a.value(QLatin1String("date1904"));
                desde1904 = v == QLatin1String("1") || v == QLatin1String("true");
            } else if (x.name() == QLatin1String("sheet")) {
                QString id;
                for (const QXmlStreamAttribute& at : a)
                    if (at.name() == QLatin1String("id"))
                        id = at.value().toString();
                nombres << a.value(QLatin1String("name")).toString();
                partes << rel.value(id, QStringLiteral("xl/worksheets/sheet%1.xml").arg(nombres.size()));
            }
        }
        if (x.hasError() || nombres.isEmpty()) {
            error = kNoEsLibro;
            return false;
        }
        return LeeTextos(Carpeta(libro)) && LeeEstilos(Carpeta(libro));
    }

    bool LeeTextos(const QString& carpeta) {
        const QString parte = carpeta + QStringLiteral("sharedStrings.xml");
        if (!Existe(parte))
            return true;
        auto f = Abre(parte);
        if (!f)
            return false;
        if (f->Tamano() > kMaximoTextos) {
            error = QStringLiteral("tiene demasiado texto para ser un libro de facturas");
            return false;
        }
        QXmlStreamReader x(f.get());
        QString actual;
        int nivelFonetico = 0;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement()) {
                if (x.name() == QLatin1String("si"))
                    actual.clear();
                else if (x.name() == QLatin1String("rPh"))
                    ++nivelFonetico;  // the reading aid of East Asian texts is not the text
                else if (x.name() == QLatin1String("t") && nivelFonetico == 0)
                    actual += x.readElementText();
            } else if (x.isEndElement()) {
                if (x.name() == QLatin1String("si"))
                    textos << actual;
                else if (x.name() == QLatin1String("rPh"))
                    --nivelFonetico;
            }
        }
        if (x.hasError()) {
            error = kNoEsLibro;
            return false;
        }
        return true;
    }

    bool LeeEstilos(const QString& carpeta) {
        const QString parte = carpeta + QStringLiteral("styles.xml");
        if (!Existe(parte))
            return true;
        auto f = Abre(parte);
        if (!f)
            return false;
        QXmlStreamReader x(f.get());
        QHash<int, QString> propios;
        bool enCeldas = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isEndElement() && x.name() == QLatin1String("cellXfs"))
                enCeldas = false;
            if (!x.isStartElement())
                continue;
            const auto a = x.attributes();
            if (x.name() == QLatin1String("numFmt")) {
                propios.insert(a.value(QLatin1String("numFmtId")).toInt(), a.value(QLatin1String("formatCode")).toString());
            } else if (x.name() == QLatin1String("cellXfs")) {
                enCeldas = true;
            } else if (enCeldas && x.name() == QLatin1String("xf")) {
                const int id = a.value(QLatin1String("numFmtId")).toInt();
                const auto propio = propios.constFind(id);
                const bool fecha = propio != propios.constEnd() ? CodigoDeFecha(*propio) : FormatoFechaIncorporado(id);
                const bool pct = propio != propios.constEnd() ? CodigoDePorcentaje(*propio) : (id == 9 || id == 10);
                esFecha.push_back(fecha);
                esPorcentaje.push_back(pct);
            }
        }
        if (x.hasError()) {
            error = kNoEsLibro;
            return false;
        }
        return true;
    }

    // The cell the reader stands on (<c>), read to its end; false when it holds nothing.
    bool LeeCelda(QXmlStreamReader& x, int& columna, int fila, CeldaLeida& c) {
        const auto a = x.attributes();
        const QStringView ref = a.value(QLatin1String("r"));
        int f = fila;
        if (!ref.isEmpty() && !LeeReferencia(ref, columna, f))
            x.raiseError(QStringLiteral("celda"));
        const QString tipo = a.value(QLatin1String("t")).toString();
        const int estilo = a.value(QLatin1String("s")).toInt();
        QString valor;
        bool hayValor = false;
        while (x.readNextStartElement()) {
            if (x.name() == QLatin1String("v")) {
                valor = x.readElementText();
                hayValor = true;
            } else if (x.name() == QLatin1String("is")) {
                // An inline text: its runs, without the reading aids.
                while (x.readNextStartElement()) {
                    if (x.name() == QLatin1String("t")) {
                        valor += x.readElementText();
                    } else if (x.name() == QLatin1String("r")) {
                        while (x.readNextStartElement())
                            if (x.name() == QLatin1String("t"))
                                valor += x.readElementText();
                            else
                                x.skipCurrentElement();
                    } else {
                        x.skipCurrentElement();
                    }
                }
                hayValor = true;
            } else {
                x.skipCurrentElement();  // the formula itself: its value is in <v>
            }
        }
        c = CeldaLeida();
        c.columna = columna;
        if (!hayValor)
            return false;
        const size_t s = static_cast<size_t>(qMax(0, estilo));
        if (tipo == QLatin1String("s")) {
            bool ok = false;
            const int i = valor.toInt(&ok);
            if (!ok || i < 0 || i >= textos.size()) {
                x.raiseError(QStringLiteral("texto"));
                return false;
            }
            c.texto = textos[i];
        } else if (tipo == QLatin1String("inlineStr") || tipo == QLatin1String("str")) {
            c.texto = valor;
        } else if (tipo == QLatin1String("b")) {
            c.texto = valor == QLatin1String("1") ? QStringLiteral("VERDADERO") : QStringLiteral("FALSO");
        } else if (tipo == QLatin1String("e")) {
            c.texto = valor;  // "#N/A", "#DIV/0!": what the sheet shows
        } else if (tipo == QLatin1String("d")) {
            c.fecha = QDate::fromString(valor.left(10), Qt::ISODate);
            if (c.fecha.isValid())
                c.clase = CeldaLeida::Clase::Fecha;
            else
                c.texto = valor;
        } else {
            const auto n = LeeNumeroConPunto(valor);
            if (!n) {
                c.texto = valor;
            } else if (s < esFecha.size() && esFecha[s] && FechaDeSerie(*n, desde1904).isValid()) {
                c.clase = CeldaLeida::Clase::Fecha;
                c.fecha = FechaDeSerie(*n, desde1904);
            } else {
                c.clase = CeldaLeida::Clase::Numero;
                c.numero = *n;
                c.porcentaje = s < esPorcentaje.size() && esPorcentaje[s];
            }
        }
        return c.clase != CeldaLeida::Clase::Texto || !c.texto.isEmpty();
    }
};

LectorXlsx::LectorXlsx() : d_(std::make_unique<Datos>()) {}
LectorXlsx::~LectorXlsx() = default;

bool LectorXlsx::Abre(const QString& ruta) {
    d_ = std::make_unique<Datos>();
    d_->zip = unzOpen64(QFile::encodeName(ruta).constData());
    if (!d_->zip) {
        d_->error = kNoEsLibro;
        return false;
    }
    return d_->LeeLibro();
}

QString LectorXlsx::Error() const { return d_->error; }
QStringList LectorXlsx::Hojas() const { return d_->nombres; }
const std::vector<RangoCombinado>& LectorXlsx::Combinadas() const { return d_->combinadas; }

int LectorXlsx::Avance() const {
    const ParteZip* f = d_->hojaAbierta;
    return f && f->Tamano() > 0 ? static_cast<int>(qMin<qint64>(f->Leidos() * 1000 / f->Tamano(), 1000)) : 0;
}

bool LectorXlsx::LeeHoja(int hoja, const AlLeerFila& alLeer) {
    d_->combinadas.clear();
    d_->error.clear();
    if (hoja < 0 || hoja >= d_->partes.size()) {
        d_->error = kNoEsLibro;
        return false;
    }
    auto f = d_->Abre(d_->partes[hoja]);
    if (!f)
        return false;
    d_->hojaAbierta = f.get();
    struct Suelta {
        ParteZip*& f;
        ~Suelta() { f = nullptr; }
    } suelta{d_->hojaAbierta};
    QXmlStreamReader x(f.get());
    std::vector<CeldaLeida> celdas;
    CeldaLeida celda;
    int fila = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == QLatin1String("row")) {
            const auto r = x.attributes().value(QLatin1String("r"));
            bool ok = false;
            const int n = r.toInt(&ok);
            fila = ok && n > 0 ? n : fila + 1;
            celdas.clear();
            int columna = -1;
            while (x.readNextStartElement()) {
                if (x.name() != QLatin1String("c")) {
                    x.skipCurrentElement();
                    continue;
                }
                ++columna;
                if (d_->LeeCelda(x, columna, fila, celda))
                    celdas.push_back(std::move(celda));
            }
            if (x.hasError())
                break;
            if (!celdas.empty() && !alLeer(fila, celdas))
                return true;
        } else if (x.name() == QLatin1String("mergeCell")) {
            const QStringList partes = x.attributes().value(QLatin1String("ref")).toString().split(QLatin1Char(':'));
            RangoCombinado rango;
            if (partes.size() == 2 && LeeReferencia(partes[0], rango.columna1, rango.fila1) &&
                LeeReferencia(partes[1], rango.columna2, rango.fila2))
                d_->combinadas.push_back(rango);
        }
    }
    if (x.hasError()) {
        d_->error = QStringLiteral("la hoja %1 está dañada (%2)").arg(d_->nombres[hoja], x.errorString());
        return false;
    }
    return true;
}
