#pragma once
// The server's client library (libpq) is loaded at the first use of a server,
// not by every start of the program: its functions are reached through a
// table filled then. The calls keep their names: each one below stands for
// the table's entry.
#include <libpq-fe.h>

#define FISCALINO_FUNCIONES_PQ(X)                                                                                    \
    X(PQclear) X(PQcmdTuples) X(PQconnectdb) X(PQerrorMessage) X(PQexec) X(PQexecParams) X(PQfinish) X(PQfname)      \
    X(PQftype) X(PQgetisnull) X(PQgetlength) X(PQgetvalue) X(PQnfields) X(PQntuples) X(PQreset)                      \
    X(PQresultErrorField) X(PQresultErrorMessage) X(PQresultStatus) X(PQsetNoticeProcessor) X(PQstatus)

struct FuncionesPq {
#define FISCALINO_DECLARA_PQ(f) decltype(&::f) f = nullptr;
    FISCALINO_FUNCIONES_PQ(FISCALINO_DECLARA_PQ)
#undef FISCALINO_DECLARA_PQ
};

// The table, the library loaded at the first call. Throws ErrorBD, in the
// user's words, when the library is not installed.
const FuncionesPq& ClientePq();

#ifndef FISCALINO_CLIENTE_PQ_SIN_NOMBRES
#define PQclear (ClientePq().PQclear)
#define PQcmdTuples (ClientePq().PQcmdTuples)
#define PQconnectdb (ClientePq().PQconnectdb)
#define PQerrorMessage (ClientePq().PQerrorMessage)
#define PQexec (ClientePq().PQexec)
#define PQexecParams (ClientePq().PQexecParams)
#define PQfinish (ClientePq().PQfinish)
#define PQfname (ClientePq().PQfname)
#define PQftype (ClientePq().PQftype)
#define PQgetisnull (ClientePq().PQgetisnull)
#define PQgetlength (ClientePq().PQgetlength)
#define PQgetvalue (ClientePq().PQgetvalue)
#define PQnfields (ClientePq().PQnfields)
#define PQntuples (ClientePq().PQntuples)
#define PQreset (ClientePq().PQreset)
#define PQresultErrorField (ClientePq().PQresultErrorField)
#define PQresultErrorMessage (ClientePq().PQresultErrorMessage)
#define PQresultStatus (ClientePq().PQresultStatus)
#define PQsetNoticeProcessor (ClientePq().PQsetNoticeProcessor)
#define PQstatus (ClientePq().PQstatus)
#endif
