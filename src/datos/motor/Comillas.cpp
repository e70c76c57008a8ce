#include "datos/motor/Comillas.h"

#include "base/Formatos.h"

#include <charconv>

QString DoblarComillas(const QString& texto) {
    QString r = texto;
    r.replace(QLatin1Char('\''), QLatin1String("''"));
    return r;
}

QString TextoSQL(const QString& valor, bool EsNumero) {
    if (valor.isEmpty())
        return QStringLiteral("Null");
    if (EsNumero)
        return valor;
    return QLatin1Char('\'') + valor + QLatin1Char('\'');
}

QString TextoSQL(const Valor& valor, bool EsNumero) {
    if (valor.EsNulo())
        return QStringLiteral("Null");
    return TextoSQL(valor.Texto(), EsNumero);
}

QString ValorSQL(const QString& texto) {
    return TextoSQL(DoblarComillas(texto), false);
}

QString LiteralNumero(double v) {
    // 17 significant digits read back as the very same double, where the
    // engine's own shortest form does not always.
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
    return QString::fromLatin1(buf, static_cast<int>(r.ptr - buf));
}

QString CondicionIgualSQL(const QString& columna, const Valor& valor) {
    switch (valor.tipo()) {
    case Valor::Tipo::Nulo: return columna + QStringLiteral(" is Null");
    case Valor::Tipo::Entero: return columna + QStringLiteral(" = ") + QString::number(valor.entero());
    case Valor::Tipo::Decimal: return columna + QStringLiteral(" = ") + LiteralNumero(valor.decimal());
    case Valor::Tipo::Fecha:
        return QStringLiteral("DateValue(") + columna + QStringLiteral(") = DateValue('") +
               EscribeFecha(valor.fecha()) + QStringLiteral("')");
    case Valor::Tipo::Texto: break;
    }
    // An empty text is not Null: it is compared as the empty literal.
    return columna + QStringLiteral(" = '") + DoblarComillas(valor.texto()) + QLatin1Char('\'');
}
