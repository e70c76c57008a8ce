#pragma once
// The mark each running instance holds on its database file while it is
// connected, so that the backup copy can tell whether another instance still
// uses the file. On POSIX systems it is a shared flock() on the database file
// itself, which never meets the engine's own fcntl() locks; on Windows a shared
// LockFileEx on a file beside it (the database's name + ".uso").
#include <QString>

// Taken by ConectarBD before anything is written to the file; waits a little
// while a copy holds it. False when the mark could not be taken: the instance
// must then not use the file, or a copy could run beside its writing.
bool TomaMarcaUso(const QString& rutaBD);
// Released by CierraConexion, after the engine has let go of the file.
void SueltaMarcaUso();
// True while this process holds the mark.
bool MarcaUsoTomada();

// Exclusive use of the database file for the time of a copy or a restore:
// granted only when no other instance holds the mark. When this process
// holds the mark on the file, the mark itself turns exclusive (no descriptor
// of the file is closed meanwhile, which would drop the engine's locks) and
// goes back to shared at the end. Never waits for another instance.
class UsoExclusivo {
public:
    explicit UsoExclusivo(const QString& rutaBD);
    ~UsoExclusivo();
    UsoExclusivo(const UsoExclusivo&) = delete;
    UsoExclusivo& operator=(const UsoExclusivo&) = delete;
    // False when the file could not even be opened.
    bool Abierto() const { return manejador_ != -1; }
    bool Conseguido() const { return conseguido_; }
    // Lets go at once, without giving the mark back: the file it was taken
    // on has been replaced, and the connection to the new one marks that.
    void Libera();

private:
    bool conseguido_ = false;
    bool propia_ = false;  // this process's own mark, turned exclusive
    qintptr manejador_ = -1;
};
