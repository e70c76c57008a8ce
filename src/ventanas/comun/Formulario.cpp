#include "ventanas/comun/Formulario.h"

#include "dominio/comun/RejillaLogica.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/Rejilla.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>

void PreparaPantalla(QWidget* pantalla, const QString& nombre, const QString& titulo) {
    pantalla->setObjectName(nombre);
    pantalla->setWindowTitle(titulo);
    InstalaSustitutosFuentes();
    pantalla->setFont(Fuente(QStringLiteral("MS Sans Serif"), 8));
}

QLabel* Rotulo(QWidget* padre, const QString& nombre, const QString& texto) {
    auto* l = new QLabel(texto, padre);
    l->setObjectName(nombre);
    l->setFont(Fuente(QStringLiteral("Tahoma"), 8, true));
    return l;
}

QListWidget* ListaAvisos(QWidget* padre, const QString& nombre) {
    auto* l = new QListWidget(padre);
    l->setObjectName(nombre);
    l->setWordWrap(true);
    l->setFont(Fuente(QStringLiteral("Tahoma"), 8));
    return l;
}

ModeloRegistros* RejillaRegistros(QTableView* rejilla, const QVector<ColumnaRejilla>& columnas) {
    auto* modelo = new ModeloRegistros(columnas, rejilla);
    rejilla->setModel(modelo);
    PreparaRejilla(rejilla);
    FormatearRejilla(rejilla, false);
    for (const ColumnaRejilla& c : columnas)
        AlineaColumna(rejilla, c.titulo, c.alineacion);
    return modelo;
}

QPushButton* BotonBarra(QWidget* barra, const QString& nombre, const QString& texto, const QRect& twips) {
    auto* b = new QPushButton(texto, barra);
    b->setObjectName(nombre);
    b->setGeometry(RectTwips(twips.x(), twips.y(), twips.width(), twips.height()));
    return b;
}

void BotonesSinFoco(QObject* filtro, std::initializer_list<QPushButton*> botones) {
    for (QPushButton* b : botones) {
        b->setFocusPolicy(Qt::TabFocus);
        b->installEventFilter(filtro);
    }
}
