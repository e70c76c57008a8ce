#include "ventanas/ajustes/BaseDatosFrm.h"

#include "datos/BaseDatos.h"
#include "base/Mensajes.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/PunteroOcupado.h"
#include "ventanas/comun/Utiles.h"
#include "dominio/ajustes/BaseDatosLogica.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QPushButton* Boton(QWidget* padre, const char* nombre, const QString& texto) {
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(QLatin1String(nombre));
    b->setAutoDefault(false);
    return b;
}
QLineEdit* Caja(QWidget* padre, const char* nombre, int largo) {
    auto* t = new QLineEdit(padre);
    t->setObjectName(QLatin1String(nombre));
    t->setMaxLength(largo);
    return t;
}
}  // namespace

BaseDatosFrm::BaseDatosFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("BaseDatosFrm"));
    setWindowTitle(QStringLiteral("Base de datos"));
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25));

    OptArchivo = new QRadioButton(QStringLiteral("&Archivo en este equipo"), this);
    OptArchivo->setObjectName(QStringLiteral("OptArchivo"));
    OptServidor = new QRadioButton(QStringLiteral("&Servidor PostgreSQL"), this);
    OptServidor->setObjectName(QStringLiteral("OptServidor"));

    FraServidor = new QGroupBox(QStringLiteral("Servidor PostgreSQL"), this);
    FraServidor->setObjectName(QStringLiteral("FraServidor"));
    TxtServidor = Caja(FraServidor, "TxtServidor", 255);
    TxtPuerto = Caja(FraServidor, "TxtPuerto", 5);
    ObjUtiles().AsignaFiltro(TxtPuerto, Utiles::Filtro::Entero);
    TxtBase = Caja(FraServidor, "TxtBase", 63);
    TxtUsuario = Caja(FraServidor, "TxtUsuario", 63);
    TxtClave = Caja(FraServidor, "TxtClave", 100);
    TxtClave->setEchoMode(QLineEdit::Password);
    TxtClave->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    TxtClave->setPlaceholderText(QStringLiteral("(la guardada, si no se escribe)"));
    auto* campos = new QFormLayout(FraServidor);
    campos->addRow(QStringLiteral("Servidor"), TxtServidor);
    campos->addRow(QStringLiteral("Puerto"), TxtPuerto);
    campos->addRow(QStringLiteral("Base de datos"), TxtBase);
    campos->addRow(QStringLiteral("Usuario"), TxtUsuario);
    campos->addRow(QStringLiteral("Contraseña"), TxtClave);
    BtnProbar = Boton(FraServidor, "BtnProbar", QStringLiteral("&Probar conexión"));
    BtnCopiar = Boton(FraServidor, "BtnCopiar", QStringLiteral("Copiar &datos al servidor"));
    auto* pruebas = new QHBoxLayout;
    pruebas->addWidget(BtnProbar);
    pruebas->addWidget(BtnCopiar);
    campos->addRow(pruebas);

    BtnGrabar = Boton(this, "BtnGrabar", QStringLiteral("&Grabar"));
    BtnCancelar = Boton(this, "BtnCancelar", QStringLiteral("&Cancelar"));
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BtnGrabar);
    botones->addWidget(BtnCancelar);

    auto* todo = new QVBoxLayout(this);
    todo->addWidget(OptArchivo);
    todo->addWidget(OptServidor);
    todo->addWidget(FraServidor);
    todo->addLayout(botones);
    setMinimumWidth(Px(6000));

    const ServidorElegido s = LeeServidorElegido();
    (ServidorEnAjustes() ? OptServidor : OptArchivo)->setChecked(true);
    TxtServidor->setText(s.servidor);
    TxtPuerto->setText(QString::number(s.puerto));
    TxtBase->setText(s.base);
    TxtUsuario->setText(s.usuario);
    ActivaServidor();

    connect(OptServidor, &QRadioButton::toggled, this, &BaseDatosFrm::ActivaServidor);
    connect(BtnProbar, &QPushButton::clicked, this, &BaseDatosFrm::BtnProbar_Click);
    connect(BtnCopiar, &QPushButton::clicked, this, &BaseDatosFrm::BtnCopiar_Click);
    connect(BtnGrabar, &QPushButton::clicked, this, &BaseDatosFrm::BtnGrabar_Click);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    ObjUtiles().PreparaFormulario(this, nullptr);
}

DatosServidor BaseDatosFrm::Datos() const {
    return {TxtServidor->text(), TxtPuerto->text(), TxtBase->text(), TxtUsuario->text(), TxtClave->text()};
}

void BaseDatosFrm::ActivaServidor() { FraServidor->setEnabled(OptServidor->isChecked()); }

void BaseDatosFrm::BtnProbar_Click() {
    ResultadoPrueba r;
    {
        PunteroOcupado ocupado;
        r = PruebaConexion(Datos());
    }
    MuestraMensaje(r.mensaje, Botones::Aceptar, r.correcta ? Icono::Informacion : Icono::Exclamacion);
}

void BaseDatosFrm::BtnCopiar_Click() {
    const QString archivo = Conexion && !Conexion->EnServidor() ? Conexion->Ruta() : QString();
    if (archivo.isEmpty()) {
        MuestraMensaje(QStringLiteral("El programa no está usando un archivo de este equipo: no hay datos que copiar al "
                                      "servidor."),
                       Botones::Aceptar, Icono::Exclamacion);
        return;
    }
    if (MuestraMensaje(QStringLiteral("Se copiarán los datos de este equipo (%1) a la base de datos del servidor, que "
                                      "debe estar vacía. ¿Desea continuar?")
                           .arg(archivo),
                       Botones::SiNo, Icono::Pregunta, QString(), Respuesta::No) != Respuesta::Si)
        return;
    ResultadoPrueba r;
    {
        PunteroOcupado ocupado;
        r = CopiaDatosAlServidor(archivo, Datos());
    }
    MuestraMensaje(r.mensaje, Botones::Aceptar, r.correcta ? Icono::Informacion : Icono::Exclamacion);
}

void BaseDatosFrm::BtnGrabar_Click() {
    const QString fallo = GuardaBaseDatosElegida(OptServidor->isChecked(), Datos());
    if (!fallo.isEmpty()) {
        MuestraMensaje(fallo, Botones::Aceptar, Icono::Exclamacion);
        return;
    }
    Aviso(QStringLiteral("La base de datos elegida se usará la próxima vez que arranque el programa."));
    accept();
}
