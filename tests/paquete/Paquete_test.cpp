// The Debian package as a user gets it: built from this build tree by cpack,
// unpacked into a temporary root, checked by the desktop's own validators and
// started from there with a home folder of its own.
#include "ApoyoPruebas.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString Id = QStringLiteral("es.fiscalino.Fiscalino");

struct Resultado {
    int codigo = -1;
    QString salida;
};

// Runs a tool to its end (at most `segundos`), output and errors together.
Resultado Ejecuta(const QString& programa, const QStringList& argumentos, int segundos = 60,
                  const QString& carpeta = QString()) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!carpeta.isEmpty())
        p.setWorkingDirectory(carpeta);
    p.start(programa, argumentos);
    Resultado r;
    if (!p.waitForFinished(segundos * 1000)) {
        p.kill();
        p.waitForFinished(5000);
        r.salida = programa + QStringLiteral(" no terminó: ");
    }
    r.salida += QString::fromUtf8(p.readAll());
    if (p.exitStatus() == QProcess::NormalExit)
        r.codigo = p.exitCode();
    return r;
}

// True while some process holds a lock on the file (the program's in-use mark).
bool Bloqueado(const QString& archivo) {
    const int fd = ::open(QFile::encodeName(archivo).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool libre = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return !libre;
}

// The "Clave=valor" lines of a desktop entry's main group.
QMap<QString, QString> LeeEntrada(const QString& archivo) {
    QFile f(archivo);
    QMap<QString, QString> claves;
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return claves;
    for (const QString& linea : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const int igual = linea.indexOf(QLatin1Char('='));
        if (igual > 0)
            claves.insert(linea.left(igual), linea.mid(igual + 1));
    }
    return claves;
}

QString Texto(const QString& archivo) {
    QFile f(archivo);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

class Paquete : public ::testing::Test {
protected:
    // Built and unpacked once for all the tests of the program.
    static void SetUpTestSuite() {
        tmp_ = new QTemporaryDir;
        fallo_ = Prepara();
    }
    static void TearDownTestSuite() {
        delete tmp_;
        tmp_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(fallo_.isEmpty()) << fallo_.toStdString(); }

    static QString Raiz() { return tmp_->path() + QStringLiteral("/raiz"); }
    static QString EnRaiz(const QString& ruta) { return Raiz() + QStringLiteral("/usr/") + ruta; }
    static QString Herramienta(const QString& nombre) { return QStandardPaths::findExecutable(nombre); }

    struct Arranque {
        bool usa = false;      // it held its mark on the database
        bool sigue = false;    // and was still running after that
        QString salida;
    };

    // Starts the unpacked program with `casa` as its home folder, waits until
    // it holds its mark on `archivo` (it has opened and, when new, created
    // that database), sees it still running, and ends it.
    static Arranque ArrancaYTermina(const QString& casa, const QString& archivo) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"})
            env.remove(QString::fromLatin1(v));
        env.insert(QStringLiteral("HOME"), casa);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(EnRaiz(QStringLiteral("bin/Fiscalino")), {});
        p.waitForStarted(10000);
        Arranque a;
        QDeadlineTimer limite(30000);
        while (!a.usa && !limite.hasExpired() && p.state() == QProcess::Running) {
            a.usa = QFile::exists(archivo) && Bloqueado(archivo);
            if (!a.usa)
                p.waitForFinished(50);
        }
        a.sigue = a.usa && !p.waitForFinished(300);
        p.kill();
        p.waitForFinished(5000);
        a.salida = QString::fromUtf8(p.readAll());
        return a;
    }

    static QString tmp() { return tmp_->path(); }

private:
    static QString Prepara() {
        if (!tmp_->isValid())
            return QStringLiteral("no temporary folder");
        for (const char* h : {"dpkg-deb", "desktop-file-validate", "appstreamcli", "sqlite3"})
            if (Herramienta(QString::fromLatin1(h)).isEmpty())
                return QStringLiteral("%1 is missing: scripts/preparar.sh installs it").arg(QString::fromLatin1(h));
        const QString salida = tmp() + QStringLiteral("/deb");
        const Resultado cpack = Ejecuta(QStringLiteral(ORDEN_CPACK),
                                        {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), salida,
                                         QStringLiteral("--config"), QStringLiteral(CONFIG_CPACK)},
                                        300, QStringLiteral(CARPETA_COMPILACION));
        const QStringList debs = QDir(salida).entryList({QStringLiteral("*.deb")}, QDir::Files);
        if (cpack.codigo != 0 || debs.size() != 1)
            return QStringLiteral("cpack did not make one package:\n") + cpack.salida;
        deb_ = salida + QLatin1Char('/') + debs.first();
        const Resultado x = Ejecuta(Herramienta(QStringLiteral("dpkg-deb")), {QStringLiteral("-x"), deb_, Raiz()});
        if (x.codigo != 0)
            return QStringLiteral("dpkg-deb -x failed:\n") + x.salida;
        return QString();
    }

protected:
    static QTemporaryDir* tmp_;
    static QString fallo_;
    static QString deb_;
};

QTemporaryDir* Paquete::tmp_ = nullptr;
QString Paquete::fallo_;
QString Paquete::deb_;

TEST_F(Paquete, CamposDeControl) {
    const struct {
        const char* campo;
        QString esperado;  // a regular expression over the whole field
    } casos[] = {
        {"Package", "fiscalino"},
        {"Version", QRegularExpression::escape(QStringLiteral(FISCALINO_VERSION))},
        {"Section", "misc"},
        {"Maintainer", QRegularExpression::escape("Equipo de Fiscalino <contacto@fiscalino.es>")},
        {"Homepage", QRegularExpression::escape("https://www.fiscalino.es")},
        // From dpkg-shlibdeps, with the versions it found.
        {"Depends", ".*libc6 \\(>= [^)]+\\).*libqt6widgets6 \\(>= [^)]+\\).*libsqlite3-0 \\(>= [^)]+\\).*"
                    "libxlsxwriter[0-9]* \\(>= [^)]+\\).*"},
        // A synopsis, then an English and a Spanish paragraph.
        {"Description", "\\S.*\n.*VAT return.*\n \\.\n.*declaración trimestral del IVA.*"},
    };
    for (const auto& c : casos) {
        const Resultado r = Ejecuta(Herramienta("dpkg-deb"), {"-f", deb_, QString::fromLatin1(c.campo)});
        EXPECT_EQ(r.codigo, 0);
        const QString valor = r.salida.trimmed();
        EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(c.esperado),
                                       QRegularExpression::DotMatchesEverythingOption)
                        .match(valor)
                        .hasMatch())
            << c.campo << ": " << valor.toStdString();
    }
}

TEST_F(Paquete, ProgramaIconosYDocumentos) {
    const QFileInfo programa(EnRaiz("bin/Fiscalino"));
    EXPECT_TRUE(programa.isFile() && programa.isExecutable());
    // The icon theme trusts the folder name: each picture must be of that size.
    for (int lado : {16, 24, 32, 48, 64, 128, 256}) {
        const QString png = EnRaiz(QStringLiteral("share/icons/hicolor/%1x%1/apps/").arg(lado) + Id + ".png");
        EXPECT_EQ(QImage(png).size(), QSize(lado, lado)) << png.toStdString();
    }
    const QString svg = EnRaiz("share/icons/hicolor/scalable/apps/" + Id + ".svg");
    EXPECT_TRUE(Texto(svg).contains("<svg")) << svg.toStdString();
    for (const char* doc : {"doc/fiscalino/copyright", "doc/fiscalino/changelog.gz", "man/man1/Fiscalino.1.gz"})
        EXPECT_TRUE(QFileInfo(EnRaiz("share/") + doc).size() > 0) << doc;
}

// Every command and option the program's usage names is told in the manual
// page and in the package's description, and so is the server.
TEST_F(Paquete, DocumentaCadaOrdenYElServidor) {
    const Resultado uso = Ejecuta(EnRaiz("bin/Fiscalino"), {"--ayuda"});
    ASSERT_EQ(uso.codigo, 0) << uso.salida.toStdString();
    QStringList opciones;
    for (auto it = QRegularExpression("--[a-z-]+").globalMatch(uso.salida); it.hasNext();)
        opciones << it.next().captured(0);
    opciones.removeDuplicates();
    EXPECT_GE(opciones.size(), 10) << opciones.join(' ').toStdString();
    const Resultado man = Ejecuta(Herramienta("gzip"), {"-dc", EnRaiz("share/man/man1/Fiscalino.1.gz")});
    ASSERT_EQ(man.codigo, 0);
    const struct {
        const char* donde;
        QString texto;
    } documentos[] = {{"página de manual", QString(man.salida).replace("\\-", "-")},
                      {"descripción", Ejecuta(Herramienta("dpkg-deb"), {"-f", deb_, "Description"}).salida}};
    for (const auto& d : documentos) {
        for (const QString& o : opciones)
            EXPECT_TRUE(d.texto.contains(QRegularExpression("(?<![\\w-])" + o + "(?![\\w-])")))
                << d.donde << ": " << o.toStdString();
        EXPECT_TRUE(d.texto.contains("PostgreSQL")) << d.donde;
    }
}

TEST_F(Paquete, EntradaDeEscritorio) {
    const QString entrada = EnRaiz("share/applications/" + Id + ".desktop");
    const Resultado v = Ejecuta(Herramienta("desktop-file-validate"), {entrada});
    EXPECT_EQ(v.codigo, 0) << v.salida.toStdString();
    EXPECT_EQ(v.salida.trimmed(), QString());
    const auto claves = LeeEntrada(entrada);
    EXPECT_EQ(claves.value("Categories"), "Office;Finance;");
    EXPECT_EQ(claves.value("Name"), "Fiscalino");
    EXPECT_TRUE(claves.value("Comment").contains("IVA")) << claves.value("Comment").toStdString();
    EXPECT_TRUE(claves.value("Keywords").contains("facturas;")) << claves.value("Keywords").toStdString();
    // The menu starts the program installed beside it and shows the installed icon.
    EXPECT_TRUE(QFile::exists(EnRaiz("bin/") + claves.value("Exec"))) << claves.value("Exec").toStdString();
    EXPECT_EQ(claves.value("Icon"), Id);
}

TEST_F(Paquete, Metadatos) {
    const QString metadatos = EnRaiz("share/metainfo/" + Id + ".metainfo.xml");
    const Resultado v = Ejecuta(Herramienta("appstreamcli"), {"validate", "--no-net", metadatos});
    EXPECT_EQ(v.codigo, 0) << v.salida.toStdString();
    const QString xml = Texto(metadatos);
    EXPECT_TRUE(xml.contains("<launchable type=\"desktop-id\">" + Id + ".desktop</launchable>"));
    // The newest release listed is the one packaged.
    const auto version = QRegularExpression("<release version=\"([^\"]+)\"").match(xml);
    EXPECT_EQ(version.captured(1), QStringLiteral(FISCALINO_VERSION));
    EXPECT_TRUE(xml.contains(QRegularExpression("<screenshot type=\"default\">\\s*<caption>[^<]+</caption>\\s*"
                                                "<image[^>]*>https://www\\.fiscalino\\.es/[^<]+\\.png</image>")))
        << xml.toStdString();
}

TEST_F(Paquete, InstaladoCreaYUsaLaBaseDelUsuario) {
    const QString casa = tmp() + QStringLiteral("/casa");
    ASSERT_TRUE(QDir().mkpath(casa));
    const QString base = casa + QStringLiteral("/.local/share/Fiscalino/Fiscalino.mdb");
    const QString junto = EnRaiz("bin/Fiscalino.mdb");

    // First start: a new database, and the first-run message waits for an answer.
    const Arranque primero = ArrancaYTermina(casa, base);
    ASSERT_TRUE(primero.usa) << primero.salida.toStdString();
    EXPECT_TRUE(primero.sigue);
    EXPECT_EQ(Sqlite(base, ".tables").split(QRegularExpression("\\s+")),
              QStringList({"DATOS_EMPRESA", "FACTURAS", "PARAMETROS", "TERCEROS"}));
    EXPECT_FALSE(QFile::exists(junto));

    // Second start: the same database, now configured, opens the main window.
    ASSERT_EQ(Sqlite(base, "insert into PARAMETROS (IVA, OPCION_IVA, ACCESO_FACTURAS, ACCESO_INFORMES) "
                           "values (21, 'IVA', 'N', 'N')"),
              QString());
    const Arranque segundo = ArrancaYTermina(casa, base);
    ASSERT_TRUE(segundo.usa) << segundo.salida.toStdString();
    EXPECT_TRUE(segundo.sigue);
    EXPECT_EQ(Sqlite(base, "select count(*) from PARAMETROS"), "1");
    EXPECT_FALSE(QFile::exists(junto));
}
