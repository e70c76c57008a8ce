#include "dominio/importacion/LectorXlsx.h"

#include "base/Formatos.h"

#include <QFile>
#include <QHash>
#include <cmath>
#include <cstring>
#include <expat.h>
#include <functional>
#include <unzip.h>

namespace {

// Beyond this a table of shared texts is no invoices' book but a trap for the memory.
constexpr qint64 kMaximoTextos = 512LL * 1024 * 1024;
constexpr int kBloque = 1 << 16;

const QString kNoEsLibro = QStringLiteral("no es un libro de Excel (XLSX) o está dañado");

// The name without its namespace's prefix: "x:row" -> "row".
const char* Local(const char* nombre) {
    const char* dos = std::strrchr(nombre, ':');
    return dos ? dos + 1 : nombre;
}

bool Es(const char* nombre, const char* local) { return std::strcmp(Local(nombre), local) == 0; }

// An attribute by its local name; nullptr when the element has none.
const char* Atributo(const char** atributos, const char* local) {
    for (int i = 0; atributos[i]; i += 2)
        if (Es(atributos[i], local))
            return atributos[i + 1];
    return nullptr;
}

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
bool LeeReferencia(const char* ref, int& columna, int& fila) {
    columna = 0;
    int i = 0;
    for (; ref[i] >= 'A' && ref[i] <= 'Z'; ++i)
        columna = columna * 26 + (ref[i] - 'A' + 1);
    --columna;
    if (i == 0 || i > 3 || ref[i] < '1' || ref[i] > '9')
        return false;
    fila = 0;
    for (; ref[i] >= '0' && ref[i] <= '9'; ++i)
        if ((fila = fila * 10 + (ref[i] - '0')) > 100000000)
            return false;
    return ref[i] == '\0';
}

int Entero(const char* texto) {
    int n = 0;
    for (const char* p = texto; p && *p >= '0' && *p <= '9' && n < 100000000; ++p)
        n = n * 10 + (*p - '0');
    return n;
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

// What a part's XML says, element by element, as expat reads it.
struct Manejador {
    std::function<void(const char* nombre, const char** atributos)> inicio;
    std::function<void(const char* nombre)> fin;
    // Text is collected only while `texto` points somewhere.
    QByteArray* texto = nullptr;
};

void XMLCALL AlEmpezar(void* datos, const char* nombre, const char** atributos) {
    auto* m = static_cast<Manejador*>(datos);
    if (m->inicio)
        m->inicio(nombre, atributos);
}
void XMLCALL AlTerminar(void* datos, const char* nombre) {
    auto* m = static_cast<Manejador*>(datos);
    if (m->fin)
        m->fin(nombre);
}
void XMLCALL AlLeerTexto(void* datos, const char* texto, int largo) {
    auto* m = static_cast<Manejador*>(datos);
    if (m->texto)
        m->texto->append(texto, largo);
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
    qint64 leidos = 0, tamano = 0;  // of the part being read
    std::vector<char> columnas;     // those read; all when empty

    ~Datos() {
        if (zip)
            unzClose(zip);
    }

    // Names in a zip are compared without case, as spreadsheets do.
    bool Existe(const QString& parte) { return unzLocateFile(zip, parte.toUtf8().constData(), 2) == UNZ_OK; }

    // Reads part `parte` through expat, inflating it block by block; false,
    // with the error set, when it is missing or not well formed. `para`
    // tells, after each block, whether the reader wants no more of it.
    bool Analiza(const QString& parte, Manejador& m, const std::function<bool()>& para = {},
                 qint64 maximo = -1) {
        unz_file_info64 info{};
        if (!Existe(parte) || unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK) {
            error = kNoEsLibro;
            return false;
        }
        tamano = static_cast<qint64>(info.uncompressed_size);
        leidos = 0;
        if (maximo >= 0 && tamano > maximo) {
            unzCloseCurrentFile(zip);
            error = QStringLiteral("tiene demasiado texto para ser un libro de facturas");
            return false;
        }
        XML_Parser p = XML_ParserCreate("UTF-8");
        XML_SetUserData(p, &m);
        XML_SetElementHandler(p, AlEmpezar, AlTerminar);
        XML_SetCharacterDataHandler(p, AlLeerTexto);
        bool bien = true;
        for (;;) {
            void* bloque = XML_GetBuffer(p, kBloque);
            const int n = bloque ? unzReadCurrentFile(zip, bloque, kBloque) : -1;
            if (n < 0 || XML_ParseBuffer(p, n, n == 0) != XML_STATUS_OK) {
                bien = false;
                break;
            }
            leidos += n;
            if (n == 0 || (para && para()))
                break;
        }
        if (!bien)
            error = kNoEsLibro;
        XML_ParserFree(p);
        unzCloseCurrentFile(zip);
        return bien;
    }

    // The relationships of a part: id -> part.
    QHash<QString, QString> LeeRelaciones(const QString& parte, QString* documento = nullptr) {
        QHash<QString, QString> r;
        Manejador m;
        m.inicio = [&](const char* nombre, const char** a) {
            if (!Es(nombre, "Relationship"))
                return;
            const QString destino = Destino(Carpeta(parte), QString::fromUtf8(Atributo(a, "Target")));
            r.insert(QString::fromUtf8(Atributo(a, "Id")), destino);
            const char* tipo = Atributo(a, "Type");
            if (documento && tipo && QByteArray(tipo).endsWith("/officeDocument"))
                *documento = destino;
        };
        Analiza(Relaciones(parte), m);
        return r;
    }

    bool LeeLibro() {
        QString libro;
        LeeRelaciones(QString(), &libro);
        if (libro.isEmpty())
            libro = QStringLiteral("xl/workbook.xml");
        const QHash<QString, QString> rel = LeeRelaciones(libro);
        error.clear();
        Manejador m;
        m.inicio = [&](const char* nombre, const char** a) {
            if (Es(nombre, "workbookPr")) {
                const char* v = Atributo(a, "date1904");
                desde1904 = v && (std::strcmp(v, "1") == 0 || std::strcmp(v, "true") == 0);
            } else if (Es(nombre, "sheet")) {
                // The relationship's id is the prefixed "r:id".
                QString id;
                for (int i = 0; a[i]; i += 2)
                    if (std::strchr(a[i], ':') && Es(a[i], "id"))
                        id = QString::fromUtf8(a[i + 1]);
                nombres << QString::fromUtf8(Atributo(a, "name"));
                partes << rel.value(id, QStringLiteral("xl/worksheets/sheet%1.xml").arg(nombres.size()));
            }
        };
        if (!Analiza(libro, m) || nombres.isEmpty()) {
            error = kNoEsLibro;
            return false;
        }
        return LeeTextos(Carpeta(libro)) && LeeEstilos(Carpeta(libro));
    }

    bool LeeTextos(const QString& carpeta) {
        const QString parte = carpeta + QStringLiteral("sharedStrings.xml");
        if (!Existe(parte))
            return true;
        QByteArray actual, trozo;
        int fonetico = 0;
        Manejador m;
        m.inicio = [&](const char* nombre, const char**) {
            const char* n = Local(nombre);
            if (std::strcmp(n, "si") == 0)
                actual.clear();
            else if (std::strcmp(n, "rPh") == 0)
                ++fonetico;  // the reading aid of East Asian texts is not the text
            else if (std::strcmp(n, "t") == 0 && fonetico == 0)
                m.texto = &actual;
        };
        m.fin = [&](const char* nombre) {
            const char* n = Local(nombre);
            if (std::strcmp(n, "t") == 0)
                m.texto = nullptr;
            else if (std::strcmp(n, "rPh") == 0)
                --fonetico;
            else if (std::strcmp(n, "si") == 0)
                textos << QString::fromUtf8(actual);
        };
        return Analiza(parte, m, {}, kMaximoTextos);
    }

    bool LeeEstilos(const QString& carpeta) {
        const QString parte = carpeta + QStringLiteral("styles.xml");
        if (!Existe(parte))
            return true;
        QHash<int, QString> propios;
        bool enCeldas = false;
        Manejador m;
        m.inicio = [&](const char* nombre, const char** a) {
            const char* n = Local(nombre);
            if (std::strcmp(n, "numFmt") == 0) {
                propios.insert(Entero(Atributo(a, "numFmtId")), QString::fromUtf8(Atributo(a, "formatCode")));
            } else if (std::strcmp(n, "cellXfs") == 0) {
                enCeldas = true;
            } else if (enCeldas && std::strcmp(n, "xf") == 0) {
                const int id = Entero(Atributo(a, "numFmtId"));
                const auto propio = propios.constFind(id);
                esFecha.push_back(propio != propios.constEnd() ? CodigoDeFecha(*propio) : FormatoFechaIncorporado(id));
                esPorcentaje.push_back(propio != propios.constEnd() ? CodigoDePorcentaje(*propio) : (id == 9 || id == 10));
            }
        };
        m.fin = [&](const char* nombre) {
            if (Es(nombre, "cellXfs"))
                enCeldas = false;
        };
        return Analiza(parte, m);
    }

    // The cell whose value `valor` was read with type `tipo` and style `estilo`;
    // false when it holds nothing.
    bool Celda(CeldaLeida& c, const QByteArray& tipo, int estilo, const QByteArray& valor) {
        c.clase = CeldaLeida::Clase::Texto;
        c.texto.clear();
        c.numero = 0;
        c.fecha = QDate();
        c.porcentaje = false;
        const size_t s = static_cast<size_t>(qMax(0, estilo));
        if (tipo == "s") {
            bool ok = false;
            const int i = valor.toInt(&ok);
            if (!ok || i < 0 || i >= textos.size())
                return false;
            c.texto = textos[i];
        } else if (tipo == "inlineStr" || tipo == "str" || tipo == "e") {
            c.texto = QString::fromUtf8(valor);  // an error shows as the sheet shows it: "#N/A"
        } else if (tipo == "b") {
            c.texto = valor == "1" ? QStringLiteral("VERDADERO") : QStringLiteral("FALSO");
        } else if (tipo == "d") {
            c.fecha = QDate::fromString(QString::fromLatin1(valor.left(10)), Qt::ISODate);
            if (c.fecha.isValid())
                c.clase = CeldaLeida::Clase::Fecha;
            else
                c.texto = QString::fromUtf8(valor);
        } else if (const auto n = LeeNumeroConPunto(valor); !n) {
            c.texto = QString::fromUtf8(valor);
        } else if (s < esFecha.size() && esFecha[s] && FechaDeSerie(*n, desde1904).isValid()) {
            c.clase = CeldaLeida::Clase::Fecha;
            c.fecha = FechaDeSerie(*n, desde1904);
        } else {
            c.clase = CeldaLeida::Clase::Numero;
            c.numero = *n;
            c.porcentaje = s < esPorcentaje.size() && esPorcentaje[s];
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

void LectorXlsx::SoloColumnas(std::vector<char> columnas) { d_->columnas = std::move(columnas); }

int LectorXlsx::Avance() const {
    return d_->tamano > 0 ? static_cast<int>(qMin<qint64>(d_->leidos * 1000 / d_->tamano, 1000)) : 0;
}

bool LectorXlsx::LeeHoja(int hoja, const AlLeerFila& alLeer) {
    Datos& d = *d_;
    d.combinadas.clear();
    d.columnas.clear();
    d.error.clear();
    if (hoja < 0 || hoja >= d.partes.size()) {
        d.error = kNoEsLibro;
        return false;
    }
    std::vector<CeldaLeida> celdas;
    CeldaLeida celda;
    QByteArray tipo, valor;
    int fila = 0, columna = -1, estilo = 0;
    bool enCelda = false, hayValor = false, danada = false, basta = false;
    Manejador m;
    m.inicio = [&](const char* nombre, const char** a) {
        const char* n = Local(nombre);
        if (std::strcmp(n, "c") == 0) {
            int f = fila;
            const char* ref = Atributo(a, "r");
            ++columna;
            if (ref && !LeeReferencia(ref, columna, f))
                danada = true;
            const char* t = Atributo(a, "t");
            tipo = t ? QByteArray(t) : QByteArray();
            estilo = Entero(Atributo(a, "s"));
            valor.clear();
            enCelda = true;
            hayValor = false;
        } else if (enCelda && (std::strcmp(n, "v") == 0 || std::strcmp(n, "t") == 0) &&
                   (d.columnas.empty() || (columna < static_cast<int>(d.columnas.size()) && d.columnas[columna]))) {
            // <v> holds the value (a formula's too, its last result); <t> the runs of an inline text.
            m.texto = &valor;
            hayValor = true;
        } else if (std::strcmp(n, "row") == 0) {
            const int r = Entero(Atributo(a, "r"));
            fila = r > 0 ? r : fila + 1;
            columna = -1;
            celdas.clear();
        } else if (std::strcmp(n, "mergeCell") == 0) {
            const QByteArray ref = Atributo(a, "ref");
            const int dos = ref.indexOf(':');
            RangoCombinado rango;
            if (dos > 0 && LeeReferencia(ref.left(dos).constData(), rango.columna1, rango.fila1) &&
                LeeReferencia(ref.constData() + dos + 1, rango.columna2, rango.fila2))
                d.combinadas.push_back(rango);
        }
    };
    m.fin = [&](const char* nombre) {
        const char* n = Local(nombre);
        if (std::strcmp(n, "v") == 0 || std::strcmp(n, "t") == 0) {
            m.texto = nullptr;
        } else if (std::strcmp(n, "c") == 0) {
            enCelda = false;
            celda.columna = columna;
            if (hayValor && d.Celda(celda, tipo, estilo, valor))
                celdas.push_back(celda);
            else if (hayValor && tipo == "s")
                danada = valor.toInt() >= d.textos.size();
        } else if (std::strcmp(n, "row") == 0 && !celdas.empty() && !basta) {
            basta = !alLeer(fila, celdas);
        }
    };
    const bool bien = d.Analiza(d.partes[hoja], m, [&] { return danada || basta; });
    d.tamano = 0;
    if (!bien || danada) {
        d.error = QStringLiteral("la hoja %1 está danada").arg(d.nombres[hoja]);
        return false;
    }
    return true;
}
