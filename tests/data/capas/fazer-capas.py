#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the cover files of this folder that the tests read (the *.lrn files
# without ".gravado"), record by record from the file format's table,
# independently of the program's own writer.  Run it in this folder.
import struct, sys, os
def s(b, off, cap, txt):
    if isinstance(txt, str): txt = txt.encode('cp1252')
    txt = txt[:cap]
    b[off] = len(txt); b[off+1:off+1+len(txt)] = txt
def rec(kind, sheet=b'', text=b'', angle=0, l=0, t=0, h=0, w=0, font=b'', cs=0, size=0, colour=0, style=0):
    b = bytearray(572)
    s(b, 0, 10, kind); s(b, 11, 10, sheet); s(b, 22, 255, text)
    struct.pack_into('<iiiii', b, 280, angle, l, t, h, w)
    s(b, 300, 255, font); b[556] = cs
    struct.pack_into('<iI', b, 560, size, colour & 0xFFFFFFFF); b[568] = style
    return bytes(b)
H = rec(b'Lurns CD', text=b'Quelto Sanir')
def shape(code, c=0xFFFFFF): return rec(b'TShape', code, colour=c)
def bg(code, name=b'', l=0, t=0, h=0, w=0): return rec(b'TProImage', code, name, l=l, t=t, h=h, w=w)
def label(code, text, angle=0, l=0, t=0, h=17, w=65, font=b'MS Sans Serif', cs=1, size=8, colour=0x80000008, style=0):
    return rec(b'TProLabel', code, text, angle, l, t, h, w, font, cs, size, colour, style)
def pic(code, name, l, t, h, w): return rec(b'TProImage', code, name, l=l, t=t, h=h, w=w)
def empty_frente(): return shape(b'Frente') + bg(b'FrenteP', b'', 0, 0, 455, 458)
def empty_interior(): return shape(b'Interior') + bg(b'InteriorP', b'', 0, 0, 455, 458)
def empty_tras(): return shape(b'Tras') + bg(b'TrasP', b'', 0, 0, 447, 572) + bg(b'TrasL', b'', 24, 0, 447, 524)
covers = {}
covers['vazia.lrn'] = H + empty_frente() + empty_interior() + empty_tras() + shape(b'CD')
# The worked example of the file format (its picture does not exist here).
covers['exemplo-trabalhado.lrn'] = (H + shape(b'Frente', 0x00FFFF) + bg(b'FrenteP', b'', 0, 0, 455, 458)
   + label(b'Frente', 'Lado A', 0, 40, 30, 29, 62, b'Arial', 0, 18, 0, 1)
   + empty_interior() + empty_tras() + shape(b'CD')
   + pic(b'CD', b'C:\\Imagens\\disco.jpg', 100, 100, 200, 200))
# Texts in every font the program meets, every angle, odd captions.
T = []
fonts = [(b'Arial', 0), (b'Tahoma', 1), (b'MS Sans Serif', 1), (b'Liberation Serif', 0), (b'Fonte Que Nao Existe', 0), (b'Courier New', 0), (b'Symbol', 2)]
caps = ['Lado A', '', '&', 'a&&b &x', 'tab\tdepois', 'linha 1\r\nlinha 2', 'Canções ao pôr do sol — €', 'W' * 60, ' ']
i = 0
for fi, (fn, cs) in enumerate(fonts):
    for ci, cap in enumerate(caps):
        size = [7, 8, 9, 10, 11, 12, 14, 18, 24, 36, 48, 72][(fi + ci) % 12]
        style = (fi * 3 + ci) % 16
        angle = [0, 0, 90, 180, 270, 0, 45, 450, -90, 0, 359][(fi + 2 * ci) % 11]
        code = [b'Frente', b'Interior', b'Tras', b'CD', b'Fxyz', b'Ixx', b'T', b'Cd'][i % 8]
        colour = [0, 0x80000008, 0x00FF8000, 0x800000FF, 0x123456][i % 5]
        T.append(label(code, cap, angle, (i * 37) % 400 - 20, (i * 53) % 420 - 10, 10 + i % 50, 20 + (i * 7) % 200, fn, cs, size, colour, style))
        i += 1
covers['textos.lrn'] = H + b''.join(T)
# Pictures: backgrounds in every slot, objects on every sheet, relative and missing names.
covers['imagens.lrn'] = (H + shape(b'Frente', 0x112233) + bg(b'FrenteP', b'frente.svg', 0, 0, 455, 458)
   + pic(b'Frente', b'disco.png', 10, 20, 100, 50)
   + shape(b'Interior', 0x445566) + bg(b'InteriorP', b'disco.png', 0, 0, 455, 458)
   + pic(b'Interior', b'frente.svg', -5, -6, 30, 40) + pic(b'Interior', b'nao-existe.png', 1, 1, 1, 1)
   + shape(b'Tras', 0x778899) + bg(b'TrasP', b'frente.svg', 0, 0, 447, 572) + bg(b'TrasL', b'disco.png', 24, 0, 447, 524)
   + label(b'Tras', 'lombada', 90, 2, 10, 200, 20, b'Arial', 0, 10, 0, 0)
   + pic(b'Tras', b'disco.png', 300, 10, 60, 60)
   + bg(b'CDP', b'disco.png') + pic(b'CD', b'frente.svg', 100, 100, 200, 200) + pic(b'CD', b'', 0, 0, 5, 5)
   + pic(b'Zzz', b'disco.png', 1, 2, 3, 4) + bg(b'FrenteP', b'/nao/ha/pasta/nenhuma.png'))
# The cover the command-line tests make: a yellow front with a bold text, a turned text on the back, a picture on the disc, a blue disc.
covers['ferramenta.lrn'] = (H + shape(b'Frente', 0x00FFFF) + bg(b'FrenteP', b'', 0, 0, 455, 458)
   + label(b'Frente', 'Lado A — ação', 0, 40, 30, 29, 62, b'Arial', 0, 18, 0, 1)
   + empty_interior() + shape(b'Tras') + bg(b'TrasP', b'', 0, 0, 447, 572) + bg(b'TrasL', b'', 24, 0, 447, 524)
   + label(b'Tras', 'lombada', 90, 2, 10, 200, 20, b'MS Sans Serif', 1, 8, 0x80000008, 0)
   + shape(b'CD', 0xFF0000) + pic(b'CD', b'disco.png', 100, 100, 200, 200))
# Records in an unusual order: objects first, a second header, unknown kinds and codes, colours after pictures, a short last record.
covers['ordem.lrn'] = (rec(b'Outro', text=b'Quelto Sanir')
   + label(b'CD', 'primeiro', 0, 5, 5, 10, 10, b'Arial', 0, 12, 0x0000FF, 2)
   + bg(b'CDP', b'disco.png') + shape(b'CD', 0x00FF00) + bg(b'CDP', b'disco.png')
   + H + rec(b'TShapes', b'Frente', colour=0x123456) + shape(b'Frent', 0x654321) + shape(b'Interior', 0x010203)
   + rec(b'tprolabel', b'Frente', b'minusculas') + label(b'', 'sem folha') + label(b'x', 'folha x')
   + bg(b'TrasL', b'disco.png') + shape(b'Tras', 0xABCDEF)
   + label(b'Interior', 'curto', 0, 7, 8, 9, 10, b'Arial', 0, 10, 0x00C0FFEE, 0)[:566])
for n, b in covers.items():
    open(n, 'wb').write(b)
print(sorted(covers))
