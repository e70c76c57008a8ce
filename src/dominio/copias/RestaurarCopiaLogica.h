#pragma once
// "Restaurar Copia" without its window: the list of copies as it reads, and
// the restore with its question and its messages.
#include "dominio/copias/Copias.h"

#include <QString>
#include <QStringList>
#include <functional>

// The screen's title, also that of its messages.
extern const QString TituloRestaurar;  // "Restaurar Copia"

// The captions of the list's columns.
QStringList TitulosColumnasCopias();
// What a copy shows in them: name, date and time it was written, size in
// KB, invoices and the date of the last one (or what is wrong with it).
QStringList FilaCopia(const CopiaEncontrada& c);

// The question before putting `archivo` in the place of the database, or
// why it cannot be ("" and the question) — read from the file itself.
struct PreguntaRestaurar {
    QString motivo;    // the refusal: nothing is asked
    QString pregunta;  // the question when it may be restored
};
PreguntaRestaurar PreparaRestaurar(const QString& archivo);

// The restore as the screen runs it: asks, restores, reads the parameters of
// the restored database into memory and tells how it went, every message
// through the seam. `ocupado` shows the busy pointer (true) for the time of
// the work, and sets it back (false) before a message shows. True when the
// database was replaced.
bool RestauraConAvisos(const QString& archivo, const std::function<void(bool ocupado)>& ocupado = {});
