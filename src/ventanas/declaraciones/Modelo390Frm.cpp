#include "ventanas/declaraciones/Modelo390Frm.h"

#include "base/Archivos.h"
#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "datos/ConexionBD.h"
#include "datos/motor/ErroresBD.h"
#include "datos/motor/Registros.h"
#include "dominio/declaraciones/Fichero390.h"
#include "dominio/declaraciones/Modelo347Logica.h"
#include "dominio/liquidacion/LiquidacionLogica.h"
#include "dominio/parametros/ActualizacionMod.h"
#include "dominio/parametros/Parametros.h"
#include "informes/Modelo390Rpt.h"
#include "ventanas/comun/Formulario.h"
#include "ventanas/comun/ImpresionDocumento.h"
#include "ventanas/comun/Medidas.h"
#include "ventanas/comun/PunteroOcupado.h"
#include "ventanas/comun/VistaPreviaTeclas.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kTitulo = QStringLiteral("Resumen Anual del IVA (Modelo 390)");
const QColor kRojoAviso(160, 0, 0);

}  // namespace

Modelo390Frm::Modelo390Frm(QWidget* parent) : QWidget(parent) {
    PreparaPantalla(this, QStringLiteral("Modelo390Frm"), kTitulo);

    auto* arriba = new QHBoxLayout;
    auto* lblAnio = new QLabel(QStringLiteral("&Ejercicio:"), this);
    TxtAnio = new QLineEdit(QString::number(QDate::currentDate().year() - 1), this);
    TxtAnio->setObjectName(QStringLiteral("TxtAnio"));
    TxtAnio->setMaxLength(4);
    TxtAnio->setFixedWidth(Px(900));
    lblAnio->setBuddy(TxtAnio);
    BtnCalcular = new QPushButton(QStringLiteral("&Calcular  (F5)"), this);
    BtnCalcular->setObjectName(QStringLiteral("BtnCalcular"));
    arriba->addWidget(lblAnio);
    arriba->addWidget(TxtAnio);
    arriba->addWidget(BtnCalcular);
    arriba->addStretch();

    LblTitulo = Rotulo(this, QStringLiteral("LblTitulo"), QStringLiteral("Indique el año y pulse «Calcular (F5)»."));

    DBGridCasillas = new QTableView(this);
    DBGridCasillas->setObjectName(QStringLiteral("DBGridCasillas"));
    ModeloCasillas = RejillaRegistros(DBGridCasillas, ColumnasCasillas());
    DBGridCasillas->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    DBGridCasillas->setColumnWidth(0, Px(900));
    DBGridCasillas->setColumnWidth(2, Px(1900));

    LblComprobacion = Rotulo(this, QStringLiteral("LblComprobacion"));
    LblComprobacion->setWordWrap(true);
    LstAvisos = ListaAvisos(this, QStringLiteral("LstAvisos"));
    LstAvisos->setMaximumHeight(Px(1900));

    auto* abajo = new QHBoxLayout;
    auto boton = [&](const QString& nombre, const QString& texto) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(nombre);
        b->setEnabled(false);
        abajo->addWidget(b);
        return b;
    };
    BtnImprimir = boton(QStringLiteral("BtnImprimir"), QStringLiteral("&Imprimir  (F9)"));
    BtnPdf = boton(QStringLiteral("BtnPdf"), QStringLiteral("Guardar &PDF"));
    BtnFichero = boton(QStringLiteral("BtnFichero"), QStringLiteral("&Fichero de la Agencia"));
    BtnCerrar = boton(QStringLiteral("BtnCerrar"), QStringLiteral("&Salir  (Esc)"));
    BtnCerrar->setEnabled(true);

    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addWidget(LblTitulo);
    todo->addWidget(DBGridCasillas, 1);
    todo->addWidget(LblComprobacion);
    todo->addWidget(LstAvisos);
    todo->addLayout(abajo);

    connect(BtnCalcular, &QPushButton::clicked, this, &Modelo390Frm::BtnCalcular_Click);
    connect(TxtAnio, &QLineEdit::returnPressed, this, &Modelo390Frm::BtnCalcular_Click);
    connect(BtnImprimir, &QPushButton::clicked, this, &Modelo390Frm::BtnImprimir_Click);
    connect(BtnPdf, &QPushButton::clicked, this, &Modelo390Frm::BtnPdf_Click);
    connect(BtnFichero, &QPushButton::clicked, this, &Modelo390Frm::BtnFichero_Click);
    connect(BtnCerrar, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });
    VistaPreviaTeclas(this, [this](QWidget*, QKeyEvent* k) { return Form_KeyDown(k->key()); });
    BotonCancelar(this, BtnCerrar);
    TxtAnio->setFocus();
    TxtAnio->selectAll();
}

Modelo390Frm::~Modelo390Frm() { ModeloCasillas->EstableceRegistros(nullptr); }

QSize Modelo390Frm::sizeHint() const { return QSize(Px(10080), Px(9000)); }

bool Modelo390Frm::Form_KeyDown(int tecla) {
    switch (tecla) {
    case Qt::Key_F5: BtnCalcular->click(); return true;
    case Qt::Key_F9: BtnImprimir->click(); return true;
    default: return false;
    }
}

void Modelo390Frm::BtnCalcular_Click() {
    QString error;
    const int anio = LeeAnioDeclaracion(TxtAnio->text(), &error);
    if (!anio) {
        MuestraMensaje(error, Botones::Aceptar, Icono::Exclamacion, TituloAplicacion);
        TxtAnio->setFocus();
        TxtAnio->selectAll();
        return;
    }
    PunteroOcupado cursor;
    try {
        // What is on show is replaced only once the new summary is complete.
        auto m = std::make_unique<Modelo390>(LeeModelo390(ConexionAbierta(), anio, OpcionIva));
        const CabeceraEmpresa empresa = LineasEmpresa(*ConexionAbierta().AbrirRegistros(SqlDatosEmpresa()));
        auto informe = std::make_unique<Modelo390Rpt>(*m, empresa);
        auto filas = RegistrosModelo390(*m);
        ModeloCasillas->EstableceRegistros(filas.get());
        rsCasillas_ = std::move(filas);
        modelo_ = std::move(m);
        informe_ = std::move(informe);
    } catch (const ErrorBD& e) {
        cursor.Restaura();
        MostrarErrorBD(e);
        return;
    }
    TxtAnio->setText(QString::number(anio));
    LblTitulo->setText(modelo_->Titulo());
    LblComprobacion->setText(modelo_->Comprobacion());
    QPalette p = LblComprobacion->palette();
    p.setColor(QPalette::WindowText, modelo_->Cuadra() ? palette().color(QPalette::WindowText) : kRojoAviso);
    LblComprobacion->setPalette(p);
    LstAvisos->clear();
    for (const auto* lista : {&modelo_->avisosPrevios, &modelo_->avisos})
        for (const Liquidacion::Aviso& a : *lista) {
            auto* item = new QListWidgetItem(
                style()->standardIcon(a.advertencia ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation),
                a.texto, LstAvisos);
            if (a.advertencia)
                item->setForeground(kRojoAviso);
        }
    for (QPushButton* b : {BtnImprimir, BtnPdf, BtnFichero})
        b->setEnabled(true);
}

void Modelo390Frm::BtnImprimir_Click() {
    if (informe_)
        ImprimeConDialogo(this, *informe_, QStringLiteral("Imprimir el resumen anual"), 1,
                          QStringLiteral("No se pudo imprimir el resumen anual."));
}

void Modelo390Frm::BtnPdf_Click() {
    if (!modelo_)
        return;
    const QString ruta = PideArchivoPdf(this, QStringLiteral("Guardar el resumen anual como PDF"),
                                        NombreArchivo390(modelo_->anio, QStringLiteral("pdf")));
    if (!ruta.isEmpty())
        GuardaPdf(ruta);
}

bool Modelo390Frm::GuardaPdf(const QString& ruta) {
    return informe_ && GuardaPdfDocumento(*informe_, ruta, kTitulo);
}

void Modelo390Frm::BtnFichero_Click() {
    if (!modelo_)
        return;
    QString ruta = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar el fichero para la Agencia Tributaria"),
                                                QDir::home().filePath(NombreArchivo390(modelo_->anio, QStringLiteral("txt"))),
                                                QStringLiteral("Fichero de texto (*.txt)"));
    if (ruta.isEmpty())
        return;
    if (!ruta.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        ruta += QStringLiteral(".txt");
    GuardaFichero(ruta);
}

bool Modelo390Frm::GuardaFichero(const QString& ruta) {
    if (!modelo_)
        return false;
    PunteroOcupado cursor;
    QByteArray datos;
    try {
        QString falta;
        datos = LeeFichero390(ConexionAbierta(), *modelo_, VersionPrograma, &falta);
        if (!falta.isEmpty()) {
            cursor.Restaura();
            MuestraMensaje(falta, Botones::Aceptar, Icono::Exclamacion, TituloAplicacion);
            return false;
        }
    } catch (const ErrorBD& e) {
        cursor.Restaura();
        MostrarErrorBD(e);
        return false;
    }
    if (!EscribeArchivoEntero(ruta, datos)) {
        cursor.Restaura();
        MuestraMensaje(QStringLiteral("No se pudo guardar el archivo %1.").arg(QDir::toNativeSeparators(ruta)),
                       Botones::Aceptar, Icono::Critico, TituloAplicacion);
        return false;
    }
    return true;
}
