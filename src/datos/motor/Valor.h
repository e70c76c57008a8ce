#pragma once
// A field value as the database gives it back: Null, text, whole number,
// decimal number or calendar date.
#include <QDate>
#include <QString>

class Valor {
public:
    enum class Tipo { Nulo, Texto, Entero, Decimal, Fecha };

    Valor() = default;
    static Valor Nulo() { return Valor(); }
    static Valor DeTexto(const QString& t) { Valor v; v.tipo_ = Tipo::Texto; v.texto_ = t; return v; }
    static Valor DeEntero(qint64 n) { Valor v; v.tipo_ = Tipo::Entero; v.entero_ = n; return v; }
    static Valor DeDecimal(double d) { Valor v; v.tipo_ = Tipo::Decimal; v.decimal_ = d; return v; }
    static Valor DeFecha(const QDate& f) { Valor v; v.tipo_ = Tipo::Fecha; v.fecha_ = f; return v; }

    Tipo tipo() const { return tipo_; }
    bool EsNulo() const { return tipo_ == Tipo::Nulo; }
    bool EsNumero() const { return tipo_ == Tipo::Entero || tipo_ == Tipo::Decimal; }

    // The plain regional text form ("" joined with the value): Null -> "",
    // 121 -> "121", 83.06 -> "83,06", a date -> "06/12/2007".
    QString Texto() const;
    // The value as a number; texts are read the Spanish way.
    // Throws ErrorBD (type mismatch) for Null or a text that is not a number.
    double Numero() const;
    // The value as a date; texts are read day first.
    // Throws ErrorBD (type mismatch) when it is not a date.
    QDate Fecha() const;

    qint64 entero() const { return entero_; }
    double decimal() const { return decimal_; }
    const QString& texto() const { return texto_; }
    const QDate& fecha() const { return fecha_; }

private:
    Tipo tipo_ = Tipo::Nulo;
    QString texto_;
    qint64 entero_ = 0;
    double decimal_ = 0;
    QDate fecha_;
};
