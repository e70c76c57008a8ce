#include "arranque/Arranque.h"
#include "arranque/ArranqueVentanas.h"
#include "arranque/LineaOrdenes.h"
#include "arranque/Programa.h"
#include "dominio/parametros/BaseDatosElegida.h"
#include "datos/BaseDatos.h"

#include <QApplication>
#include <csignal>

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // A file-size limit is a full disk: the write fails and is told in
    // Spanish, and what was half written goes, instead of the process ending.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    const LineaOrdenes linea = LeeLineaOrdenes(argumentos);
    if (linea.HayOrden())
        return EjecutaLineaOrdenes(linea, argc, argv);
    QApplication app(argc, argv);
    PreparaAplicacion();
    FijaRutaBaseDatos(linea.baseDatos.isEmpty() ? BaseDatosElegida() : linea.baseDatos);
    if (Main(ArranqueConVentanas()) != FinArranque::VentanaAbierta)
        return 0;
    return app.exec();
}
