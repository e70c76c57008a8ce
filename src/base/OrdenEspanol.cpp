#include "base/OrdenEspanol.h"

#include <QCollator>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

QCollator& Colador() {
    thread_local QCollator c(QLocale(QLocale::Spanish, QLocale::Spain));
    return c;
}

// For each printable ASCII character, its rank at the first level (letters
// without case) and at the third (case), as the collator orders them.
struct Pesos {
    std::array<std::uint8_t, 128> primario{};
    std::array<std::uint8_t, 128> terciario{};
};

const Pesos& LosPesos() {
    static const Pesos p = [] {
        Pesos r;
        QCollator sinCaso(QLocale(QLocale::Spanish, QLocale::Spain));
        sinCaso.setCaseSensitivity(Qt::CaseInsensitive);
        QCollator conCaso(QLocale(QLocale::Spanish, QLocale::Spain));
        std::vector<char> c;
        for (char k = 0x20; k < 0x7f; ++k)
            c.push_back(k);
        auto texto = [](char k) { return QString(QLatin1Char(k)); };
        std::stable_sort(c.begin(), c.end(), [&](char a, char b) { return conCaso.compare(texto(a), texto(b)) < 0; });
        std::uint8_t rango = 0, caso = 0;
        for (size_t i = 0; i < c.size(); ++i) {
            if (i > 0 && sinCaso.compare(texto(c[i - 1]), texto(c[i])) != 0) {
                ++rango;
                caso = 0;
            } else if (i > 0) {
                ++caso;
            }
            r.primario[static_cast<size_t>(c[i])] = static_cast<std::uint8_t>(rango + 1);
            r.terciario[static_cast<size_t>(c[i])] = caso;
        }
        return r;
    }();
    return p;
}

bool Imprimible(const char* t, int n) {
    for (int i = 0; i < n; ++i)
        if (t[i] < 0x20 || t[i] > 0x7e)
            return false;
    return true;
}

int Signo(int v) { return (v > 0) - (v < 0); }

int ComparaAscii(const char* a, int na, const char* b, int nb) {
    const Pesos& p = LosPesos();
    const int n = std::min(na, nb);
    for (int i = 0; i < n; ++i) {
        const int d = p.primario[static_cast<size_t>(a[i])] - p.primario[static_cast<size_t>(b[i])];
        if (d != 0)
            return Signo(d);
    }
    if (na != nb)
        return na < nb ? -1 : 1;
    for (int i = 0; i < n; ++i) {
        const int d = p.terciario[static_cast<size_t>(a[i])] - p.terciario[static_cast<size_t>(b[i])];
        if (d != 0)
            return Signo(d);
    }
    return Signo(std::memcmp(a, b, static_cast<size_t>(n)));
}

}  // namespace

namespace OrdenEspanol {

int Compara(const QString& a, const QString& b) {
    const int r = Colador().compare(a, b);
    return r != 0 ? Signo(r) : Signo(a.compare(b));
}

int Compara(const char* a, int bytesA, const char* b, int bytesB) {
    if (Imprimible(a, bytesA) && Imprimible(b, bytesB))
        return ComparaAscii(a, bytesA, b, bytesB);
    return Compara(QString::fromUtf8(a, bytesA), QString::fromUtf8(b, bytesB));
}

}  // namespace OrdenEspanol
