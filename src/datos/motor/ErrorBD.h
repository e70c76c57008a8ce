#pragma once
// A failure of the database layer or of a conversion: a number and a
// description, as the rest of the program reads them.
#include <QString>
#include <stdexcept>

namespace CodigoError {
constexpr int TipoIncorrecto = 13;   // a value that does not convert
constexpr int PermisoDenegado = 70;  // file held open by another program
constexpr int ArchivoNoEncontrado = 53;
constexpr int DiscoNoPreparado = 71;
constexpr int BaseDatos = -2147467259;  // any other failure of the engine
}  // namespace CodigoError

class ErrorBD : public std::runtime_error {
public:
    ErrorBD(int numero, const QString& descripcion)
        : std::runtime_error(descripcion.toStdString()), numero_(numero), descripcion_(descripcion) {}
    int numero() const { return numero_; }
    const QString& descripcion() const { return descripcion_; }

private:
    int numero_;
    QString descripcion_;
};
