// The start-up anchor: a bare QMainWindow of the program's size, built apart
// and linked with Qt Widgets alone, ending at its first paint.
#include "../Medidas.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PrimeraPintura filtro;
    app.installEventFilter(&filtro);
    QMainWindow ventana;
    ventana.resize(917, 740);
    ventana.show();
    return app.exec();
}
