#!/usr/bin/env python3
"""The year's declarations as an outsider reads them, sharing nothing with the
program: the agency's files by position (the 390's positions taken from the
agency's own record design) and the printed declaration through pdftotext.

  lector_declaraciones.py 347 FICHERO.txt
  lector_declaraciones.py 390 FICHERO.txt DISENO.xlsx
  lector_declaraciones.py pdf347 FICHERO.pdf
  lector_declaraciones.py pdf390 FICHERO.pdf

Prints one line per row (key, NIF, total, four quarters) or per box (number,
amount), fields separated by tabs and amounts in the Spanish form, plus the
counts on lines that begin with '#'.
"""
import re
import subprocess
import sys

IMPORTE = r'(-?\d{1,3}(?:\.\d{3})*,\d\d)'


def euros(centimos):
    signo = '-' if centimos < 0 else ''
    enteros, decimales = divmod(abs(centimos), 100)
    return '%s%s,%02d' % (signo, '{:,}'.format(enteros).replace(',', '.'), decimales)


def con_signo(campo):
    """An amount with 'N' for negative in its first character."""
    if campo.strip() == '':
        return 0
    if campo[0] == 'N':
        return -int(campo[1:])
    return int(campo.strip())


def registros(ruta):
    datos = open(ruta, 'rb').read().decode('latin-1')
    lineas = datos.split('\r\n')
    if lineas and lineas[-1] == '':
        lineas.pop()
    return lineas


def lee347(ruta):
    lineas = registros(ruta)
    print('# registros\t%d' % len(lineas))
    for r in lineas:
        if len(r) != 500:
            print('# longitud\t%d' % len(r))
        campo = lambda desde, hasta: r[desde - 1:hasta]  # positions from 1, both ends included
        if r[0] == '1':
            print('# declarados\t%d' % int(campo(136, 144)))
            print('# total\t%s' % euros(con_signo(campo(145, 160))))
        elif r[0] == '2':
            trimestres = [con_signo(campo(d, d + 15)) for d in (136, 168, 200, 232)]
            print('\t'.join([campo(82, 82), campo(18, 26).strip(), euros(con_signo(campo(83, 98)))] +
                            [euros(t) for t in trimestres]))


def diseno390(ruta):
    """Box number -> (page code, start position, length) of every amount box
    (17 characters, signed or not)."""
    import openpyxl
    casillas = {}
    for hoja in openpyxl.load_workbook(ruta, read_only=True).worksheets:
        filas = list(hoja.iter_rows(values_only=True))
        cab = next((i for i, f in enumerate(filas) if f and 'Posic.' in f), None)
        if cab is None:
            continue
        col = {nombre: filas[cab].index(nombre) for nombre in ('Lon', 'Tipo', 'Descripción')}
        pagina, posicion = None, 1
        for f in filas[cab + 1:]:
            lon = f[col['Lon']]
            if not isinstance(lon, int):
                continue
            texto = ' '.join(str(x) for x in f if x is not None)
            m = re.search(r'Constante "(\w{5})"', texto)
            if pagina is None and m and 'gina' in str(f[col['Descripción']]):
                pagina = m.group(1)
            caja = re.search(r'\[(\d+)\]\s*$', str(f[col['Descripción']] or ''))
            if pagina and caja and lon == 17 and str(f[col['Tipo']]).strip() in ('N', 'Num'):
                casillas.setdefault(caja.group(1), (pagina, posicion, lon))
            posicion += lon
    return casillas


def lee390(ruta, diseno):
    datos = open(ruta, 'rb').read().decode('latin-1')
    paginas = {m.group(1): m.start() for m in re.finditer(r'<T390(\w{5})>', datos)}
    print('# paginas\t%s' % ' '.join(paginas))
    for numero, (pagina, posicion, lon) in sorted(diseno390(diseno).items(), key=lambda x: int(x[0])):
        if pagina in paginas:
            inicio = paginas[pagina] + posicion - 1
            print('%s\t%s' % (numero, euros(con_signo(datos[inicio:inicio + lon]))))


def texto_pdf(ruta):
    return subprocess.run(['pdftotext', '-layout', ruta, '-'], check=True, capture_output=True,
                          text=True).stdout.splitlines()


def lee_pdf347(ruta):
    fila = re.compile(r'^\s*([A-G])\s+(\S+)\s.*?' + r'\s+'.join([IMPORTE] * 5) + r'\s*$')
    for linea in texto_pdf(ruta):
        m = fila.match(linea)
        if m:
            print('\t'.join(m.groups()))


def lee_pdf390(ruta):
    fila = re.compile(r'^\s*(\d{2,3})\s+\S.*?\s' + IMPORTE + r'\s*$')
    for linea in texto_pdf(ruta):
        m = fila.match(linea)
        if m:
            print('\t'.join(m.groups()))


if __name__ == '__main__':
    modo = sys.argv[1]
    if modo == '347':
        lee347(sys.argv[2])
    elif modo == '390':
        lee390(sys.argv[2], sys.argv[3])
    elif modo == 'pdf347':
        lee_pdf347(sys.argv[2])
    elif modo == 'pdf390':
        lee_pdf390(sys.argv[2])
    else:
        sys.exit('modo desconocido: ' + modo)
