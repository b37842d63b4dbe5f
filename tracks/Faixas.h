// SPDX-License-Identifier: GPL-3.0-or-later
// A CD's track list, read from the music itself: a folder of audio files
// (their tags and lengths, read with TagLib), a CUE sheet, or a plain text
// file of one track a line.  Nothing here knows of covers or windows; the
// list is placed on a sheet by ColocacaoFaixas.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

struct TFaixa {
  int Disco = 0;         // 0: not known
  int Numero = 0;        // 0: not known
  QString Titulo;
  QString Artista;
  qint64 DuracaoMs = -1;  // -1: not known
  QString Ficheiro;      // the audio file it comes from, when it does
};

struct TListaFaixas {
  QString Album;    // empty: not known
  QString Artista;  // the album's artist; empty: not known
  std::vector<TFaixa> Faixas;
};

// What reading a source gave: the list, the files passed over (each "name:
// why"), and, when nothing could be read, why (the list is then empty).
struct TLeituraFaixas {
  TListaFaixas Lista;
  QStringList Ignorados;
  QString Erro;
  bool Lida() const { return Erro.isEmpty(); }
};

// The audio files read: FLAC, Ogg Vorbis, Opus, MP3, M4A and WAV.
QStringList ExtensoesAudio();

// A folder of audio files: each file's title, artist, disc and track
// numbers and length from its tags (a file without a title is named by
// its file name); files that cannot be read, or hold no sound, are passed
// over and listed.  The tracks in order of disc (the first when a file
// does not say) and track number (those without one last), then file
// name; the album and its artist from the tags, when most files agree.
TLeituraFaixas LerPastaAudio(const QString& pasta);
// A CUE sheet: TITLE and PERFORMER of the disc and of each TRACK, the
// tracks' starts from INDEX 01; each track lasts until the next one in
// the same file starts, the last one of a file until that file ends (when
// the file is there to be measured).  An error names its line.
TLeituraFaixas LerCue(const QString& ficheiro);
// A text file, one track a line (blank lines skipped); a line may start
// with its number ("1.", "01 -", "3)") and end with its length ("3:45").
TLeituraFaixas LerListaTexto(const QString& ficheiro);
// Any of the three: a folder, a ".cue" file, or a text file.
TLeituraFaixas LerFaixas(const QString& origem);

// Text read from a file: UTF-8 (a byte-order mark skipped) when it is
// valid UTF-8, otherwise Windows-1252.
QString TextoDeBytes(const QByteArray& bytes);

// How a track is written on the cover: "{n}" its number, "{t}" its
// title, "{a}" its artist, "{d}" its length as m:ss (h:mm:ss from an hour
// on).  A field that is not known is left out with the text before it
// (so "{n}. {t} — {d}" of a track of unknown length is "1. Título").
extern const char* const FormatoFaixaPadrao;
QString LinhaDeFaixa(const TFaixa& faixa, const QString& formato);
QString Duracao(qint64 ms);
// Every track's line; a track without a number gets its place in the list.
QStringList LinhasDeFaixas(const TListaFaixas& lista, const QString& formato);
