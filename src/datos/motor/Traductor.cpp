#include "datos/motor/Traductor.h"

#include "datos/motor/Comillas.h"
#include "datos/motor/ErrorBD.h"
#include "datos/motor/Esquema.h"
#include "base/Formatos.h"

#include <QSet>
#include <charconv>
#include <vector>

QString Dialecto::LiteralNumero(double numero) const { return ::LiteralNumero(numero); }

namespace {

enum class Clase { Espacio, Nombre, Cadena, Numero, Simbolo };

struct Token {
    Clase clase;
    int desde;
    int hasta;      // one past the end
    QString valor;  // names without their quotes; texts without quotes, '' undone
    bool quitado = false;
    QString reemplazo;   // written instead of the token when not empty
    QString anadido;     // written after the token
    bool convertido = false;
};

bool EsInicioNombre(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool EsNombre(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

std::vector<Token> Trocea(const QString& s) {
    std::vector<Token> t;
    const int n = s.size();
    int i = 0;
    while (i < n) {
        const int ini = i;
        const QChar c = s[i];
        if (c.isSpace()) {
            while (i < n && s[i].isSpace())
                ++i;
            t.push_back({Clase::Espacio, ini, i, {}});
        } else if (c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')) {
            while (i < n && s[i] != QLatin1Char('\n'))
                ++i;
            t.push_back({Clase::Espacio, ini, i, {}});
        } else if (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) {
            const int fin = s.indexOf(QLatin1String("*/"), i + 2);
            i = fin < 0 ? n : fin + 2;
            t.push_back({Clase::Espacio, ini, i, {}});
        } else if (c == QLatin1Char('\'')) {
            QString v;
            ++i;
            while (i < n) {
                if (s[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) {
                        v += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                v += s[i++];
            }
            t.push_back({Clase::Cadena, ini, i, v});
        } else if (c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('`')) {
            const QChar cierre = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            const int fin = s.indexOf(cierre, i + 1);
            i = fin < 0 ? n : fin + 1;
            t.push_back({Clase::Nombre, ini, i, s.mid(ini + 1, qMax(0, i - ini - 2))});
        } else if (EsInicioNombre(c)) {
            while (i < n && EsNombre(s[i]))
                ++i;
            t.push_back({Clase::Nombre, ini, i, s.mid(ini, i - ini)});
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s[i + 1].isDigit())) {
            // The exponent's sign belongs to the number: 1.2345678901234567e+19.
            while (i < n && (s[i].isLetterOrNumber() || s[i] == QLatin1Char('.') ||
                             ((s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')) &&
                              (s[i - 1] == QLatin1Char('e') || s[i - 1] == QLatin1Char('E')) && i + 1 < n &&
                              s[i + 1].isDigit())))
                ++i;
            t.push_back({Clase::Numero, ini, i, s.mid(ini, i - ini)});
        } else {
            static const char* const dobles[] = {"<=", ">=", "<>", "!=", "==", "||"};
            int largo = 1;
            for (const char* d : dobles)
                if (s.mid(i, 2) == QLatin1String(d))
                    largo = 2;
            i += largo;
            t.push_back({Clase::Simbolo, ini, i, s.mid(ini, largo)});
        }
    }
    return t;
}

// Punctuation is a symbol token: a literal or a quoted name that reads "," or ")" is a value.
bool EsSimbolo(const Token* k, const char* simbolo) {
    return k && k->clase == Clase::Simbolo && k->valor == QLatin1String(simbolo);
}

bool Es(const Token* k, const char* palabra) {
    return k && (k->clase == Clase::Nombre || k->clase == Clase::Simbolo) &&
           k->valor.compare(QLatin1String(palabra), Qt::CaseInsensitive) == 0;
}

bool EsComparacion(const Token* k) {
    if (!k || k->clase != Clase::Simbolo)
        return false;
    for (const char* op : {"=", "==", "<", ">", "<=", ">=", "<>", "!="})
        if (k->valor == QLatin1String(op))
            return true;
    return false;
}

class Traduccion {
public:
    Traduccion(const QString& sql, const Dialecto& d) : sql_(sql), d_(d), t_(Trocea(sql)) {}

    QString Hace() {
        QuitaDateValue();
        Significativos();
        Tablas();
        if (!s_.empty() && Es(s_[0], "insert"))
            ValoresInsert();
        Comparaciones();
        NumerosComparados();
        OrdenTextos();
        Desempata();
        Parametros();
        QString r;
        r.reserve(sql_.size() + 16);
        for (const Token& k : t_) {
            if (!k.quitado)
                r += k.reemplazo.isEmpty() ? QStringView(sql_).mid(k.desde, k.hasta - k.desde).toString() : k.reemplazo;
            r += k.anadido;
        }
        return r;
    }

private:
    // The next token that is not a blank, from position i on; -1 when none.
    int Siguiente(int i) const {
        while (i < static_cast<int>(t_.size()) && t_[i].clase == Clase::Espacio)
            ++i;
        return i < static_cast<int>(t_.size()) ? i : -1;
    }

    void Convierte(Token& k, ClaseColumna clase) {
        if (k.convertido)
            return;
        k.convertido = true;
        if (clase == ClaseColumna::Fecha) {
            k.reemplazo = d_.LiteralFecha(LeeFechaSql(k.valor));
        } else if (clase == ClaseColumna::Numero || clase == ClaseColumna::Entero) {
            auto n = LeeNumero(k.valor);
            if (!n)
                throw ErrorBD(CodigoError::TipoIncorrecto,
                              QStringLiteral("No coinciden los tipos: '") + k.valor + QStringLiteral("' no es un número."));
            k.reemplazo = d_.LiteralNumero(*n);
        } else {
            k.convertido = false;
        }
    }

    static QDate LeeFechaSql(const QString& texto) {
        if (auto f = LeeFecha(texto))
            return *f;
        const QDate iso = QDate::fromString(texto, Qt::ISODate);
        if (iso.isValid() && texto.size() == 10)
            return iso;
        throw ErrorBD(CodigoError::TipoIncorrecto,
                      QStringLiteral("No coinciden los tipos: '") + texto + QStringLiteral("' no es una fecha válida."));
    }

    // DateValue(column) is the column itself (dates are stored as dates);
    // DateValue('text') is a date constant.
    void QuitaDateValue() {
        for (int i = 0; i < static_cast<int>(t_.size()); ++i) {
            if (t_[i].clase != Clase::Nombre || t_[i].valor.compare(QLatin1String("DateValue"), Qt::CaseInsensitive) != 0)
                continue;
            const int abre = Siguiente(i + 1);
            if (abre < 0 || !EsSimbolo(&t_[abre], "("))
                continue;
            int dentro = Siguiente(abre + 1);
            if (dentro < 0)
                continue;
            int ultimo = dentro;
            if (t_[dentro].clase == Clase::Nombre) {
                // A qualified name: F.FECHA_FACTURA.
                int p = Siguiente(ultimo + 1);
                while (p >= 0 && EsSimbolo(&t_[p], ".")) {
                    const int q = Siguiente(p + 1);
                    if (q < 0 || t_[q].clase != Clase::Nombre)
                        break;
                    ultimo = q;
                    p = Siguiente(q + 1);
                }
            } else if (t_[dentro].clase != Clase::Cadena) {
                continue;
            }
            const int cierra = Siguiente(ultimo + 1);
            if (cierra < 0 || !EsSimbolo(&t_[cierra], ")"))
                continue;
            for (int k = i; k <= cierra; ++k)
                if (k < dentro || k > ultimo)
                    t_[k].quitado = true;
            if (t_[dentro].clase == Clase::Cadena) {
                t_[dentro].reemplazo = d_.LiteralFecha(LeeFechaSql(t_[dentro].valor));
                t_[dentro].convertido = true;
            }
            i = cierra;
        }
    }

    // How deep in parentheses a token leaves the statement.
    static void CuentaNivel(const Token* k, int& nivel) {
        if (EsSimbolo(k, "("))
            ++nivel;
        else if (EsSimbolo(k, ")"))
            --nivel;
    }

    void Significativos() {
        for (Token& k : t_)
            if (!k.quitado && k.clase != Clase::Espacio)
                s_.push_back(&k);
    }

    const Token* S(int i) const { return i >= 0 && i < static_cast<int>(s_.size()) ? s_[i] : nullptr; }

    void Tablas() {
        for (int i = 0; i + 1 < static_cast<int>(s_.size()); ++i)
            if ((Es(s_[i], "from") || Es(s_[i], "join") || Es(s_[i], "into") || Es(s_[i], "update") ||
                 Es(s_[i], "table")) &&
                s_[i + 1]->clase == Clase::Nombre)
                tablas_ << s_[i + 1]->valor;
    }

    std::optional<ClaseColumna> ClaseDe(const QString& columna) const {
        for (const QString& t : tablas_)
            if (auto c = ClaseDeColumna(t, columna))
                return c;
        return std::nullopt;
    }

    // The column a name token stands for, when it ends a (qualified) name.
    std::optional<ClaseColumna> ColumnaEn(int i) const {
        const Token* k = S(i);
        if (!k || k->clase != Clase::Nombre)
            return std::nullopt;
        return ClaseDe(k->valor);
    }

    void ValoresInsert() {
        int i = 1;
        while (i < static_cast<int>(s_.size()) && !EsSimbolo(s_[i], "("))
            ++i;
        QStringList columnas;
        for (++i; i < static_cast<int>(s_.size()) && !EsSimbolo(s_[i], ")"); ++i)
            if (s_[i]->clase == Clase::Nombre)
                columnas << s_[i]->valor;
        for (++i; i < static_cast<int>(s_.size()) && !Es(s_[i], "values"); ++i) {
        }
        if (!Es(S(i), "values") || !S(i + 1) || !EsSimbolo(s_[i + 1], "("))
            return;
        int nivel = 0, columna = 0;
        std::vector<Token*> valor;
        for (i += 2; i < static_cast<int>(s_.size()); ++i) {
            Token* k = s_[i];
            if (nivel == 0 && (EsSimbolo(k, ",") || EsSimbolo(k, ")"))) {
                if (valor.size() == 1 && valor[0]->clase == Clase::Cadena && columna < columnas.size())
                    if (auto c = ClaseDe(columnas[columna]))
                        Convierte(*valor[0], *c);
                valor.clear();
                ++columna;
                if (EsSimbolo(k, ")"))
                    break;
                continue;
            }
            CuentaNivel(k, nivel);
            valor.push_back(k);
        }
    }

    // The assignments of an update: from "set" to "where" (or the end).
    std::pair<int, int> TramoSet() const {
        if (s_.empty() || !Es(s_[0], "update"))
            return {-1, -1};
        int desde = -1;
        for (int i = 0; i < static_cast<int>(s_.size()); ++i) {
            if (desde < 0 && Es(s_[i], "set"))
                desde = i;
            else if (desde >= 0 && Es(s_[i], "where"))
                return {desde, i};
        }
        return {desde, static_cast<int>(s_.size())};
    }

    // A value written into a typed column must convert; one only compared
    // with it that does not convert becomes Null, and so matches nothing.
    void Comparaciones() {
        const auto [setDesde, setHasta] = TramoSet();
        for (int i = 0; i < static_cast<int>(s_.size()); ++i) {
            Token& k = *s_[i];
            if (k.clase != Clase::Cadena || k.convertido)
                continue;
            const bool asignacion = i > setDesde && i < setHasta;
            std::optional<ClaseColumna> c;
            if (EsComparacion(S(i - 1)))
                c = ColumnaEn(i - 2);
            else if (Es(S(i - 1), "between"))
                c = ColumnaEn(i - 2);
            else if (Es(S(i - 1), "and") && S(i - 2) && S(i - 2)->clase == Clase::Cadena && Es(S(i - 3), "between"))
                c = ColumnaEn(i - 4);
            if (!c && EsComparacion(S(i + 1)))
                c = ColumnaEn(i + 2);
            if (!c)
                continue;
            if (asignacion) {
                Convierte(k, *c);
                continue;
            }
            try {
                Convierte(k, *c);
            } catch (const ErrorBD&) {
                // Null: the comparison holds for no row, on every engine.
                k.convertido = true;
                k.reemplazo = QStringLiteral("Null");
            }
        }
    }

    // A number compared with a numeric column is written the engine's way:
    // each engine reads back the very double the program read (a number
    // column of a server holds exact decimals).
    void NumerosComparados() {
        for (int i = 0; i < static_cast<int>(s_.size()); ++i) {
            Token& k = *s_[i];
            if (k.clase != Clase::Numero || k.convertido)
                continue;
            int op = i - 1;
            if (EsSimbolo(S(op), "-"))
                --op;
            if (!EsComparacion(S(op)))
                continue;
            const auto c = ColumnaEn(op - 1);
            if (c != ClaseColumna::Numero)
                continue;
            double v = 0;
            const QByteArray texto = k.valor.toLatin1();
            const auto r = std::from_chars(texto.constData(), texto.constData() + texto.size(), v);
            if (r.ec != std::errc() || r.ptr != texto.constData() + texto.size())
                continue;
            k.reemplazo = d_.LiteralNumero(v);
            k.convertido = true;
        }
    }

    // Invoices equal in every ordered column (the same code on the same day)
    // come in the order they were entered, on every engine.
    void Desempata() {
        if (tablas_.size() != 1 || tablas_[0].compare(QLatin1String("FACTURAS"), Qt::CaseInsensitive) != 0)
            return;
        int nivel = 0, orden = -1;
        for (int i = 0; i + 1 < static_cast<int>(s_.size()); ++i) {
            CuentaNivel(s_[i], nivel);
            if (nivel == 0 && Es(s_[i], "order") && Es(s_[i + 1], "by"))
                orden = i + 2;
        }
        if (orden < 0)
            return;
        int fin = orden;
        while (fin < static_cast<int>(s_.size()) && !Es(s_[fin], "limit") && !Es(s_[fin], "offset") &&
               !EsSimbolo(s_[fin], ";"))
            ++fin;
        for (int i = orden; i < fin; ++i)
            if (Es(s_[i], "ID"))
                return;
        if (fin > orden)
            s_[fin - 1]->anadido += QStringLiteral(", ID");
    }

    void Parametros() {
        int n = 0;
        for (Token* k : s_)
            if (k->clase == Clase::Simbolo && k->valor == QLatin1String("?"))
                k->reemplazo = d_.Parametro(++n);
    }

    void OrdenTextos() {
        const QString orden = d_.OrdenEspanol();
        if (orden.isEmpty())
            return;
        for (int i = 0; i + 1 < static_cast<int>(s_.size()); ++i) {
            if (!Es(s_[i], "order") || !Es(s_[i + 1], "by"))
                continue;
            int nivel = 0;
            int inicio = i + 2;
            for (int j = i + 2; j <= static_cast<int>(s_.size()); ++j) {
                const Token* k = S(j);
                const bool fin = !k || (nivel == 0 && (EsSimbolo(k, ")") || EsSimbolo(k, ";") ||
                                                       Es(k, "limit") || Es(k, "offset")));
                if (fin || (nivel == 0 && EsSimbolo(k, ","))) {
                    // One item: a plain (qualified) text column, maybe asc or desc.
                    int ultimo = j - 1;
                    if (ultimo > inicio && (Es(S(ultimo), "asc") || Es(S(ultimo), "desc")))
                        --ultimo;
                    bool soloNombre = ultimo >= inicio;
                    for (int m = inicio; m <= ultimo; ++m)
                        if (!(S(m)->clase == Clase::Nombre || EsSimbolo(S(m), ".")))
                            soloNombre = false;
                    if (soloNombre && ClaseDe(S(ultimo)->valor) == ClaseColumna::Texto)
                        s_[ultimo]->anadido = QLatin1Char(' ') + orden;
                    inicio = j + 1;
                    if (fin)
                        break;
                    continue;
                }
                CuentaNivel(k, nivel);
            }
        }
    }

    const QString& sql_;
    const Dialecto& d_;
    std::vector<Token> t_;
    std::vector<Token*> s_;
    QStringList tablas_;
};

}  // namespace

QString TraduceSentencia(const QString& sql, const Dialecto& dialecto) { return Traduccion(sql, dialecto).Hace(); }

QString Traductor::Traduce(const QString& sql) {
    auto it = cache_.constFind(sql);
    if (it != cache_.constEnd())
        return *it;
    QString r = TraduceSentencia(sql, dialecto_);
    if (cache_.size() >= 512)
        cache_.clear();
    cache_.insert(sql, r);
    return r;
}
