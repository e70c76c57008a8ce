#include "datos/motor/Registros.h"

#include <cstring>

Registros::Constructor::Constructor(QStringList columnas, size_t filasPrevistas)
    : rs_(new Registros), celdas_(rs_->celdas_) {
    rs_->columnas_ = std::move(columnas);
    if (filasPrevistas > 0)
        celdas_.reserve(filasPrevistas * static_cast<size_t>(rs_->columnas_.size()));
}

void Registros::Constructor::Entero(qint64 n) {
    celdas_.emplace_back();
    celdas_.back().tipo = CeldaCompacta::Entero;
    celdas_.back().entero = n;
}

void Registros::Constructor::Decimal(double d) {
    celdas_.emplace_back();
    celdas_.back().tipo = CeldaCompacta::Decimal;
    celdas_.back().decimal = d;
}

void Registros::Constructor::Fecha(qint64 diaJuliano) {
    celdas_.emplace_back();
    celdas_.back().tipo = CeldaCompacta::Fecha;
    celdas_.back().dia = diaJuliano;
}

void Registros::Constructor::Texto(const char* utf8, int bytes) {
    QByteArray& bloque = rs_->textos_;
    const size_t n = static_cast<size_t>(rs_->columnas_.size());
    celdas_.emplace_back();
    CeldaCompacta& c = celdas_.back();
    c.tipo = CeldaCompacta::Texto;
    c.bytes = static_cast<std::uint32_t>(bytes);
    // The same text as the row above (the type letter, a repeated
    // description) shares its bytes.
    if (celdas_.size() > n) {
        const CeldaCompacta& arriba = celdas_[celdas_.size() - 1 - n];
        if (arriba.tipo == CeldaCompacta::Texto && arriba.bytes == c.bytes &&
            std::memcmp(bloque.constData() + arriba.desde, utf8, static_cast<size_t>(bytes)) == 0) {
            c.desde = arriba.desde;
            return;
        }
    }
    c.desde = static_cast<std::uint64_t>(bloque.size());
    bloque.append(utf8, bytes);
}

std::unique_ptr<Registros> Registros::Constructor::Termina() {
    Registros& r = *rs_;
    const size_t n = static_cast<size_t>(r.columnas_.size());
    r.numFilas_ = n == 0 ? 0 : static_cast<int>(r.celdas_.size() / n);
    return std::move(rs_);
}

int Registros::IndiceColumna(const QString& nombre) const {
    for (int i = 0; i < columnas_.size(); ++i)
        if (columnas_[i].compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Valor Registros::Campo(const QString& nombre) const {
    int i = IndiceColumna(nombre);
    if (i < 0)
        throw ErrorBD(3265, QStringLiteral("No se encontró el elemento en la colección: ") + nombre);
    return Campo(i);
}

Valor Registros::Campo(int columna) const {
    if (numFilas_ == 0)
        throw ErrorBD(3021, QStringLiteral("No hay ningún registro actual."));
    return Celda(0, columna);
}

Valor Registros::Celda(int fila, int columna) const {
    if (fila < 0 || fila >= NumFilas() || columna < 0 || columna >= NumColumnas())
        throw ErrorBD(3265, QStringLiteral("No se encontró el elemento en la colección."));
    const CeldaCompacta& c =
        celdas_[static_cast<size_t>(fila) * static_cast<size_t>(columnas_.size()) + static_cast<size_t>(columna)];
    switch (c.tipo) {
    case CeldaCompacta::Nulo: break;
    case CeldaCompacta::Texto:
        return Valor::DeTexto(QString::fromUtf8(textos_.constData() + c.desde, static_cast<qsizetype>(c.bytes)));
    case CeldaCompacta::Entero: return Valor::DeEntero(c.entero);
    case CeldaCompacta::Decimal: return Valor::DeDecimal(c.decimal);
    case CeldaCompacta::Fecha: return Valor::DeFecha(QDate::fromJulianDay(c.dia));
    }
    return Valor::Nulo();
}

void Registros::Cerrar() {
    celdas_ = {};
    textos_ = QByteArray();
    numFilas_ = 0;
}
