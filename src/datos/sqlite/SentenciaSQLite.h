#pragma once
// The engine's statements and failures, for the SQLite engine's own files.
#include "datos/motor/ErrorBD.h"
#include "datos/motor/Valor.h"

#include <vector>

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// The Spanish description of an engine failure, with its number.
ErrorBD ErrorSQLite(sqlite3* db, int rc);

// One prepared statement; nothing may follow it but blanks and a ";".
class SentenciaSQLite {
public:
    SentenciaSQLite(sqlite3* db, const QString& sql);
    ~SentenciaSQLite();
    SentenciaSQLite(const SentenciaSQLite&) = delete;
    SentenciaSQLite& operator=(const SentenciaSQLite&) = delete;
    // SQLITE_ROW or SQLITE_DONE; throws ErrorBD on failure.
    int Paso();
    // Gives the statement's parameters their values, in order.
    void Enlaza(const std::vector<Valor>& valores);
    sqlite3_stmt* st() const { return st_; }

private:
    sqlite3* db_;
    sqlite3_stmt* st_ = nullptr;
};

// Runs a statement of the layer's own (schema, pragmas); throws ErrorBD.
void EjecutaSQLite(sqlite3* db, const char* sql);
// The first column of the first row as text ("" when none).
QString ValorSQLite(sqlite3* db, const char* sql);
