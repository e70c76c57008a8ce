#include "ApoyoPruebas.h"

#include "dominio/parametros/Ajustes.h"
#include "arranque/Arranque.h"
#include "base/Mensajes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {
struct Ganchos {
    QStringList llamadas;
    double ancho = 0, alto = 0;
    int estado = -1;
    Arranque arranque() {
        Arranque a;
        a.muestraDatosEmpresa = [this] { llamadas << "DatosEmpresaFrm"; };
        a.muestraParametros = [this] { llamadas << "ParametrosFrm"; };
        a.muestraVentanaPrincipal = [this] { llamadas << "InicioMDIFrm"; };
        a.aplicaTamano = [this](double w, double h, int e) {
            llamadas << "tamaño";
            ancho = w;
            alto = h;
            estado = e;
        };
        a.terminaPrograma = [this] { llamadas << "termina"; };
        return a;
    }
};
}  // namespace

TEST(Arranque, PrimeraVez) {
    EntornoPruebas e;
    RegistroMensajes r;
    Ganchos g;
    EXPECT_EQ(Main(g.arranque()), FinArranque::PrimeraVez);
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_EQ(r.ultimo().texto, "Atención, es la primera vez que se arranca la aplicación. Introduzca a continuación "
                                "los Parámetros Básicos de Configuración y vuelva a arrancar el programa.");
    EXPECT_EQ(r.ultimo().icono, Icono::Informacion);
    EXPECT_EQ(r.ultimo().botones, Botones::Aceptar);
    EXPECT_EQ(r.ultimo().titulo, "Primera ejecución - CONFIGURACIÓN");
    EXPECT_EQ(g.llamadas, QStringList({"DatosEmpresaFrm", "ParametrosFrm"}));
    EXPECT_TRUE(QFile::exists(e.RutaBD()));
}

TEST(Arranque, ConParametrosAbreLaVentana) {
    EntornoPruebas e;
    e.Conecta();
    e.InsertaParametros("IGIC", 7);
    CierraConexion();
    GuardaAjuste("Version", "0.9");
    RegistroMensajes r;
    Ganchos g;
    EXPECT_EQ(Main(g.arranque()), FinArranque::VentanaAbierta);
    EXPECT_EQ(r.cuenta(), 0);
    EXPECT_EQ(g.llamadas, QStringList({"InicioMDIFrm", "tamaño"}));
    EXPECT_EQ(g.ancho, 13750);
    EXPECT_EQ(g.alto, 11100);
    EXPECT_EQ(g.estado, 0);
    EXPECT_EQ(OpcionIva, "IGIC");
    EXPECT_EQ(IvaPorDefecto, 7);
    EXPECT_TRUE(Conexion && Conexion->Abierta());
    EXPECT_EQ(LeeAjuste("Version", ""), "1.0");  // the version check ran

    CierraConexion();
    GuardaEstadoVentana({2, 15000, 12000});
    Ganchos g2;
    EXPECT_EQ(Main(g2.arranque()), FinArranque::VentanaAbierta);
    EXPECT_EQ(g2.ancho, 15000);
    EXPECT_EQ(g2.alto, 12000);
    EXPECT_EQ(g2.estado, 2);
}

TEST(Arranque, SinConexionTerminaSinMasMensajes) {
    EntornoPruebas e;
    QFile f(e.RutaBD());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(5000, 'x'));
    f.close();
    RegistroMensajes r;
    Ganchos g;
    EXPECT_EQ(Main(g.arranque()), FinArranque::SinConexion);
    EXPECT_EQ(r.cuenta(), 1);
    EXPECT_TRUE(g.llamadas.isEmpty());
}

TEST(Arranque, SinTablaDeParametros) {
    EntornoPruebas e;
    e.Conecta();
    Conexion->Ejecutar("drop table PARAMETROS");
    CierraConexion();
    RegistroMensajes r;
    Ganchos g;
    EXPECT_EQ(Main(g.arranque()), FinArranque::SinConexion);
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_TRUE(r.ultimo().texto.startsWith("Se produjo un error: ")) << r.ultimo().texto.toStdString();
    EXPECT_TRUE(g.llamadas.isEmpty());
    EXPECT_FALSE(Conexion);
}

TEST(Arranque, BaseDanadaPorDentroSeAvisaTrasAbrirLaVentanaYNoSeEscribe) {
    EntornoPruebas e;
    e.Conecta();
    e.InsertaParametros();
    Conexion->Ejecutar("begin");
    for (int i = 0; i < 1000; ++i)
        e.InsertaFactura("P", QString("F-%1").arg(i), "06/12/2007", "21,00", "121", "100", "21");
    Conexion->Ejecutar("commit");
    CierraConexion();
    QFile f(e.RutaBD());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 pagina = f.size() / 4096 / 2 * 4096;
    f.seek(pagina);
    f.write(QByteArray(4096, '\x5a'));
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray danada = f.readAll();
    f.close();

    RegistroMensajes r;
    Ganchos g;
    ASSERT_EQ(Main(g.arranque()), FinArranque::VentanaAbierta);
    for (int i = 0; i < 500 && !g.llamadas.contains("termina"); ++i) {
        QThread::msleep(10);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(g.llamadas, QStringList({"InicioMDIFrm", "tamaño", "termina"}));
    ASSERT_EQ(r.cuenta(), 1);
    EXPECT_EQ(r.ultimo().texto, "Error intentando conectar con la BD. El error fue: La base de datos está dañada.");
    EXPECT_EQ(r.ultimo().icono, Icono::Critico);
    EXPECT_FALSE(Conexion);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), danada);
}
