#include "ventanas/comun/Medidas.h"

#include "base/MedidasLogica.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QScreen>
#include <QStyle>
#include <QWidget>

double DpiPantalla() {
    if (QScreen* s = QGuiApplication::primaryScreen())
        return s->logicalDotsPerInchY();
    return 96.0;
}

int Px(double twips) { return PixelesDeTwips(twips, DpiPantalla()); }

double Twips(int pixeles) { return TwipsDePixeles(pixeles, DpiPantalla()); }

QRect RectTwips(double izquierda, double arriba, double ancho, double alto) {
    return QRect(Px(izquierda), Px(arriba), Px(ancho), Px(alto));
}

int AnchoParaTitulo(const QWidget* ventana, int anchoDiseno) {
    // The frame's own face is the window manager's; the system's title face,
    // in bold as frames draw it, stands for it.
    QFont fuente = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    fuente.setBold(true);
    const int titulo = QFontMetrics(fuente).horizontalAdvance(ventana->windowTitle());
    // Icon, minimise, maximise and close take about a title bar's height
    // each, and the frame keeps some room around the text.
    const int barra = qMax(QFontMetrics(fuente).height() + 4,
                           ventana->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, ventana));
    return qMax(anchoDiseno, titulo + 6 * barra);
}

QSize CabeEnPantalla(const QWidget* ventana, const QSize& deseado) {
    const QScreen* pantalla = ventana->screen() ? ventana->screen() : QGuiApplication::primaryScreen();
    if (!pantalla)
        return deseado;
    // The frame is the window manager's and unknown before the window shows:
    // room for a border on each side and a title bar.
    const QSize marco(Px(240), Px(720));
    return deseado.boundedTo(pantalla->availableGeometry().size() - marco);
}
