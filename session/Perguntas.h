// SPDX-License-Identifier: GPL-3.0-or-later
// The questions an editing session asks the user, and how it tells them
// what happened.  The session has no windows: whoever runs it gives it an
// answerer.  The program's window gives one that shows the platform's
// dialogs (editor/PerguntasDialogos); tests give the same over a scripted
// dialog layer.
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// What the dialog of "Importar faixas…" shows and what the user chose in
// it.
struct TPedidoFaixas {
  QString Origem;           // the folder or file read
  QStringList Ignorados;    // files passed over, each "name: why"
  QStringList Titulos;      // each track's title, as the user may edit it
  QString Formato;          // a line's format ("{n}. {t} — {d}")
  TFont Fonte;              // every line's font
  int Folha = 3;            // the sheet: 3 Trás (between the spines) or 2 Interior
  QString Album, Artista;   // the album's title and artist (empty: not known)
  // The album's title and artist also on the front cover, and on the spines.
  bool AlbumNaFrente = false, AlbumNasLombadas = false;
  // The lines as they would be placed, for these titles and format.
  std::function<QStringList(const QStringList& titulos, const QString& formato)> Linhas;
};

class TPerguntas {
 public:
  virtual ~TPerguntas() = default;
  // A plain message ("Função ainda não implementada.").
  virtual void Mensagem(const QString& texto) = 0;
  // A warning: how failures the user caused are told.
  virtual void Aviso(const QString& texto) = 0;
  // Yes, No or Cancel ("Ficheiro alterado. Gravar?").
  virtual TModalResult SimNaoCancelar(const QString& texto) = 0;
  // The cover file to open, or nothing when cancelled.
  virtual std::optional<QString> CapaParaAbrir() = 0;
  // The name to save the cover under (a name typed without its extension
  // gets ".lrn", and replacing an existing file is asked about), or
  // nothing when cancelled.  `sugestao`: the file the dialog starts on, or
  // empty.
  virtual std::optional<QString> CapaParaGravar(const QString& sugestao) = 0;
  // A picture file, or nothing when cancelled.
  virtual std::optional<QString> Imagem(const QString& titulo) = 0;
  virtual std::optional<TFont> Fonte(const TFont& inicial) = 0;
  virtual std::optional<TColor> Cor(TColor inicial) = 0;
  // A text of one or more lines (separated by CR LF, as the cover keeps
  // them): what was typed, or `valor` when cancelled.  `verificar` judges
  // what is typed: a text it refuses (it answers why) is told and typed
  // again, never answered.
  virtual QString Texto(const QString& titulo, const QString& pergunta, const QString& valor,
                        const std::function<QString(const QString&)>& verificar) = 0;
  // Where a track list comes from: a folder of audio files, a CUE sheet or
  // a text file; nothing when cancelled.
  virtual std::optional<QString> OrigemFaixas() = 0;
  // The track list shown before it is placed, with its choices; false when
  // cancelled.
  virtual bool Faixas(TPedidoFaixas& pedido) = 0;
};
