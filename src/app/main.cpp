#include "app/Arranque.h"
#include "data/BaseDatos.h"
#include "ui/common/Fuentes.h"
#include "ui/common/MensajesQt.h"
#include "ui/common/Recursos.h"
#include "app/ArranqueVentanas.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt's own dialogs (print, save as PDF) speak Spanish too, whatever the machine's language.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QTranslator traduccionQt;
    if (traduccionQt.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&traduccionQt);
    InstalaSustitutosFuentes();
    InstalaCajasDeMensaje();
    QApplication::setWindowIcon(IconoAplicacion());
    // Lets the desktop match the windows with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(IdEscritorio);
    NombrePrograma = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    EstableceRutaAplicacion(QCoreApplication::applicationDirPath());
    if (Main(ArranqueConVentanas()) != FinArranque::VentanaAbierta)
        return 0;
    return app.exec();
}
