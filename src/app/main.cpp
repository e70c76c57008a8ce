#include "app/Arranque.h"
#include "data/BaseDatos.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    NombrePrograma = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    EstableceRutaAplicacion(QCoreApplication::applicationDirPath());
    Arranque ganchos;
    if (Main(ganchos) != FinArranque::VentanaAbierta)
        return 0;
    return app.exec();
}
