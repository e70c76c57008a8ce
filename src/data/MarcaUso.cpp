#include "data/MarcaUso.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

qintptr gMarca = -1;

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

bool Bloquea(qintptr m, bool exclusivo) {
    OVERLAPPED ov{};
    DWORD modo = LOCKFILE_FAIL_IMMEDIATELY | (exclusivo ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    return LockFileEx(reinterpret_cast<HANDLE>(m), modo, 0, 1, 0, &ov) != 0;
}

void CierraMarca(qintptr m) { CloseHandle(reinterpret_cast<HANDLE>(m)); }
#else
// Read-only descriptor that children never inherit; it must be closed only
// after the engine has closed the file (closing any descriptor of a file drops
// the process's fcntl locks on it).
qintptr AbreMarca(const QString& rutaBD) {
    return ::open(QFile::encodeName(rutaBD).constData(), O_RDONLY | O_CLOEXEC);
}

bool Bloquea(qintptr m, bool exclusivo) {
    int rc;
    do
        rc = ::flock(static_cast<int>(m), (exclusivo ? LOCK_EX : LOCK_SH) | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    return rc == 0;
}

void CierraMarca(qintptr m) { ::close(static_cast<int>(m)); }
#endif

}  // namespace

bool TomaMarcaUso(const QString& rutaBD) {
    SueltaMarcaUso();
    qintptr m = AbreMarca(rutaBD);
    if (m == -1)
        return false;
    QDeadlineTimer limite(3000);
    while (!Bloquea(m, false)) {
        if (limite.hasExpired()) {
            CierraMarca(m);
            return false;
        }
        QThread::msleep(50);
    }
    gMarca = m;
    return true;
}

void SueltaMarcaUso() {
    if (gMarca != -1) {
        CierraMarca(gMarca);
        gMarca = -1;
    }
}

bool MarcaUsoTomada() { return gMarca != -1; }

UsoExclusivo::UsoExclusivo(const QString& rutaBD) {
    manejador_ = AbreMarca(rutaBD);
    if (manejador_ != -1)
        conseguido_ = Bloquea(manejador_, true);
}

UsoExclusivo::~UsoExclusivo() {
    if (manejador_ != -1)
        CierraMarca(manejador_);
}
