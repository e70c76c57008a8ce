#include "app/Arranque.h"
#include "data/BaseDatos.h"
#include "ui/common/Fuentes.h"
#include "ui/common/MensajesQt.h"
#include "ui/common/Recursos.h"
#include "ui/main/ArranqueVentanas.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstalaSustitutosFuentes();
    InstalaCajasDeMensaje();
    QApplication::setWindowIcon(IconoAplicacion());
    NombrePrograma = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    EstableceRutaAplicacion(QCoreApplication::applicationDirPath());
    if (Main(ArranqueConVentanas()) != FinArranque::VentanaAbierta)
        return 0;
    return app.exec();
}
