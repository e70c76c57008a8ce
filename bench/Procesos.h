#pragma once
// What the benchmarks that run whole processes share: the folder their
// databases live in, a child run to its end with its CPU time, the sizes to
// run and the median of the runs.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

// FISCALINO_BENCH_DIR when set, so that the databases outlive the run;
// else a temporary folder for the run.
inline QString CarpetaBench() {
    static std::unique_ptr<QTemporaryDir> temporal;
    if (const char* fija = std::getenv("FISCALINO_BENCH_DIR")) {
        QDir().mkpath(QString::fromLocal8Bit(fija));
        return QString::fromLocal8Bit(fija);
    }
    if (!temporal)
        temporal = std::make_unique<QTemporaryDir>();
    return temporal->path();
}

struct Proceso {
    int codigo = -1;
    double cpuMs = 0;  // user and system
    QByteArray salida;
};

// Runs `argumentos` to its end. Standard output goes to the file `salidaEn`
// and is read back into `salida`, or is thrown away when `salidaEn` is
// empty; standard error is always thrown away.
inline Proceso EjecutaProceso(const std::vector<std::string>& argumentos, const QString& salidaEn) {
    const std::string fichero = salidaEn.isEmpty() ? std::string("/dev/null") : salidaEn.toStdString();
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_addopen(&acciones, 1, fichero.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&acciones, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : argumentos)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &acciones, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "no se pudo ejecutar %s\n", argumentos[0].c_str());
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&acciones);
    int estado = 0;
    rusage uso{};
    wait4(pid, &estado, 0, &uso);
    Proceso p;
    p.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    p.cpuMs = static_cast<double>(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) * 1e3 +
              static_cast<double>(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e3;
    if (!salidaEn.isEmpty()) {
        QFile f(salidaEn);
        if (f.open(QIODevice::ReadOnly))
            p.salida = f.readAll();
    }
    return p;
}

inline double Mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The sizes to run: `porDefecto`, or those of FISCALINO_BENCH_TAMANOS
// ("10000,100000"); when only checking, the smallest of them.
inline std::vector<int> TamanosBench(std::vector<int> porDefecto, bool soloComprueba) {
    if (const char* solo = std::getenv("FISCALINO_BENCH_TAMANOS")) {
        porDefecto.clear();
        for (const QByteArray& t : QByteArray(solo).split(','))
            porDefecto.push_back(t.toInt());
    }
    if (soloComprueba && !porDefecto.empty())
        porDefecto = {*std::min_element(porDefecto.begin(), porDefecto.end())};
    return porDefecto;
}
