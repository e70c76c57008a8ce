// Linked into every test program: a run asked for under a locale the machine
// lacks would silently fall back to "C" and prove nothing, so it fails at once.
#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {
struct CompruebaLocale {
    CompruebaLocale() {
        const char* pedido = std::getenv("LC_ALL");
        if (!pedido || !*pedido)
            pedido = std::getenv("LANG");
        if (pedido && *pedido && !std::setlocale(LC_ALL, "")) {
            std::fprintf(stderr, "La configuración regional %s no está instalada en este equipo.\n", pedido);
            std::exit(1);
        }
    }
} compruebaLocale;
}  // namespace
