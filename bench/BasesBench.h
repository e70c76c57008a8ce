#pragma once
// What the benchmarks that fill databases of their own share: failing
// loudly, plain SQLite calls, and the program's database made by its own
// layer before the invoices go in directly.
#include "datos/ConexionBD.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void Falla(const std::string& que) {
    std::fprintf(stderr, "%s\n", que.c_str());
    std::exit(1);
}

inline void Exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Falla(std::string(sql) + ": " + sqlite3_errmsg(db));
}

inline sqlite3* Abre(const QString& ruta, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, flags, nullptr) != SQLITE_OK)
        Falla("no se pudo abrir " + ruta.toStdString());
    return db;
}

// CARPETA/Fiscalino.mdb with its settings and company, filled by `llena`
// with `n` invoices; kept between runs.
inline QString BaseProgramaLlena(const QString& carpeta, int n, void (*llena)(sqlite3*, int)) {
    const QString ruta = carpeta + QStringLiteral("/Fiscalino.mdb");
    if (QFileInfo::exists(ruta))
        return ruta;
    std::fprintf(stderr, "Preparando la base del programa con %d facturas...\n", n);
    QDir().mkpath(carpeta);
    auto con = ConexionBD::Abrir(QStringLiteral("DBQ=") + ruta, true);
    con->Ejecutar(QStringLiteral("insert into PARAMETROS (PALABRA_CLAVE, IVA, OPCION_IVA, FRASE_FINAL, ACCESO_FACTURAS, "
                                 "ACCESO_INFORMES) values (Null, 21, 'IVA', Null, 'N', 'N')"));
    con->Ejecutar(QStringLiteral("insert into DATOS_EMPRESA (NOMBRE) values ('Talleres Ibáñez SL')"));
    con->Cerrar();
    sqlite3* db = Abre(ruta, SQLITE_OPEN_READWRITE);
    llena(db, n);
    Exec(db, "analyze");
    sqlite3_close(db);
    return ruta;
}
