// The questions an editing session asks the user, and how it tells them
// what happened.  The session has no windows: whoever runs it gives it an
// answerer.  The program's window gives one that shows the platform's
// dialogs (editor/PerguntasDialogos); tests give the same over a scripted
// dialog layer.
#pragma once

#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QString>
#include <optional>

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
  // A line of text: what was typed, or `valor` when cancelled.
  virtual QString Texto(const QString& titulo, const QString& pergunta, const QString& valor) = 0;
};
