// The program's side of the measures taken in a fresh process, linked with
// the program's own libraries and nothing else, as the program itself is:
//
//   medidas_programa --arranque CARPETA   start-up to the first paint of the
//                                         main window on CARPETA/Fiscalino.mdb
//   medidas_programa --memoria CARPETA    the invoices' browser showing this
//                                         quarter, searched again twenty times:
//                                         the rows of each grid, then the peak,
//                                         after one and after twenty (kB)
#include "Medidas.h"
#include "arranque/Arranque.h"
#include "arranque/ArranqueVentanas.h"
#include "arranque/Programa.h"
#include "dominio/parametros/Ajustes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "ventanas/facturas/FacturasFrm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTableView>

#include <memory>

namespace {

void Prepara(const QString& carpeta) {
    PreparaAplicacion();
    NombrePrograma = QStringLiteral("Fiscalino");
    EstableceRutaAplicacion(carpeta);
    EstableceCarpetaAjustes(carpeta + QStringLiteral("/ajustes"));
}

int MideArranque(const QString& carpeta) {
    PrimeraPintura filtro;
    QCoreApplication::instance()->installEventFilter(&filtro);
    Prepara(carpeta);
    if (Main(ArranqueConVentanas()) != FinArranque::VentanaAbierta)
        return 1;
    return QCoreApplication::exec();
}

int MideMemoria(const QString& carpeta) {
    Prepara(carpeta);
    if (!ConectarBD())
        return 1;
    CargaParametros(*Conexion->AbrirRegistros(QStringLiteral("select * from PARAMETROS")));
    auto ventana = std::make_unique<FacturasFrm>();
    auto refresca = [&] {
        QWidget* foco = QApplication::focusWidget() ? QApplication::focusWidget() : ventana.get();
        QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
        QCoreApplication::sendEvent(foco, &f3);
    };
    ventana->resize(1000, 700);
    ventana->show();
    Espera(300);
    refresca();
    Espera(100);
    const long tras1 = MemoriaKb("VmRSS:");
    for (int i = 1; i < 20; ++i) {
        refresca();
        Espera(20);
    }
    Espera(100);
    std::printf("filas");
    for (const QTableView* v : ventana->findChildren<QTableView*>())
        std::printf(" %d", v->model() ? v->model()->rowCount() : -1);
    std::printf("\n%ld %ld %ld\n", MemoriaKb("VmHWM:"), tras1, MemoriaKb("VmRSS:"));
    std::fflush(stdout);
    _exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    QApplication app(argc, argv);
    const QString carpeta = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "--arranque") == 0)
        return MideArranque(carpeta);
    if (std::strcmp(argv[1], "--memoria") == 0)
        return MideMemoria(carpeta);
    return 2;
}
