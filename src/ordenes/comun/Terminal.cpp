#include "ordenes/comun/Terminal.h"

#include <QByteArray>
#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace {

std::optional<QString> LeeLineaTerminal(const QString& pregunta, bool eco) {
#ifdef Q_OS_WIN
    HANDLE entrada = GetStdHandle(STD_INPUT_HANDLE);
    DWORD modo = 0;
    if (entrada == INVALID_HANDLE_VALUE || !GetConsoleMode(entrada, &modo))
        return std::nullopt;
    std::fputs(pregunta.toUtf8().constData(), stderr);
    std::fflush(stderr);
    SetConsoleMode(entrada, eco ? modo : modo & ~ENABLE_ECHO_INPUT);
    wchar_t buf[256];
    DWORD leidos = 0;
    const bool ok = ReadConsoleW(entrada, buf, 255, &leidos, nullptr);
    SetConsoleMode(entrada, modo);
    if (!eco)
        std::fputs("\n", stderr);
    if (!ok)
        return std::nullopt;
    QString r = QString::fromWCharArray(buf, static_cast<int>(leidos));
    while (r.endsWith(QLatin1Char('\n')) || r.endsWith(QLatin1Char('\r')))
        r.chop(1);
    return r;
#else
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    std::fputs(pregunta.toUtf8().constData(), stderr);
    std::fflush(stderr);
    termios antes{};
    const bool conModo = !eco && tcgetattr(STDIN_FILENO, &antes) == 0;
    if (conModo) {
        termios sinEco = antes;
        sinEco.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &sinEco);
    }
    QByteArray linea;
    char c = 0;
    while (read(STDIN_FILENO, &c, 1) == 1 && c != '\n')
        linea.append(c);
    if (conModo)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &antes);
    if (!eco)
        std::fputs("\n", stderr);
    if (linea.endsWith('\r'))
        linea.chop(1);
    return QString::fromUtf8(linea);
#endif
}

}  // namespace

std::optional<QString> LeeSecretoTerminal(const QString& pregunta) { return LeeLineaTerminal(pregunta, false); }

std::optional<QString> LeeRespuestaTerminal(const QString& pregunta) { return LeeLineaTerminal(pregunta, true); }
