#pragma once
// The program writes its statements in one dialect: dates compared through
// DateValue on day-first texts, and regional amounts and dates written as
// quoted text into typed columns ('1.234,56', '06/12/2007'). The translator
// turns such a statement into the SQL of one engine, token by token: it knows
// literals, identifiers and the few functions the program uses, never rewrites
// by patterns over the raw text, and caches what it translated.
#include <QDate>
#include <QHash>
#include <QString>

// How an engine writes what the translator produces.
class Dialecto {
public:
    virtual ~Dialecto() = default;
    // A date constant, e.g. '2007-12-06'.
    virtual QString LiteralFecha(const QDate& fecha) const = 0;
    // A number constant in plain C notation, e.g. 1234.56.
    virtual QString LiteralNumero(double numero) const;
    // What follows a text column in an order by so that it sorts in Spanish
    // dictionary order ("Álava" with the A's); empty for none.
    virtual QString OrdenEspanol() const = 0;
    // The n-th parameter of a statement (from 1); the program writes "?".
    virtual QString Parametro(int) const { return QStringLiteral("?"); }
};

// Translates one statement (no cache). Throws ErrorBD with the type-mismatch
// number when a quoted value does not convert to its column's kind.
QString TraduceSentencia(const QString& sql, const Dialecto& dialecto);

class Traductor {
public:
    explicit Traductor(const Dialecto& dialecto) : dialecto_(dialecto) {}
    QString Traduce(const QString& sql);
    const Dialecto& dialecto() const { return dialecto_; }

private:
    const Dialecto& dialecto_;
    QHash<QString, QString> cache_;
};
