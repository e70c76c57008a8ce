#include "ventanas/importacion/ImportarFacturasFrm.h"

#include "dominio/parametros/Ajustes.h"
#include "dominio/parametros/Parametros.h"
#include "datos/BaseDatos.h"
#include "datos/motor/ErroresBD.h"
#include "base/Formatos.h"
#include "base/Mensajes.h"
#include "informes/Fuentes.h"
#include "ventanas/comun/Utiles.h"
#include "ventanas/comun/Ventanas.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QScreen>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <exception>

namespace {

const QString kTitulo = QStringLiteral("Importar Facturas");
using Estado = FilaImportacion::Estado;
using K = CampoImportacion;

// What the type's list offers besides the columns.
constexpr int kNinguna = -1, kTodasCobros = -2, kTodasPagos = -3;

QPushButton* Boton(const QString& texto, const char* nombre, QWidget* padre) {
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setAutoDefault(false);
    return b;
}

// The titles say the tax word the program is set to.
QString ConImpuesto(const QString& texto) {
    const QString palabra = OpcionIva.trimmed();
    return palabra.isEmpty() ? texto : QString(texto).replace(QStringLiteral("IVA"), palabra);
}

}  // namespace

// The rows read, one line each, with their state.
class ModeloImportacion : public QAbstractTableModel {
public:
    enum Columna { Linea, EstadoFila, Tipo, Codigo, Fecha, Operacion, Nif, Nombre, Base, Porcentaje, Cuota, Total, Nota, Columnas };

    explicit ModeloImportacion(QObject* padre) : QAbstractTableModel(padre) {}
    void Pon(const Importacion* imp) {
        beginResetModel();
        imp_ = imp;
        endResetModel();
    }
    int rowCount(const QModelIndex& p = {}) const override {
        return p.isValid() || !imp_ ? 0 : static_cast<int>(imp_->filas.size());
    }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : Columnas; }
    QVariant headerData(int s, Qt::Orientation o, int rol) const override {
        if (o != Qt::Horizontal || rol != Qt::DisplayRole)
            return {};
        static const char* const titulos[Columnas] = {"Línea", "Estado", "Tipo",  "Código", "Fecha",
                                                      "F. operación", "NIF", "Nombre", "Base", "% IVA",
                                                      "Cuota", "Total", "Observaciones"};
        return ConImpuesto(QString::fromUtf8(titulos[s]));
    }
    QVariant data(const QModelIndex& i, int rol) const override {
        if (!imp_ || !i.isValid())
            return {};
        const FilaImportacion& f = imp_->filas[static_cast<size_t>(i.row())];
        if (rol == Qt::BackgroundRole) {
            if (f.estado == Estado::Rechazada)
                return QColor(255, 214, 214);
            if (f.estado == Estado::Repetida)
                return QColor(225, 225, 225);
            return f.completados.isEmpty() ? QVariant() : QVariant(QColor(255, 244, 200));
        }
        if (rol == Qt::TextAlignmentRole)
            return i.column() >= Base && i.column() <= Total ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        if (rol != Qt::DisplayRole)
            return {};
        const bool rechazada = f.estado == Estado::Rechazada;
        // A refused row shows what the file says; the others what will be stored.
        auto importe = [&](const std::optional<double>& v, K k) {
            return rechazada ? f.textos.value(static_cast<int>(k)) : v ? FormatoImporte(*v) : QString();
        };
        switch (i.column()) {
        case Linea: return f.hoja.isEmpty() ? QString::number(f.linea) : f.hoja + QStringLiteral(", ") + QString::number(f.linea);
        case EstadoFila:
            return f.estado == Estado::Nueva      ? QStringLiteral("Nueva")
                   : f.estado == Estado::Repetida ? QStringLiteral("Repetida")
                                                  : QStringLiteral("Rechazada");
        case Tipo: return rechazada ? f.textos.value(static_cast<int>(K::Tipo)) : f.cobro ? QStringLiteral("Cobros") : QStringLiteral("Pagos");
        case Codigo: return rechazada ? f.textos.value(static_cast<int>(K::Codigo)) : f.codigo;
        case Fecha: return rechazada ? f.textos.value(static_cast<int>(K::Fecha)) : EscribeFecha(f.fecha);
        case Operacion:
            return rechazada                     ? f.textos.value(static_cast<int>(K::FechaOperacion))
                   : f.fechaOperacion.isValid() ? EscribeFecha(f.fechaOperacion)
                                                 : QString();
        case Nif: return rechazada ? f.textos.value(static_cast<int>(K::Nif)) : f.nif;
        case Nombre: return rechazada ? f.textos.value(static_cast<int>(K::Nombre)) : f.nombre;
        case Base: return importe(f.neto, K::Neto);
        case Porcentaje: return importe(f.porcentaje, K::Porcentaje);
        case Cuota: return importe(f.cuota, K::Cuota);
        case Total: return importe(f.total, K::Total);
        case Nota: {
            QStringList notas;
            if (!f.motivo.isEmpty())
                notas << f.motivo;
            if (!f.completados.isEmpty())
                notas << QStringLiteral("Completados: ") + f.completados;
            return notas.join(QStringLiteral("; "));
        }
        }
        return {};
    }

private:
    const Importacion* imp_ = nullptr;
};

ImportarFacturasFrm::ImportarFacturasFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ImportarFacturasFrm"));
    setWindowTitle(kTitulo);
    setFont(Fuente(QStringLiteral("MS Sans Serif"), 8.25));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* lblArchivo = new QLabel(QStringLiteral("&Archivo"), this);
    TxtArchivo = new QLineEdit(this);
    TxtArchivo->setObjectName(QStringLiteral("TxtArchivo"));
    lblArchivo->setBuddy(TxtArchivo);
    BtnExaminar = Boton(QStringLiteral("E&xaminar..."), "BtnExaminar", this);
    BtnLeer = Boton(QStringLiteral("&Leer"), "BtnLeer", this);
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(lblArchivo);
    arriba->addWidget(TxtArchivo, 1);
    arriba->addWidget(BtnExaminar);
    arriba->addWidget(BtnLeer);

    // Page 0: the note; 1: the map of the columns; 2: the rows read.
    Paginas = new QStackedWidget(this);
    Paginas->setObjectName(QStringLiteral("Paginas"));
    auto* nota = new QLabel(QStringLiteral("Elija los libros registro (XLSX de la Agencia Tributaria o CSV) o el CSV de "
                                           "una hoja de cálculo con las facturas, y pulse Leer. Nada se guarda hasta "
                                           "que pulse Importar."),
                            this);
    nota->setObjectName(QStringLiteral("LblNota"));
    nota->setWordWrap(true);
    nota->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Paginas->addWidget(nota);

    auto* pagMapa = new QWidget(this);
    auto* rejilla = new QGridLayout(pagMapa);
    auto* lblMapa = new QLabel(QStringLiteral("Indique qué columna del archivo lleva cada dato de las facturas:"), pagMapa);
    rejilla->addWidget(lblMapa, 0, 0, 1, 2);
    for (int k = 0; k < NumCamposMapa; ++k) {
        auto* lbl = new QLabel(ConImpuesto(TituloCampo(static_cast<K>(k))), pagMapa);
        CmbCampos[k] = new QComboBox(pagMapa);
        CmbCampos[k]->setObjectName(QStringLiteral("CmbCampos(%1)").arg(k));
        lbl->setBuddy(CmbCampos[k]);
        rejilla->addWidget(lbl, k + 1, 0);
        rejilla->addWidget(CmbCampos[k], k + 1, 1);
    }
    BtnContinuar = Boton(QStringLiteral("C&ontinuar"), "BtnContinuar", pagMapa);
    rejilla->addWidget(BtnContinuar, NumCamposMapa + 1, 1, Qt::AlignRight);
    rejilla->setColumnStretch(1, 1);
    rejilla->setRowStretch(NumCamposMapa + 2, 1);
    Paginas->addWidget(pagMapa);

    auto* pagVista = new QWidget(this);
    auto* vista = new QVBoxLayout(pagVista);
    vista->setContentsMargins(0, 0, 0, 0);
    GrdFilas = new QTableView(pagVista);
    GrdFilas->setObjectName(QStringLiteral("GrdFilas"));
    modelo_ = new ModeloImportacion(this);
    GrdFilas->setModel(modelo_);
    GrdFilas->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrdFilas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrdFilas->verticalHeader()->hide();
    GrdFilas->verticalHeader()->setDefaultSectionSize(GrdFilas->fontMetrics().height() + 6);
    GrdFilas->horizontalHeader()->setStretchLastSection(true);
    LblCuenta = new QLabel(pagVista);
    LblCuenta->setObjectName(QStringLiteral("LblCuenta"));
    vista->addWidget(GrdFilas, 1);
    vista->addWidget(LblCuenta);
    Paginas->addWidget(pagVista);

    BtnImportar = Boton(QStringLiteral("&Importar"), "BtnImportar", this);
    BtnRechazadas = Boton(QStringLiteral("&Guardar rechazadas..."), "BtnRechazadas", this);
    BtnSalir = Boton(QStringLiteral("&Cancelar"), "BtnSalir", this);
    BtnImportar->setEnabled(false);
    BtnRechazadas->setEnabled(false);
    auto* pie = new QHBoxLayout;
    pie->addWidget(BtnRechazadas);
    pie->addStretch(1);
    pie->addWidget(BtnImportar);
    pie->addWidget(BtnSalir);

    auto* principal = new QVBoxLayout(this);
    principal->addLayout(arriba);
    principal->addWidget(Paginas, 1);
    principal->addLayout(pie);

    connect(BtnExaminar, &QPushButton::clicked, this, &ImportarFacturasFrm::BtnExaminar_Click);
    connect(BtnLeer, &QPushButton::clicked, this, &ImportarFacturasFrm::BtnLeer_Click);
    connect(TxtArchivo, &QLineEdit::returnPressed, this, &ImportarFacturasFrm::BtnLeer_Click);
    connect(BtnContinuar, &QPushButton::clicked, this, &ImportarFacturasFrm::BtnContinuar_Click);
    connect(BtnImportar, &QPushButton::clicked, this, &ImportarFacturasFrm::BtnImportar_Click);
    connect(BtnRechazadas, &QPushButton::clicked, this, &ImportarFacturasFrm::BtnRechazadas_Click);
    connect(BtnSalir, &QPushButton::clicked, this, &QDialog::reject);

    // As wide as the rows want, never beyond the screen (a small one, or large letters).
    const QSize pantalla = screen()->availableGeometry().size();
    resize(qMin(900, pantalla.width() * 9 / 10), qMin(560, pantalla.height() * 9 / 10));
    ObjUtiles().PreparaFormulario(this, VentanaPrincipal());
    TxtArchivo->setFocus();
}

ImportarFacturasFrm::~ImportarFacturasFrm() = default;

void ImportarFacturasFrm::BtnExaminar_Click() {
    const QString ruta = QFileDialog::getOpenFileName(
        this, QStringLiteral("Importar facturas"),
        TxtArchivo->text().isEmpty() ? QDir::homePath() : QFileInfo(TxtArchivo->text()).absolutePath(),
        QStringLiteral("Libros y hojas de cálculo (*.xlsx *.csv *.txt);;Todos los archivos (*)"), nullptr,
        QFileDialog::DontUseNativeDialog);
    if (ruta.isEmpty())
        return;
    TxtArchivo->setText(QDir::toNativeSeparators(ruta));
    BtnLeer_Click();
}

void ImportarFacturasFrm::BtnLeer_Click() {
    const QString ruta = QDir::fromNativeSeparators(TxtArchivo->text().trimmed());
    if (ruta.isEmpty()) {
        Aviso(QStringLiteral("Escriba o elija el archivo que se importa."));
        TxtArchivo->setFocus();
        return;
    }
    importacion_ = Importacion();
    modelo_->Pon(nullptr);
    BtnImportar->setEnabled(false);
    BtnRechazadas->setEnabled(false);
    examen_ = ExaminaImportacion(ruta);
    if (!examen_.error.isEmpty()) {
        Paginas->setCurrentIndex(0);
        MuestraMensaje(examen_.error, Botones::Aceptar, Icono::Critico);
        TxtArchivo->setFocus();
        return;
    }
    if (examen_.libros)
        Lee(MapaColumnas());
    else
        MuestraMapa();
}

void ImportarFacturasFrm::MuestraMapa() {
    // The map kept for these headers, or what their words suggest.
    const LecturaMapa guardado = LeeMapa(LeeAjuste(examen_.claveMapa, QString()), examen_.cabeceras);
    const MapaColumnas mapa = guardado.error.isEmpty() && guardado.mapa.Falta().isEmpty() ? guardado.mapa : examen_.propuesto;
    for (int k = 0; k < NumCamposMapa; ++k) {
        QComboBox* c = CmbCampos[k];
        c->clear();
        c->addItem(QStringLiteral("(ninguna)"), kNinguna);
        if (k == static_cast<int>(K::Tipo)) {
            c->addItem(QStringLiteral("Todas son Cobros"), kTodasCobros);
            c->addItem(QStringLiteral("Todas son Pagos"), kTodasPagos);
        }
        for (int col = 0; col < examen_.cabeceras.size(); ++col) {
            const QString titulo = examen_.cabeceras[col].simplified();
            c->addItem(titulo.isEmpty() ? QStringLiteral("Columna %1").arg(col + 1) : titulo, col);
        }
        int elegido = mapa.columnas[static_cast<size_t>(k)];
        if (k == static_cast<int>(K::Tipo) && mapa.tipoFijo)
            elegido = *mapa.tipoFijo ? kTodasCobros : kTodasPagos;
        c->setCurrentIndex(qMax(0, c->findData(elegido)));
    }
    Paginas->setCurrentIndex(1);
    CmbCampos[0]->setFocus();
}

MapaColumnas ImportarFacturasFrm::MapaElegido() const {
    MapaColumnas m;
    for (int k = 0; k < NumCamposMapa; ++k) {
        const int v = CmbCampos[k]->currentData().toInt();
        if (v == kTodasCobros || v == kTodasPagos)
            m.tipoFijo = v == kTodasCobros;
        else
            m.columnas[static_cast<size_t>(k)] = v;
    }
    return m;
}

void ImportarFacturasFrm::BtnContinuar_Click() {
    const MapaColumnas mapa = MapaElegido();
    if (const QString falta = mapa.Falta(); !falta.isEmpty()) {
        Aviso(QStringLiteral("Indique qué columna lleva ") + falta + QLatin1Char('.'));
        return;
    }
    GuardaAjuste(examen_.claveMapa, EscribeMapa(mapa, examen_.cabeceras));
    Lee(mapa);
}

ImportarFacturasFrm::FinTrabajo ImportarFacturasFrm::EnSegundoPlano(
    const QString& texto, const std::function<void(const ProgresoImportacion&)>& trabajo) {
    std::exception_ptr fallo;
    std::atomic<int> permil{0};
    std::atomic<bool> parar{false};
    QProgressDialog progreso(texto, QStringLiteral("&Cancelar"), 0, 1000, this);
    progreso.setObjectName(QStringLiteral("Progreso"));
    progreso.setWindowTitle(kTitulo);
    progreso.setWindowModality(Qt::WindowModal);
    progreso.setMinimumDuration(400);
    progreso.setAutoClose(false);
    progreso.setAutoReset(false);
    std::unique_ptr<QThread> hilo(QThread::create([&] {
        try {
            trabajo([&](int p) {
                permil = p;
                return !parar;
            });
        } catch (...) {
            fallo = std::current_exception();
        }
    }));
    QEventLoop bucle;
    QTimer reloj;
    connect(&reloj, &QTimer::timeout, &progreso, [&] {
        if (!parar)
            progreso.setValue(qBound(0, permil.load(), 999));
    });
    connect(&progreso, &QProgressDialog::canceled, &bucle, [&] {
        parar = true;
        progreso.setLabelText(QStringLiteral("Cancelando..."));
    });
    connect(hilo.get(), &QThread::finished, &bucle, &QEventLoop::quit);
    hilo->start();
    reloj.start(100);
    bucle.exec();
    hilo->wait();
    // Closing the window would count as Cancelar: the answer is taken first.
    const bool hecho = !parar;
    progreso.close();
    try {
        if (fallo)
            std::rethrow_exception(fallo);
    } catch (const ErrorBD& e) {
        MostrarErrorBD(e);
        return FinTrabajo::Fallo;
    }
    return hecho ? FinTrabajo::Hecho : FinTrabajo::Cancelado;
}

void ImportarFacturasFrm::Lee(const MapaColumnas& mapa) {
    const QString ruta = QDir::fromNativeSeparators(TxtArchivo->text().trimmed());
    Importacion imp;
    const FinTrabajo fin = EnSegundoPlano(QStringLiteral("Leyendo ") + QFileInfo(ruta).fileName() + QStringLiteral("..."),
                                          [&](const ProgresoImportacion& progreso) {
                                              imp = LeeImportacion(ruta, mapa, progreso);
                                              if (imp.error.isEmpty() && !imp.cancelada)
                                                  MarcaRepetidas(ConexionAbierta(), imp);
                                          });
    if (fin != FinTrabajo::Hecho || imp.cancelada)
        return;
    if (!imp.error.isEmpty()) {
        MuestraMensaje(imp.error, Botones::Aceptar, Icono::Critico);
        return;
    }
    importacion_ = std::move(imp);
    modelo_->Pon(&importacion_);
    GrdFilas->resizeColumnsToContents();
    LblCuenta->setText(CuentaImportacion(importacion_));
    Paginas->setCurrentIndex(2);
    BtnImportar->setEnabled(importacion_.Nuevas() > 0);
    BtnRechazadas->setEnabled(importacion_.Rechazadas() > 0);
    (importacion_.Nuevas() > 0 ? BtnImportar : BtnSalir)->setFocus();
}

void ImportarFacturasFrm::BtnImportar_Click() {
    int grabadas = -1;
    if (EnSegundoPlano(QStringLiteral("Importando las facturas..."), [&](const ProgresoImportacion& progreso) {
            grabadas = GrabaImportacion(ConexionAbierta(), importacion_, progreso);
        }) == FinTrabajo::Fallo)
        return;
    if (grabadas < 0) {
        Aviso(QStringLiteral("Importación cancelada: no se ha guardado ninguna factura."));
        return;
    }
    importadas_ = grabadas;
    BtnImportar->setEnabled(false);
    BtnSalir->setText(QStringLiteral("&Cerrar"));
    Aviso(ResumenImportacion(grabadas, importacion_.Repetidas(), importacion_.Rechazadas()));
    (BtnRechazadas->isEnabled() ? BtnRechazadas : BtnSalir)->setFocus();
}

void ImportarFacturasFrm::BtnRechazadas_Click() {
    const QFileInfo origen(QDir::fromNativeSeparators(TxtArchivo->text().trimmed()));
    const QString propuesto = origen.absoluteDir().filePath(origen.completeBaseName() + QStringLiteral("_rechazadas.csv"));
    QString ruta = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar las filas rechazadas"), propuesto,
                                                QStringLiteral("Texto CSV (*.csv)"), nullptr,
                                                QFileDialog::DontUseNativeDialog);
    if (ruta.isEmpty())
        return;
    if (!ruta.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        ruta += QStringLiteral(".csv");
    QString error;
    if (!EscribeRechazadas(ruta, importacion_, &error)) {
        MuestraMensaje(error, Botones::Aceptar, Icono::Critico);
        return;
    }
    Aviso(QStringLiteral("Las filas rechazadas, con el motivo de cada una, están en ") + QDir::toNativeSeparators(ruta) +
          QStringLiteral(".\nCorríjalas allí e importe ese archivo."));
}
