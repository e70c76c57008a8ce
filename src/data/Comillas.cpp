#include "data/Comillas.h"

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
