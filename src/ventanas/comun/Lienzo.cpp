#include "ventanas/comun/Lienzo.h"

#include <QScrollArea>
#include <QVBoxLayout>

QWidget* CreaLienzo(QWidget* pantalla, const QSize& minimo) {
    auto* desplazable = new QScrollArea(pantalla);
    desplazable->setObjectName(QStringLiteral("Desplazable"));
    desplazable->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own for Tab: only its controls are.
    desplazable->setFocusPolicy(Qt::NoFocus);
    desplazable->setWidgetResizable(true);
    auto* lienzo = new QWidget();
    lienzo->setObjectName(QStringLiteral("Lienzo"));
    lienzo->setMinimumSize(minimo);
    desplazable->setWidget(lienzo);
    auto* capa = new QVBoxLayout(pantalla);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->addWidget(desplazable);
    return lienzo;
}
