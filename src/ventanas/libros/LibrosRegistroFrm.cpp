#include "ventanas/libros/LibrosRegistroFrm.h"

#include "base/Mensajes.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "dominio/facturas/Trimestres.h"
#include "dominio/libros/LibrosRegistroLogica.h"
#include "dominio/listado/Listado.h"
#include "dominio/parametros/Parametros.h"
#include "informes/Fuentes.h"
#include "dominio/libros/ExportacionLibros.h"
#include "ventanas/comun/PunteroOcupado.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const QString kTitulo = QStringLiteral("Libros Registro");

QPushButton* Boton(const QString& texto, const char* nombre, QWidget* padre) {
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setMinimumWidth(110);
    return b;
}

// The two buttons at the right of the window's foot.
QHBoxLayout* Pie(QPushButton* primero, QPushButton* segundo) {
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(primero);
    botones->addWidget(segundo);
    return botones;
}

}  // namespace

LibrosRegistroFrm::LibrosRegistroFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("LibrosRegistroFrm"));
    setWindowTitle(kTitulo);
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    LblNota = new QLabel(QStringLiteral("Los libros de facturas emitidas (Cobros) y recibidas (Pagos) desde el 1 de "
                                        "enero hasta el final del periodo elegido, en el formato que importa el "
                                        "servicio Pre303 de la Agencia Tributaria."),
                         this);
    LblNota->setObjectName(QStringLiteral("LblNota"));
    LblNota->setWordWrap(true);

    const char* etiquetas[] = {"E&jercicio", "&Periodo", "&Formato"};
    for (int i = 0; i < 3; ++i) {
        Lbls[i] = new QLabel(QString::fromUtf8(etiquetas[i]), this);
        Lbls[i]->setObjectName(QStringLiteral("Lbls(%1)").arg(i));
    }
    // The books of the quarter just ended, as the return proposes it.
    const PeriodoPropuesto propuesto = UltimoTrimestreTerminado(QDate::currentDate());
    TxtEjercicio = new QLineEdit(propuesto.anio, this);
    TxtEjercicio->setObjectName(QStringLiteral("TxtEjercicio"));
    ObjUtiles().AsignaFiltro(TxtEjercicio, Utiles::Filtro::Entero);
    ObjUtiles().LimitaCaracteres(TxtEjercicio, 4);
    TxtEjercicio->setFixedWidth(60);
    CmbPeriodo = new QComboBox(this);
    CmbPeriodo->setObjectName(QStringLiteral("CmbPeriodo"));
    CmbPeriodo->addItems(NombresTrimestre);
    CmbPeriodo->addItem(QStringLiteral("Todo el año"));
    CmbPeriodo->setCurrentIndex(propuesto.trimestre);
    CmbFormato = new QComboBox(this);
    CmbFormato->setObjectName(QStringLiteral("CmbFormato"));
    CmbFormato->addItems({QStringLiteral("Libro de Excel (XLSX) para la Agencia Tributaria"),
                          QStringLiteral("Texto separado por punto y coma (CSV)")});
    Lbls[0]->setBuddy(TxtEjercicio);
    Lbls[1]->setBuddy(CmbPeriodo);
    Lbls[2]->setBuddy(CmbFormato);

    auto* rejilla = new QGridLayout;
    rejilla->addWidget(Lbls[0], 0, 0);
    rejilla->addWidget(TxtEjercicio, 0, 1, Qt::AlignLeft);
    rejilla->addWidget(Lbls[1], 1, 0);
    rejilla->addWidget(CmbPeriodo, 1, 1, Qt::AlignLeft);
    rejilla->addWidget(Lbls[2], 2, 0);
    rejilla->addWidget(CmbFormato, 2, 1);
    rejilla->setColumnStretch(1, 1);

    BtnAceptar = Boton(QStringLiteral("&Exportar"), "BtnAceptar", this);
    BtnAceptar->setDefault(true);
    BtnSalir = Boton(QStringLiteral("&Cancelar"), "BtnSalir", this);
    BtnSalir->setAutoDefault(false);
    connect(BtnAceptar, &QPushButton::clicked, this, &LibrosRegistroFrm::BtnAceptar_Click);
    connect(BtnSalir, &QPushButton::clicked, this, &QDialog::reject);

    auto* principal = new QVBoxLayout(this);
    principal->addWidget(LblNota);
    principal->addSpacing(6);
    principal->addLayout(rejilla);
    principal->addSpacing(6);
    principal->addLayout(Pie(BtnAceptar, BtnSalir));
    setMinimumWidth(420);

    exportacion_ = new ExportacionLibros(this);
    exportacion_->setObjectName(QStringLiteral("Exportacion"));
    connect(exportacion_, &ExportacionLibros::Terminada, this, &LibrosRegistroFrm::ExportacionTerminada);

    ObjUtiles().PreparaFormulario(this, VentanaPrincipal());
    TxtEjercicio->setFocus();
}

LibrosRegistroFrm::~LibrosRegistroFrm() {
    // The export still running stops with its own object, which waits for it.
    if (exportacion_->EnMarcha())
        QApplication::restoreOverrideCursor();
}

void LibrosRegistroFrm::BtnAceptar_Click() {
    if (exportacion_->EnMarcha())
        return;
    const auto anio = LeeAnioLibros(TxtEjercicio->text());
    if (!anio) {
        Aviso(TextoLibros::AnioNoValido);
        TxtEjercicio->setFocus();
        return;
    }
    const int trimestre = CmbPeriodo->currentIndex() < 4 ? CmbPeriodo->currentIndex() : -1;
    DatosLibros datos;
    try {
        PunteroOcupado ocupado;
        datos = LeeDatosLibros(ConexionAbierta(), *anio, trimestre, ImpuestoDePalabra(OpcionIva));
    } catch (const ErrorBD& e) {
        MostrarErrorBD(e);
        return;
    }
    if (datos.impuesto == Impuesto::IGIC)
        MuestraMensaje(TextoLibros::SoloIva, Botones::Aceptar, Icono::Exclamacion, kTitulo);
    if (!AceptaIncidencias(datos))
        return;
    const QString ruta = PideArchivo(datos, CmbFormato->currentIndex() == 0);
    if (!ruta.isEmpty())
        Exporta(datos, ruta);
}

bool LibrosRegistroFrm::AceptaIncidencias(const DatosLibros& datos) {
    const std::vector<IncidenciaLibro> incidencias = IncidenciasLibros(datos.facturas, datos.impuesto);
    if (incidencias.empty())
        return true;
    QStringList lineas;
    for (const IncidenciaLibro& i : incidencias)
        lineas << LineaIncidencia(i);
    IncidenciasLibrosFrm dlg(lineas, this);
    return dlg.exec() == QDialog::Accepted;
}

QString LibrosRegistroFrm::PideArchivo(const DatosLibros& datos, bool xlsx) {
    const QString extension = xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    const QString carpeta =
        CarpetaParaGuardar(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath());
    QString ruta = QFileDialog::getSaveFileName(
        this, QStringLiteral("Guardar los libros registro"),
        QDir(carpeta).filePath(NombreArchivoLibros(datos.anio, datos.empresa) + extension),
        xlsx ? QStringLiteral("Libros de Excel (*.xlsx)") : QStringLiteral("Texto CSV (*.csv)"));
    if (!ruta.isEmpty() && !ruta.endsWith(extension, Qt::CaseInsensitive))
        ruta += extension;
    return ruta;
}

void LibrosRegistroFrm::Exporta(const DatosLibros& datos, const QString& ruta) {
    formato_ = *FormatoDeArchivo(ruta);
    datos_ = std::make_shared<const DatosLibros>(datos);
    // The window stays alive meanwhile: the progress comes and goes as signals.
    progreso_ = new QProgressDialog(QStringLiteral("Exportando los libros registro..."), QStringLiteral("&Cancelar"), 0,
                                    static_cast<int>(datos.facturas.size()), this);
    progreso_->setObjectName(QStringLiteral("Progreso"));
    progreso_->setWindowTitle(kTitulo);
    progreso_->setWindowModality(Qt::WindowModal);
    progreso_->setMinimumDuration(300);
    progreso_->setAutoClose(false);
    progreso_->setAutoReset(false);
    connect(progreso_, &QProgressDialog::canceled, exportacion_, &ExportacionLibros::Cancela);
    connect(exportacion_, &ExportacionLibros::Avance, progreso_, &QProgressDialog::setValue);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    exportacion_->Empieza(ruta, formato_, datos_);
}

void LibrosRegistroFrm::ExportacionTerminada() {
    QApplication::restoreOverrideCursor();
    if (progreso_) {
        progreso_->close();
        delete progreso_;
        progreso_ = nullptr;
    }
    const ResultadoLibros r = exportacion_->Resultado();
    const std::shared_ptr<const DatosLibros> datos = std::move(datos_);
    switch (r.estado) {
    case ResultadoLibros::Estado::Cancelado: Aviso(TextoLibros::Cancelada); return;
    case ResultadoLibros::Estado::Fallido: MuestraMensaje(r.error, Botones::Aceptar, Icono::Critico); return;
    case ResultadoLibros::Estado::Hecho: break;
    }
    QString texto = ResumenLibros(*datos, r.archivos);
    if (const QString aviso = AvisoTamanoLibros(r.archivos, formato_); !aviso.isEmpty())
        texto += QStringLiteral("\n\n") + aviso;
    Aviso(texto);
    accept();
}

void LibrosRegistroFrm::done(int r) {
    // Closed while it writes: the export stops, and nothing is left half written.
    if (exportacion_->EnMarcha()) {
        exportacion_->Cancela();
        return;
    }
    QDialog::done(r);
}

IncidenciasLibrosFrm::IncidenciasLibrosFrm(const QStringList& lineas, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("IncidenciasLibrosFrm"));
    setWindowTitle(kTitulo);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* cabecera = new QLabel(TextoLibros::CabeceraIncidencias, this);
    cabecera->setObjectName(QStringLiteral("LblCabecera"));
    auto* lista = new QPlainTextEdit(lineas.join(QLatin1Char('\n')), this);
    lista->setObjectName(QStringLiteral("TxtIncidencias"));
    lista->setReadOnly(true);
    lista->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto* pie = new QLabel(TextoLibros::PieIncidencias, this);
    pie->setObjectName(QStringLiteral("LblPie"));
    pie->setWordWrap(true);
    auto* exportar = Boton(QStringLiteral("&Exportar igualmente"), "BtnAceptar", this);
    exportar->setAutoDefault(false);
    // Going back to correct them is what Enter and Esc do.
    auto* cancelar = Boton(QStringLiteral("&Cancelar"), "BtnSalir", this);
    cancelar->setDefault(true);
    connect(exportar, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(cabecera);
    principal->addWidget(lista, 1);
    principal->addWidget(pie);
    principal->addLayout(Pie(exportar, cancelar));
    resize(640, 320);
    ObjUtiles().PreparaFormulario(this, parent);
    cancelar->setFocus();
}
