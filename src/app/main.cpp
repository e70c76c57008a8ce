#include "app/Arranque.h"
#include "app/ArranqueVentanas.h"
#include "app/Programa.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PreparaAplicacion();
    if (Main(ArranqueConVentanas()) != FinArranque::VentanaAbierta)
        return 0;
    return app.exec();
}
