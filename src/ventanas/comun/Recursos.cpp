#include "ventanas/comun/Recursos.h"

#include <QDir>
#include <QFileInfo>
#include <QIconEngine>
#include <QMap>
#include <QPainter>
#include <QSet>
#include <QImageReader>
#include <QPixmap>
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
    return QPixmap::fromImage(lector.read());
}

namespace {

// The application's icon, one picture per size drawn, each decoded the first
// time a size near it is asked for: the title bar, the task bar and the about
// box each take the one made for their size, and a start-up that shows none
// decodes none.
class IconoPorTamanos : public QIconEngine {
public:
    explicit IconoPorTamanos(QMap<int, QString> archivos) : archivos_(std::move(archivos)) {}

    QPixmap pixmap(const QSize& tamano, QIcon::Mode modo, QIcon::State estado) override {
        const int lado = LadoPara(tamano);
        if (!cargados_.contains(lado)) {
            cargados_.insert(lado);
            decodificado_.addPixmap(PixmapPng(archivos_.value(lado)));
        }
        return decodificado_.pixmap(tamano, modo, estado);
    }
    void paint(QPainter* p, const QRect& r, QIcon::Mode modo, QIcon::State estado) override {
        p->drawPixmap(r, pixmap(r.size(), modo, estado));
    }
    QSize actualSize(const QSize& tamano, QIcon::Mode, QIcon::State) override {
        const int lado = LadoPara(tamano);
        return lado <= qMin(tamano.width(), tamano.height()) ? QSize(lado, lado) : tamano;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> r;
        for (int lado : archivos_.keys())
            r << QSize(lado, lado);
        return r;
    }
    QIconEngine* clone() const override { return new IconoPorTamanos(*this); }
    QString key() const override { return QStringLiteral("IconoPorTamanos"); }

private:
    // The smallest picture that fills the size, or the largest there is.
    int LadoPara(const QSize& tamano) const {
        const int pedido = qMax(tamano.width(), tamano.height());
        for (auto i = archivos_.constBegin(); i != archivos_.constEnd(); ++i)
            if (i.key() >= pedido)
                return i.key();
        return archivos_.isEmpty() ? 0 : archivos_.lastKey();
    }

    QMap<int, QString> archivos_;  // side in pixels -> file
    QSet<int> cargados_;
    QIcon decodificado_;
};

}  // namespace

QIcon IconoAplicacion() {
    IniciaRecursos();
    // The files are named after their side: "16.png", "32.png"...
    static const QIcon icono = [] {
        QMap<int, QString> archivos;
        const QDir carpeta(QStringLiteral(":/iconos/aplicacion"));
        for (const QString& archivo : carpeta.entryList({QStringLiteral("*.png")}, QDir::Files)) {
            bool numero = false;
            const int lado = QFileInfo(archivo).completeBaseName().toInt(&numero);
            if (numero && lado > 0)
                archivos.insert(lado, carpeta.filePath(archivo));
        }
        return QIcon(new IconoPorTamanos(archivos));
    }();
    return icono;
}
