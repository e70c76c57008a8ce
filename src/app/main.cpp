#include "app/Arranque.h"
#include "app/ArranqueVentanas.h"
#include "app/LineaOrdenes.h"
#include "app/Programa.h"
#include "config/BaseDatosElegida.h"
#include "data/BaseDatos.h"

#include <QApplication>

int main(int argc, char** argv) {
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
