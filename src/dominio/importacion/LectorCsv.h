#pragma once
// A CSV file as spreadsheets write it: UTF-8 with or without its mark, or
// Windows-1252; the separator (";", "," or a tab) found from its first lines;
// fields between double quotes may hold the separator, doubled quotes and
// line breaks.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The file's text: UTF-8 (its mark dropped) when the bytes are UTF-8,
// Windows-1252 otherwise.
QString DecodificaCsv(const QByteArray& bytes);

// The separator that splits the first lines into the same number of fields,
// the most of them; ';' when none splits them.
QChar DetectaSeparador(const QString& texto);

struct RegistroCsv {
    int linea = 0;  // where it starts, from 1
    QStringList campos;
    bool comillasAbiertas = false;  // the file ended inside quotes
};

class LectorCsv {
public:
    // Reads the whole file; false, with the Spanish reason in Error(), when it cannot.
    bool Abre(const QString& ruta);
    // The same over a text already decoded.
    void AbreTexto(const QString& texto);
    QString Error() const { return error_; }
    QChar Separador() const { return separador_; }
    // The next record (blank lines are skipped); false at the end.
    bool Siguiente(RegistroCsv& r);
    // How far the reading went, 0 to 1000.
    int Avance() const;

private:
    QString texto_;
    QString error_;
    QChar separador_ = QLatin1Char(';');
    qsizetype pos_ = 0;
    int linea_ = 1;
};
