#include "base/TextosAdmitidos.h"

namespace {

// Where the character at `i` ends: after both halves of a pair, else after
// one unit (a lone half counts as a character of its own).
int FinCaracter(const QString& t, int i) {
    if (t[i].isHighSurrogate() && i + 1 < t.size() && t[i + 1].isLowSurrogate())
        return i + 2;
    return i + 1;
}

bool EsMitad(const QString& t, int i) { return t[i].isSurrogate() && FinCaracter(t, i) == i + 1; }

}  // namespace

bool TextoAdmitido(const QString& texto, bool variasLineas) {
    for (int i = 0; i < texto.size(); i = FinCaracter(texto, i)) {
        const QChar c = texto[i];
        if (EsMitad(texto, i) || c.isNonCharacter())
            return false;
        if (c.category() == QChar::Other_Control && !(variasLineas && c == QLatin1Char('\n')))
            return false;
    }
    return true;
}

QString MensajeTextoNoAdmitido(const QString& campo) {
    return QStringLiteral("El campo '") + campo +
           QStringLiteral("' contiene caracteres que no se pueden guardar (caracteres de control, que no se ven, o "
                          "caracteres incompletos). Bórrelos y vuelva a intentarlo.");
}

int LongitudEnCaracteres(const QString& texto) {
    int n = 0;
    for (int i = 0; i < texto.size(); i = FinCaracter(texto, i))
        ++n;
    return n;
}

void RecortaACaracteres(QString& texto, int& cursor, int limite) {
    for (int i = 0; i < texto.size();) {
        if (EsMitad(texto, i)) {
            texto.remove(i, 1);
            if (cursor > i)
                --cursor;
        } else {
            i = FinCaracter(texto, i);
        }
    }
    int sobran = LongitudEnCaracteres(texto) - qMax(0, limite);
    cursor = qBound(0, cursor, static_cast<int>(texto.size()));
    if (cursor > 0 && cursor < texto.size() && texto[cursor].isLowSurrogate() && texto[cursor - 1].isHighSurrogate())
        ++cursor;
    while (sobran > 0) {
        // The character that ends at the cursor, or the last one when none is before it.
        int fin = cursor > 0 ? cursor : static_cast<int>(texto.size());
        const int inicio = fin >= 2 && texto[fin - 1].isLowSurrogate() && texto[fin - 2].isHighSurrogate() ? fin - 2
                                                                                                          : fin - 1;
        texto.remove(inicio, fin - inicio);
        if (cursor > 0)
            cursor = inicio;
        --sobran;
    }
}
