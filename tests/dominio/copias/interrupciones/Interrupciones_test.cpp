// A thousand copies and restores, each killed (kill -9) at a random moment of
// its work: after every one the database and every copy pass the engine's
// integrity check, and each holds one of the two states it may hold.
#include "ApoyoPruebas.h"

#include "dominio/copias/Copias.h"
#include "dominio/copias/Restauracion.h"
#include "datos/sqlite/ArchivoBD.h"
#include "datos/BaseDatos.h"
#include "base/Mensajes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <random>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kVueltas = 1000;

enum class Trabajo { Copia, Restaura };

qint64 Facturas(const QString& ruta) { return ExaminaArchivoBD(ruta, false).facturas; }

// Starts the work in a child process; the parent's connection stays closed
// (the engine's handles must not cross a fork).
pid_t Empieza(Trabajo t, const QString& fuente, const QString& destino) {
    const pid_t hijo = fork();
    if (hijo != 0)
        return hijo;
    InstalaPresentador([](const Mensaje&) { return Respuesta::Aceptar; });
    try {
        if (t == Trabajo::Copia) {
            CopiaArchivoBD(RutaBaseDatos(), destino, false);
        } else {
            if (!ConectarBD())
                _exit(3);
            RestauraCopia(fuente);
        }
    } catch (const ErrorBD& e) {
        std::fputs((e.descripcion() + QLatin1Char('\n')).toUtf8().constData(), stderr);
        _exit(2);
    }
    _exit(0);
}

// Waits for the child; true when it finished by itself, false when the kill ended it.
bool Espera(pid_t hijo, int* codigo) {
    int estado = 0;
    waitpid(hijo, &estado, 0);
    *codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    return WIFEXITED(estado);
}

}  // namespace

TEST(Interrupciones, MilCopiasYRestauracionesCortadasDejanTodoEntero) {
    EntornoPruebas e;
    RegistroMensajes r;
    e.Conecta();
    e.InsertaParametros();
    const QString fuentes = e.Carpeta() + QStringLiteral("/fuentes/");
    QDir().mkpath(fuentes);
    // Two states, of some size so that the work takes a while: A and B.
    for (int i = 0; i < 1500; ++i)
        e.InsertaFactura(i % 2 ? "C" : "P", QStringLiteral("F-%1").arg(i), "06/12/2026", "21,00", "121");
    CopiaArchivoBD(RutaBaseDatos(), fuentes + QStringLiteral("A.mdb"), false);
    for (int i = 0; i < 1500; ++i)
        e.InsertaFactura("P", QStringLiteral("G-%1").arg(i), "07/12/2026", "2,10", "12,10");
    CopiaArchivoBD(RutaBaseDatos(), fuentes + QStringLiteral("B.mdb"), false);
    CierraConexion();
    const qint64 estados[2] = {Facturas(fuentes + QStringLiteral("A.mdb")), Facturas(fuentes + QStringLiteral("B.mdb"))};
    ASSERT_EQ(estados[0], 1500);
    ASSERT_EQ(estados[1], 3000);

    const QString carpeta = CarpetaCopia();
    const QString copia = carpeta + QStringLiteral("Fiscalino071226.mdb");
    auto trabajo = [&](int vuelta, QString* fuente) {
        const Trabajo t = vuelta % 2 ? Trabajo::Restaura : Trabajo::Copia;
        *fuente = fuentes + (vuelta % 4 == 1 ? QStringLiteral("A.mdb") : QStringLiteral("B.mdb"));
        return t;
    };

    // How long a work takes when nothing cuts it (the median: the machine is shared).
    std::vector<qint64> duraciones;
    for (int vuelta = 0; vuelta < 9; ++vuelta) {
        QString fuente;
        const Trabajo t = trabajo(vuelta, &fuente);
        QElapsedTimer reloj;
        reloj.start();
        int codigo = -1;
        ASSERT_TRUE(Espera(Empieza(t, fuente, copia), &codigo));
        ASSERT_EQ(codigo, 0);
        duraciones.push_back(reloj.nsecsElapsed());
    }
    std::sort(duraciones.begin(), duraciones.end());
    const qint64 duracionNs = duraciones[duraciones.size() / 2];

    std::mt19937 azar(20261207);
    std::uniform_int_distribution<qint64> momento(0, duracionNs);
    int cortadas = 0;
    for (int vuelta = 0; vuelta < kVueltas; ++vuelta) {
        QString fuente;
        const Trabajo t = trabajo(vuelta, &fuente);
        const pid_t hijo = Empieza(t, fuente, copia);
        const qint64 espera = momento(azar);
        QThread::usleep(static_cast<unsigned long>(espera / 1000));
        kill(hijo, SIGKILL);
        int codigo = -1;
        if (!Espera(hijo, &codigo))
            ++cortadas;
        else
            ASSERT_EQ(codigo, 0) << "vuelta " << vuelta;

        SCOPED_TRACE(QStringLiteral("vuelta %1").arg(vuelta).toStdString());
        ASSERT_EQ(InformeIntegridad(e.RutaBD()), QString());
        const qint64 n = Facturas(e.RutaBD());
        ASSERT_TRUE(n == estados[0] || n == estados[1]) << n;
        for (const QFileInfo& f : QDir(carpeta).entryInfoList({QStringLiteral("*.mdb")}, QDir::Files)) {
            ASSERT_EQ(InformeIntegridad(f.absoluteFilePath()), QString()) << f.fileName().toStdString();
            const qint64 m = Facturas(f.absoluteFilePath());
            ASSERT_TRUE(m == estados[0] || m == estados[1]) << f.fileName().toStdString() << " " << m;
            // The safety copies of the restores go, once checked: a thousand would fill the disk.
            if (f.fileName().contains(QLatin1String("antes-de-restaurar")))
                QFile::remove(f.absoluteFilePath());
        }
    }
    // Hundreds of them were cut in the middle of their work, however busy the machine.
    EXPECT_GT(cortadas, kVueltas / 4);

    // Whole work afterwards clears what the cut ones left: at most a file
    // cut before it got anything, which goes once it is a minute old.
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        QString fuente;
        int codigo = -1;
        ASSERT_TRUE(Espera(Empieza(trabajo(vuelta, &fuente), fuente, copia), &codigo));
        ASSERT_EQ(codigo, 0);
    }
    for (const QString& c : {carpeta, e.Carpeta()})
        for (const QFileInfo& f : QDir(c).entryInfoList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden))
            EXPECT_EQ(f.size(), 0) << f.fileName().toStdString();
}
