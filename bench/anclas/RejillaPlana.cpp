// The grid's memory anchor: two QTableViews over plain rows read with the
// SQLite C API, in a binary of its own linked with Qt Widgets and SQLite
// alone. Shows the quarter, searches it again twenty times, and prints the
// rows of each grid, then the peak, after one and after twenty (kB).
//
//   rejilla_plana BASE LISTA_PAGOS SUMAS_PAGOS LISTA_COBROS SUMAS_COBROS
#include "../Medidas.h"
#include "ModeloPlano.h"

#include <QApplication>
#include <QTableView>

namespace {

void Lee(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        std::exit(1);
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            sqlite3_column_double(st, c);
    sqlite3_finalize(st);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6)
        return 2;
    QApplication app(argc, argv);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return 1;
    QWidget ventana;
    ModeloPlano pagos, cobros;
    for (ModeloPlano* m : {&pagos, &cobros}) {
        auto* v = new QTableView(&ventana);
        v->setModel(m);
        v->setGeometry(m == &pagos ? 0 : 500, 0, 500, 700);
    }
    auto refresca = [&] {
        pagos.Llena(db, argv[2]);
        Lee(db, argv[3]);
        cobros.Llena(db, argv[4]);
        Lee(db, argv[5]);
    };
    refresca();
    ventana.resize(1000, 700);
    ventana.show();
    Espera(300);
    refresca();
    Espera(100);
    const long tras1 = MemoriaKb("VmRSS:");
    for (int i = 1; i < 20; ++i) {
        refresca();
        Espera(20);
    }
    Espera(100);
    std::printf("filas %d %d\n%ld %ld %ld\n", pagos.rowCount(), cobros.rowCount(), MemoriaKb("VmHWM:"), tras1,
                MemoriaKb("VmRSS:"));
    std::fflush(stdout);
    _exit(0);
}
