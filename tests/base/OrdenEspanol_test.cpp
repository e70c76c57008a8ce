#include "base/OrdenEspanol.h"

#include <QCollator>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {
int Signo(int v) { return (v > 0) - (v < 0); }
int Rapido(const QString& a, const QString& b) {
    const QByteArray x = a.toUtf8(), y = b.toUtf8();
    return OrdenEspanol::Compara(x.constData(), static_cast<int>(x.size()), y.constData(), static_cast<int>(y.size()));
}
}  // namespace

TEST(OrdenEspanol, DiccionarioEspanol) {
    const char* const orden[] = {"a-1", "A-1", "ábaco", "Álava", "b-1", "F-10", "F-2", "nube", "Nube", "ñu", "Ñu", "oca", "Zamora"};
    for (size_t i = 0; i + 1 < std::size(orden); ++i) {
        const QString a = QString::fromUtf8(orden[i]), b = QString::fromUtf8(orden[i + 1]);
        EXPECT_LT(Rapido(a, b), 0) << orden[i] << " < " << orden[i + 1];
        EXPECT_GT(Rapido(b, a), 0) << orden[i + 1] << " > " << orden[i];
    }
    EXPECT_EQ(Rapido("F-1", "F-1"), 0);
}

// The tables for plain ASCII give exactly the collator's order.
TEST(OrdenEspanol, AsciiComoElColador) {
    QCollator colador(QLocale(QLocale::Spanish, QLocale::Spain));
    QRandomGenerator azar(20071206);
    const QString letras = QStringLiteral("aAbB zZ-_.,/09'&(+~@");
    auto texto = [&] {
        QString t;
        const int n = static_cast<int>(azar.bounded(5));
        for (int i = 0; i < n; ++i)
            t += letras[static_cast<int>(azar.bounded(letras.size()))];
        return t;
    };
    for (int i = 0; i < 20000; ++i) {
        const QString a = texto(), b = texto();
        const int esperado = colador.compare(a, b) != 0 ? Signo(colador.compare(a, b)) : Signo(a.compare(b));
        ASSERT_EQ(Rapido(a, b), esperado) << a.toStdString() << " | " << b.toStdString();
    }
}
