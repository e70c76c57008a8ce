#include "datos/motor/Valor.h"

#include "base/Formatos.h"
#include "datos/motor/ErrorBD.h"

namespace {
ErrorBD NoCoinciden(const QString& que) {
    return ErrorBD(CodigoError::TipoIncorrecto, QStringLiteral("No coinciden los tipos: ") + que);
}
}  // namespace

QString Valor::Texto() const {
    switch (tipo_) {
    case Tipo::Nulo: return QString();
    case Tipo::Texto: return texto_;
    case Tipo::Entero: return QString::number(entero_);
    case Tipo::Decimal: return TextoNumero(decimal_);
    case Tipo::Fecha: return EscribeFecha(fecha_);
    }
    return QString();
}

double Valor::Numero() const {
    switch (tipo_) {
    case Tipo::Entero: return static_cast<double>(entero_);
    case Tipo::Decimal: return decimal_;
    case Tipo::Texto: {
        auto n = LeeNumero(texto_);
        if (!n)
            throw NoCoinciden(QStringLiteral("'") + texto_ + QStringLiteral("' no es un número."));
        return *n;
    }
    case Tipo::Nulo: throw ErrorBD(94, QStringLiteral("Uso no válido de Null"));
    case Tipo::Fecha: break;
    }
    throw NoCoinciden(QStringLiteral("una fecha no es un número."));
}

QDate Valor::Fecha() const {
    switch (tipo_) {
    case Tipo::Fecha: return fecha_;
    case Tipo::Texto: {
        auto f = LeeFecha(texto_);
        if (!f) {
            QDate iso = QDate::fromString(texto_, Qt::ISODate);
            if (iso.isValid())
                return iso;
            throw NoCoinciden(QStringLiteral("'") + texto_ + QStringLiteral("' no es una fecha válida."));
        }
        return *f;
    }
    case Tipo::Nulo: throw ErrorBD(94, QStringLiteral("Uso no válido de Null"));
    default: break;
    }
    throw NoCoinciden(QStringLiteral("un número no es una fecha."));
}
