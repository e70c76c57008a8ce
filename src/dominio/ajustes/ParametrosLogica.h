#pragma once
// The configuration screen without its window: reading the row of
// PARAMETROS into the boxes, the checks of the save and its statements.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What the boxes hold when the user saves.
struct ValoresParametros {
    QString clave;       // Txts(0), as typed
    QString repeticion;  // Txts(1)
    QString iva;         // Txts(2)
    QString opcionIva;   // Txts(3)
    QString frase;       // Txts(4)
    bool accesoFacturas = false;  // ChkRest(0)
    bool accesoInformes = false;  // ChkRest(1)
    // How many automatic copies are kept (TxtCopias), stored in the settings,
    // not in the row; nothing where the form has no such box.
    std::optional<QString> copias;
};

// "select * from PARAMETROS"
QString SqlLeeParametros();
// The insert (no row at load) and the update without a where clause (a row
// at load). The password is encoded here; every quoted value has its
// apostrophes doubled. Throws ErrorBD when the password cannot be encoded.
QString SqlInsertaParametros(const ValoresParametros& v);
QString SqlActualizaParametros(const ValoresParametros& v);

// The message of the first check that fails, in the order the user meets
// them; empty when the values may be stored. The captions are those of the
// percentage, tax-word and automatic-copies labels.
QString CompruebaParametros(const ValoresParametros& v, const QString& etiquetaIva, const QString& etiquetaOpcion,
                            const QString& etiquetaCopias = QString());

// The percentage a new database proposes follows the tax word typed on the
// first run (7 for IGIC, 21 for the rest) while it still holds the proposal
// of the word before; nothing when the user has typed another one.
std::optional<QString> PorcentajePropuesto(const QString& porcentaje, const QString& palabraAntes,
                                           const QString& palabraAhora);

// What the load puts in the boxes.
struct CargaParametrosPantalla {
    bool hayFila = false;   // decides insert or update for the whole opening
    QStringList textos;     // one per box of Txts
    QList<bool> marcas;     // one per ChkRest
};
// Reads the row by the column names the boxes carry in their tags; a row
// missing gives the first-run values. Each failing step is reported through
// MostrarErrorBD and the load goes on with the next one.
CargaParametrosPantalla LeeParametrosPantalla(const QStringList& etiquetasTxts, const QStringList& etiquetasChk);

// The save: the checks (each stops at its message), then the statement, then
// the notice to restart. A failure of the statement or of the password
// encoding is reported with the two messages. True when the row was stored.
bool GuardaParametros(const ValoresParametros& v, bool insertar, const QString& etiquetaIva,
                      const QString& etiquetaOpcion, const QString& etiquetaCopias = QString());
