#include "datos/AtributosConexion.h"

namespace {

bool NecesitaLlaves(const QString& valor) {
    for (QChar c : valor)
        if (c == QLatin1Char(';') || c == QLatin1Char('=') || c == QLatin1Char('{') || c == QLatin1Char('}'))
            return true;
    return !valor.isEmpty() && (valor.front().isSpace() || valor.back().isSpace());
}

}  // namespace

QString AtributoConexion(const QString& clave, const QString& valor) {
    if (!NecesitaLlaves(valor))
        return clave + QLatin1Char('=') + valor;
    QString v = valor;
    v.replace(QLatin1Char('}'), QLatin1String("}}"));
    return clave + QStringLiteral("={") + v + QLatin1Char('}');
}

QString ValorAtributoConexion(const QString& cadena, const QString& clave) {
    const int n = cadena.size();
    int i = 0;
    while (i < n) {
        const int igual = cadena.indexOf(QLatin1Char('='), i);
        if (igual < 0)
            break;
        const QString nombre = cadena.mid(i, igual - i).trimmed();
        i = igual + 1;
        QString valor;
        int llave = i;
        while (llave < n && cadena[llave] == QLatin1Char(' '))
            ++llave;
        const bool entreLlaves = llave < n && cadena[llave] == QLatin1Char('{');
        if (entreLlaves) {
            i = llave;
            // Up to the brace that closes it; "}}" stands for one "}".
            for (++i; i < n; ++i) {
                if (cadena[i] == QLatin1Char('}')) {
                    if (i + 1 < n && cadena[i + 1] == QLatin1Char('}')) {
                        valor += QLatin1Char('}');
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                valor += cadena[i];
            }
        }
        const int fin = cadena.indexOf(QLatin1Char(';'), i);
        if (!entreLlaves)
            valor = cadena.mid(i, fin < 0 ? -1 : fin - i);
        i = fin < 0 ? n : fin + 1;
        if (nombre.compare(clave, Qt::CaseInsensitive) == 0)
            return valor;
    }
    return QString();
}
