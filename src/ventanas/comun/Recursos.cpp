#include "ventanas/comun/Recursos.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIconEngine>
#include <QMap>
#include <QPainter>
#include <QSet>
#include <QImageReader>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QtGlobal>

static void CargaRecursosFiscalino() { Q_INIT_RESOURCE(fiscalino); }

void IniciaRecursos() {
    static bool hecho = false;
    if (!hecho) {
        hecho = true;
        CargaRecursosFiscalino();
    }
}

QPixmap PixmapPng(const QString& ruta) {
    IniciaRecursos();
    // Read as PNG by name, so that no image plugin is loaded to guess the format.
    QImageReader lector(ruta, "png");
    lector.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(lector.read());
}

namespace {

struct Dibujo {
    QString archivo;
    QSize tamano;
};

// An icon made of PNG files, one per size drawn, each decoded the first time
// a size near it is asked for: the title bar, the task bar and the about box
// each take the one made for their size, and a start-up that shows none
// decodes none.
class IconoPorTamanos : public QIconEngine {
public:
    explicit IconoPorTamanos(QMap<int, Dibujo> dibujos) : dibujos_(std::move(dibujos)) {}

    QPixmap pixmap(const QSize& tamano, QIcon::Mode modo, QIcon::State estado) override {
        const int lado = LadoPara(tamano);
        if (!cargados_.contains(lado)) {
            cargados_.insert(lado);
            decodificado_.addPixmap(PixmapPng(dibujos_.value(lado).archivo));
        }
        return decodificado_.pixmap(tamano, modo, estado);
    }
    void paint(QPainter* p, const QRect& r, QIcon::Mode modo, QIcon::State estado) override {
        p->drawPixmap(r, pixmap(r.size(), modo, estado));
    }
    QSize actualSize(const QSize& tamano, QIcon::Mode, QIcon::State) override {
        QSize real = dibujos_.value(LadoPara(tamano)).tamano;
        if (real.width() > tamano.width() || real.height() > tamano.height())
            real.scale(tamano, Qt::KeepAspectRatio);
        return real;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> r;
        for (const Dibujo& d : dibujos_)
            r << d.tamano;
        return r;
    }
    QIconEngine* clone() const override { return new IconoPorTamanos(*this); }
    QString key() const override { return QStringLiteral("IconoPorTamanos"); }

private:
    // The smallest picture that fills the size, or the largest there is.
    int LadoPara(const QSize& tamano) const {
        const int pedido = qMax(tamano.width(), tamano.height());
        for (auto i = dibujos_.constBegin(); i != dibujos_.constEnd(); ++i)
            if (i.key() >= pedido)
                return i.key();
        return dibujos_.isEmpty() ? 0 : dibujos_.lastKey();
    }

    QMap<int, Dibujo> dibujos_;  // longer side in pixels -> picture
    QSet<int> cargados_;
    QIcon decodificado_;
};

}  // namespace

QIcon IconoAplicacion() {
    IniciaRecursos();
    // The files are named after their side: "16.png", "32.png"...
    static const QIcon icono = [] {
        QMap<int, Dibujo> dibujos;
        const QDir carpeta(QStringLiteral(":/iconos/aplicacion"));
        for (const QString& archivo : carpeta.entryList({QStringLiteral("*.png")}, QDir::Files)) {
            bool numero = false;
            const int lado = QFileInfo(archivo).completeBaseName().toInt(&numero);
            if (numero && lado > 0)
                dibujos.insert(lado, {carpeta.filePath(archivo), QSize(lado, lado)});
        }
        return QIcon(new IconoPorTamanos(dibujos));
    }();
    return icono;
}

namespace {

// The icons of Qt's built-in styles that are PNG files, by the name their
// files share and the sizes there are; each file is named after the longer
// side ("toolbar-ext-h-16.png" is 16 by 10).
struct IconoDeQt {
    QStyle::StandardPixmap icono;
    const char* nombre;
    QList<QSize> tamanos;
};

const QList<IconoDeQt>& IconosDeQt() {
    static const QList<QSize> cuadrados{{16, 16}, {32, 32}, {48, 48}};
    static const QList<IconoDeQt> iconos{
        {QStyle::SP_TitleBarMaxButton, "titlebar-max", cuadrados},
        {QStyle::SP_TitleBarShadeButton, "titlebar-shade", cuadrados},
        {QStyle::SP_TitleBarUnshadeButton, "titlebar-unshade", cuadrados},
        {QStyle::SP_TitleBarContextHelpButton, "titlebar-contexthelp", cuadrados},
        {QStyle::SP_ToolBarHorizontalExtensionButton, "toolbar-ext-h", {{8, 5}, {16, 10}, {32, 20}}},
        {QStyle::SP_ToolBarVerticalExtensionButton, "toolbar-ext-v", {{5, 8}, {10, 16}, {20, 32}}},
    };
    return iconos;
}

class EstiloIconosPng : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icono, const QStyleOption* opcion, const QWidget* w) const override {
        // Right to left, the horizontal arrow has files of its own.
        const bool derecha = (opcion ? opcion->direction : QGuiApplication::layoutDirection()) == Qt::RightToLeft;
        // A window without an icon of its own: a small drawing and Qt's logo.
        const QString logo = QStringLiteral(":/qt-project.org/qmessagebox/images/qtlogo-64.png");
        if (icono == SP_TitleBarMenuButton && QFile::exists(logo)) {
            QIcon menu(baseStyle()->standardPixmap(icono, opcion, w));
            menu.addPixmap(PixmapPng(logo));
            return menu;
        }
        for (const IconoDeQt& i : IconosDeQt()) {
            if (i.icono != icono || (derecha && icono == SP_ToolBarHorizontalExtensionButton))
                continue;
            QMap<int, Dibujo> dibujos;
            for (const QSize& t : i.tamanos) {
                const int lado = qMax(t.width(), t.height());
                const QString archivo = QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                                            .arg(QLatin1String(i.nombre))
                                            .arg(lado);
                // A Qt that keeps them elsewhere: its style knows where.
                if (!QFile::exists(archivo))
                    return QProxyStyle::standardIcon(icono, opcion, w);
                dibujos.insert(lado, {archivo, t});
            }
            return QIcon(new IconoPorTamanos(dibujos));
        }
        return QProxyStyle::standardIcon(icono, opcion, w);
    }
};

}  // namespace

void InstalaEstiloIconos() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    const QString nombre = QApplication::style()->name();
    if (nombre == QLatin1String("fusion") || nombre == QLatin1String("windows"))
        QApplication::setStyle(new EstiloIconosPng(QStyleFactory::create(nombre)));
}
