#pragma once
// Which database the program uses: the file on this computer (the default)
// or a PostgreSQL server, as chosen on the configuration screen and kept in
// the settings store. The password is never kept here (see Pgpass.h).
#include <QString>

struct ServidorElegido {
    QString servidor;
    int puerto = 5432;
    QString base;
    QString usuario;
};

// The settings' choice: true for the server.
bool ServidorEnAjustes();
ServidorElegido LeeServidorElegido();
void GuardaEleccionBaseDatos(bool servidor, const ServidorElegido& s);

// "postgresql://usuario@servidor:puerto/base", each part encoded as an
// address needs it; a server given as a folder (its socket on this computer)
// goes as "?host=".
QString DireccionServidor(const ServidorElegido& s);

// The database the settings choose: the server's address, or "" for the usual file.
QString BaseDatosElegida();
