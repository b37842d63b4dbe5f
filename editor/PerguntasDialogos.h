// SPDX-License-Identifier: GPL-3.0-or-later
// The editing session's questions (session/Perguntas.h) asked through the
// program's dialog layer (platform/Dialogs): the layer in use when the
// question comes, so that one installed later (a test's scripted layer) is
// the one that answers.
#pragma once

#include "session/Perguntas.h"

class TPerguntasDialogos : public TPerguntas {
 public:
  void Mensagem(const QString& texto) override;
  void Aviso(const QString& texto) override;
  TModalResult SimNaoCancelar(const QString& texto) override;
  // "Abrir Lurn" and "Gravar Lurn", for "Lurns CD (*.lrn)" files.
  std::optional<QString> CapaParaAbrir() override;
  std::optional<QString> CapaParaGravar(const QString& sugestao) override;
  std::optional<QString> Imagem(const QString& titulo) override;
  std::optional<TFont> Fonte(const TFont& inicial) override;
  std::optional<TColor> Cor(TColor inicial) override;
  // The dialog layer's input box of several lines.
  QString Texto(const QString& titulo, const QString& pergunta, const QString& valor,
                const std::function<QString(const QString&)>& verificar) override;
  // An open dialog "Importar faixas" for CUE sheets, text files and audio
  // files (one of a folder's files stands for the folder).
  std::optional<QString> OrigemFaixas() override;
  // The dialog of editor/DialogoFaixas.
  bool Faixas(TPedidoFaixas& pedido) override;
};
