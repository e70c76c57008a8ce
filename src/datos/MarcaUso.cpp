#include "datos/MarcaUso.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

qintptr gMarca = -1;
QString gRutaMarca;

#ifdef Q_OS_WIN
// Windows locks are mandatory: a lock on the database itself would stop the
// engine from writing it, so the mark lives in a file of its own.
qintptr AbreMarca(const QString& rutaBD) {
    const QString ruta = rutaBD + QStringLiteral(".uso");
    HANDLE h = CreateFileW(reinterpret_cast<LPCWSTR>(ruta.utf16()), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
    return h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<qintptr>(h);
}

bool Bloquea(qintptr m, bool exclusivo, bool esperando = false) {
    OVERLAPPED ov{};
    DWORD modo = (esperando ? 0 : LOCKFILE_FAIL_IMMEDIATELY) | (exclusivo ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    return LockFileEx(reinterpret_cast<HANDLE>(m), modo, 0, 1, 0, &ov) != 0;
}

// A lock there changes kind only by letting go first.
bool Convierte(qintptr m, bool exclusivo, bool esperando = false) {
    OVERLAPPED ov{};
    UnlockFileEx(reinterpret_cast<HANDLE>(m), 0, 1, 0, &ov);
    return Bloquea(m, exclusivo, esperando);
}

// The mark's file stays where it is when the database is replaced.
bool MismoArchivo(qintptr, const QString&) { return true; }

void CierraMarca(qintptr m) { CloseHandle(reinterpret_cast<HANDLE>(m)); }
#else
// Read-only descriptor that children never inherit; it must be closed only
// after the engine has closed the file (closing any descriptor of a file drops
// the process's fcntl locks on it).
qintptr AbreMarca(const QString& rutaBD) {
    return ::open(QFile::encodeName(rutaBD).constData(), O_RDONLY | O_CLOEXEC);
}

bool Bloquea(qintptr m, bool exclusivo, bool esperando = false) {
    int rc;
    do
        rc = ::flock(static_cast<int>(m), (exclusivo ? LOCK_EX : LOCK_SH) | (esperando ? 0 : LOCK_NB));
    while (rc != 0 && errno == EINTR);
    return rc == 0;
}

// flock() changes the kind of a lock it holds in place (a refused change
// loses the lock, which the caller then takes again).
bool Convierte(qintptr m, bool exclusivo, bool esperando = false) { return Bloquea(m, exclusivo, esperando); }

// Whether the descriptor still opens the file at `ruta`: a restore puts a
// new file in the place of the one an instance may have opened, waiting.
bool MismoArchivo(qintptr m, const QString& ruta) {
    struct stat a {}, b {};
    return ::fstat(static_cast<int>(m), &a) == 0 && ::stat(QFile::encodeName(ruta).constData(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void CierraMarca(qintptr m) { ::close(static_cast<int>(m)); }
#endif

}  // namespace

bool TomaMarcaUso(const QString& rutaBD) {
    SueltaMarcaUso();
    QDeadlineTimer limite(3000);
    for (;;) {
        qintptr m = AbreMarca(rutaBD);
        if (m == -1)
            return false;
        while (!Bloquea(m, false)) {
            if (limite.hasExpired()) {
                CierraMarca(m);
                return false;
            }
            QThread::msleep(50);
        }
        // Granted on a file that a restore has meanwhile replaced: the new one is marked instead.
        if (MismoArchivo(m, rutaBD)) {
            gMarca = m;
            gRutaMarca = rutaBD;
            return true;
        }
        CierraMarca(m);
        if (limite.hasExpired())
            return false;
    }
}

void SueltaMarcaUso() {
    if (gMarca != -1) {
        CierraMarca(gMarca);
        gMarca = -1;
    }
}

bool MarcaUsoTomada() { return gMarca != -1; }

UsoExclusivo::UsoExclusivo(const QString& rutaBD) {
    if (gMarca != -1 && gRutaMarca == rutaBD && MismoArchivo(gMarca, rutaBD)) {
        // Held here until it goes back, so that closing the connection meanwhile keeps it.
        manejador_ = gMarca;
        gMarca = -1;
        propia_ = true;
        conseguido_ = Convierte(manejador_, true);
        if (!conseguido_)
            Convierte(manejador_, false, true);
        return;
    }
    manejador_ = AbreMarca(rutaBD);
    if (manejador_ != -1)
        conseguido_ = Bloquea(manejador_, true);
}

UsoExclusivo::~UsoExclusivo() {
    if (manejador_ == -1)
        return;
    if (propia_ && gMarca == -1) {
        if (conseguido_)
            Convierte(manejador_, false, true);
        gMarca = manejador_;
        return;
    }
    CierraMarca(manejador_);
}

void UsoExclusivo::Libera() {
    if (manejador_ != -1)
        CierraMarca(manejador_);
    manejador_ = -1;
}
