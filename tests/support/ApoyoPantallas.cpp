#include "ApoyoPantallas.h"

#include "ventanas/principal/InicioMDIFrm.h"

#include <QTest>

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <memory>

namespace {
QList<QPointer<QTimer>>& Esperas() {
    static QList<QPointer<QTimer>> l;
    return l;
}
}  // namespace

void CancelaEsperasDeModales() {
    for (const QPointer<QTimer>& t : Esperas())
        delete t.data();
    Esperas().clear();
}

void AlAbrirModal(std::function<void(QWidget*)> accion, int esperaMaxMs) {
    QPointer<QWidget> antes = QApplication::activeModalWidget();
    auto* reloj = new QTimer(qApp);
    Esperas() << reloj;
    auto tiempo = std::make_shared<QElapsedTimer>();
    tiempo->start();
    reloj->setInterval(10);
    QObject::connect(reloj, &QTimer::timeout, reloj, [=] {
        QWidget* m = QApplication::activeModalWidget();
        // A person acts on the dialog once it is in front: until it is the
        // active window its focused control has not the focus yet.
        const bool delante = m && m != antes && m->isVisible() && m->isActiveWindow();
        if (delante || tiempo->elapsed() > esperaMaxMs) {
            reloj->stop();
            reloj->deleteLater();
            if (m && m != antes)
                accion(m);
        }
    });
    reloj->start();
}

CierraModales::CierraModales() {
    reloj_.setInterval(10);
    QObject::connect(&reloj_, &QTimer::timeout, this, [this] {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || !m->isVisible())
            return;
        abiertos << m->objectName();
        if (auto* d = qobject_cast<QDialog*>(m))
            d->reject();
        else
            m->close();
    });
    reloj_.start();
}

void Teclea(QWidget* w, const QString& texto) {
    for (QChar c : texto) {
        const int clave = c.isLetterOrNumber() && c.unicode() < 128 ? c.toUpper().unicode() : Qt::Key_unknown;
        QKeyEvent pulsa(QEvent::KeyPress, clave, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &pulsa);
        QKeyEvent suelta(QEvent::KeyRelease, clave, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &suelta);
    }
}

QStringList NombresHijas(QWidget* principal) {
    QStringList r;
    if (auto* area = principal->findChild<QMdiArea*>())
        for (QMdiSubWindow* s : area->subWindowList())
            if (s->widget() && s->isVisible())
                r << s->widget()->objectName();
    return r;
}

void Escribe(QWidget* caja, const QString& texto) {
    caja->setFocus();
    for (QChar c : texto) {
        if (c.unicode() < 128)
            QTest::keyClick(caja, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, caja, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void Reemplaza(QWidget* caja, const QString& texto) {
    caja->setFocus();
    if (auto* l = qobject_cast<QLineEdit*>(caja))
        l->selectAll();
    Escribe(caja, texto);
}

void Pega(QWidget* caja, const QString& texto) {
    QGuiApplication::clipboard()->setText(texto);
    caja->setFocus();
    QTest::keyClick(caja, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(caja, Qt::Key_V, Qt::ControlModifier);
}

int LimiteDeCaja(QLineEdit* caja) {
    const QString antes = caja->text();
    caja->selectAll();
    caja->insert(QString(1000, QLatin1Char('1')));
    const int n = caja->text().size();
    caja->setText(antes);
    return n;
}

bool AbrePrincipal(QPointer<InicioMDIFrm>& principal) {
    principal = new InicioMDIFrm();
    principal->show();
    principal->activateWindow();
    return QTest::qWaitForWindowActive(principal);
}

void CierraPrueba(QPointer<InicioMDIFrm>& principal, std::unique_ptr<RegistroMensajes>& mensajes,
                  std::unique_ptr<EntornoPruebas>& entorno) {
    CancelaEsperasDeModales();
    delete principal.data();
    mensajes.reset();
    entorno.reset();
}
