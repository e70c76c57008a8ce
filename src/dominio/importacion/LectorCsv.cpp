#include "dominio/importacion/LectorCsv.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// Windows-1252 where it differs from Latin-1: 0x80 to 0x9F (0 for unused codes).
constexpr char16_t k1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// A file above this is no spreadsheet's invoices.
constexpr qint64 kMaximoBytes = 1024LL * 1024 * 1024;

// Splits one record from `pos` (advanced past it, and `linea` past its line
// breaks); false at the end of the text.
bool Parte(const QString& t, QChar sep, qsizetype& pos, int& linea, RegistroCsv& r) {
    // Blank lines hold no record.
    while (pos < t.size() && (t[pos] == QLatin1Char('\n') || t[pos] == QLatin1Char('\r'))) {
        if (t[pos] == QLatin1Char('\n') || pos + 1 >= t.size() || t[pos + 1] != QLatin1Char('\n'))
            ++linea;
        ++pos;
    }
    if (pos >= t.size())
        return false;
    r.linea = linea;
    r.campos.clear();
    r.comillasAbiertas = false;
    QString campo;
    bool entreComillas = false, citado = false;
    while (pos < t.size()) {
        const QChar c = t[pos++];
        if (entreComillas) {
            if (c == QLatin1Char('"')) {
                if (pos < t.size() && t[pos] == QLatin1Char('"')) {
                    campo += c;
                    ++pos;
                } else {
                    entreComillas = false;
                }
            } else {
                if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && (pos >= t.size() || t[pos] != QLatin1Char('\n'))))
                    ++linea;
                campo += c;
            }
        } else if (c == QLatin1Char('"') && !citado && campo.trimmed().isEmpty()) {
            campo.clear();
            entreComillas = citado = true;
        } else if (c == sep) {
            r.campos << campo;
            campo.clear();
            citado = false;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && pos < t.size() && t[pos] == QLatin1Char('\n'))
                ++pos;
            ++linea;
            break;
        } else {
            campo += c;
        }
    }
    r.comillasAbiertas = entreComillas;
    r.campos << campo;
    return true;
}

}  // namespace

QString DecodificaCsv(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString t = utf8(bytes);
    if (!utf8.hasError())
        return t;
    QString r;
    r.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        r += u >= 0x80 && u < 0xA0 && k1252[u - 0x80] ? QChar(k1252[u - 0x80]) : QChar(u);
    }
    return r;
}

QChar DetectaSeparador(const QString& texto) {
    QChar mejor = QLatin1Char(';');
    int mejorIguales = -1, mejorCampos = 1;
    for (const QChar sep : {QLatin1Char(';'), QLatin1Char('\t'), QLatin1Char(',')}) {
        qsizetype pos = 0;
        int linea = 1;
        RegistroCsv r;
        if (!Parte(texto, sep, pos, linea, r))
            break;
        const int campos = static_cast<int>(r.campos.size());
        int iguales = 0;
        for (int i = 0; i < 20 && Parte(texto, sep, pos, linea, r); ++i)
            iguales += r.campos.size() == campos ? 1 : 0;
        if (campos > 1 && (iguales > mejorIguales || (iguales == mejorIguales && campos > mejorCampos))) {
            mejor = sep;
            mejorIguales = iguales;
            mejorCampos = campos;
        }
    }
    return mejor;
}

bool LectorCsv::Abre(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("no se puede leer");
        return false;
    }
    if (f.size() > kMaximoBytes) {
        error_ = QStringLiteral("es demasiado grande (más de 1 GB)");
        return false;
    }
    AbreTexto(DecodificaCsv(f.readAll()));
    return true;
}

void LectorCsv::AbreTexto(const QString& texto) {
    texto_ = texto;
    separador_ = DetectaSeparador(texto_);
    pos_ = 0;
    linea_ = 1;
}

bool LectorCsv::Siguiente(RegistroCsv& r) { return Parte(texto_, separador_, pos_, linea_, r); }

int LectorCsv::Avance() const {
    return texto_.isEmpty() ? 1000 : static_cast<int>(pos_ * 1000 / texto_.size());
}
