#include "arranque/Programa.h"

#include "datos/BaseDatos.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/MensajesQt.h"
#include "ventanas/comun/Recursos.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void PreparaAplicacion() {
    // Qt's own dialogs (print, save as PDF) speak Spanish too, whatever the machine's language.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    static QTranslator traduccionQt;
    if (traduccionQt.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&traduccionQt);
    PreparaSustitutosFuentes();
    InstalaCajasDeMensaje();
    InstalaEstiloIconos();
    QApplication::setWindowIcon(IconoAplicacion());
    // Lets the desktop match the windows with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(IdEscritorio);
    FijaNombreYCarpeta();
}

void FijaNombreYCarpeta() {
    NombrePrograma = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    EstableceRutaAplicacion(QCoreApplication::applicationDirPath());
}
