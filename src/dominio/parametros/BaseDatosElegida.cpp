#include "dominio/parametros/BaseDatosElegida.h"

#include "dominio/parametros/Ajustes.h"

#include <QUrl>
#include <QUrlQuery>

bool ServidorEnAjustes() { return LeeAjuste(QStringLiteral("BaseDatos"), QString()) == QLatin1String("servidor"); }

ServidorElegido LeeServidorElegido() {
    ServidorElegido s;
    s.servidor = LeeAjuste(QStringLiteral("Servidor"), QString());
    const double puerto = LeeAjusteNumero(QStringLiteral("PuertoServidor"), 5432);
    s.puerto = puerto >= 1 && puerto <= 65535 ? static_cast<int>(puerto) : 5432;
    s.base = LeeAjuste(QStringLiteral("BaseServidor"), QString());
    s.usuario = LeeAjuste(QStringLiteral("UsuarioServidor"), QString());
    return s;
}

void GuardaEleccionBaseDatos(bool servidor, const ServidorElegido& s) {
    GuardaAjuste(QStringLiteral("BaseDatos"), servidor ? QStringLiteral("servidor") : QStringLiteral("archivo"));
    GuardaAjuste(QStringLiteral("Servidor"), s.servidor);
    GuardaAjuste(QStringLiteral("PuertoServidor"), QString::number(s.puerto));
    GuardaAjuste(QStringLiteral("BaseServidor"), s.base);
    GuardaAjuste(QStringLiteral("UsuarioServidor"), s.usuario);
}

QString DireccionServidor(const ServidorElegido& s) {
    QUrl u;
    u.setScheme(QStringLiteral("postgresql"));
    u.setUserName(s.usuario);
    // A folder is the server's local socket on this computer, not a host name.
    if (s.servidor.startsWith(QLatin1Char('/'))) {
        QUrlQuery q;
        q.addQueryItem(QStringLiteral("host"), s.servidor);
        u.setQuery(q);
    } else {
        u.setHost(s.servidor);
    }
    u.setPort(s.puerto);
    u.setPath(QLatin1Char('/') + s.base);
    return u.toString(QUrl::FullyEncoded);
}

QString BaseDatosElegida() { return ServidorEnAjustes() ? DireccionServidor(LeeServidorElegido()) : QString(); }
