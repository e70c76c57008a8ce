#pragma once
// What the benchmarks' child processes share, the program's and the anchors'
// alike: the end at the first paint, the process's memory and a wait that
// keeps the event loop turning. Qt only, so that the anchors built with it
// load nothing else.
#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

// Ends the process at the first paint of a top-level window, printing the
// process's CPU time since it was started, loading included: unlike the wall
// clock, other work on the machine leaves it alone.
class PrimeraPintura : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && w->isWindow()) {
                rusage uso{};
                getrusage(RUSAGE_SELF, &uso);
                const double ms = static_cast<double>(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) * 1e3 +
                                  static_cast<double>(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e3;
                // Read back by the parent as C text: printf would write the
                // decimal comma of the Spanish locale the application set.
                const QByteArray linea = "pintada " + QByteArray::number(ms, 'f', 3) + "\n";
                std::fwrite(linea.constData(), 1, static_cast<size_t>(linea.size()), stdout);
                std::fflush(stdout);
                _exit(0);
            }
        }
        return false;
    }
};

inline long MemoriaKb(const char* campo) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(campo))
            return l.mid(static_cast<int>(std::strlen(campo))).trimmed().split(' ').first().toLong();
    return -1;
}

inline void Espera(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
