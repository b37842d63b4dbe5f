// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/PerguntasDialogos.h"

#include "editor/DialogoFaixas.h"
#include "platform/Dialogs.h"
#include "tracks/Faixas.h"

#include <QApplication>

#include <QFileInfo>

void TPerguntasDialogos::Mensagem(const QString& texto) { Dialogs().ShowMessage(texto); }

void TPerguntasDialogos::Aviso(const QString& texto) { Dialogs().Warning(texto); }

TModalResult TPerguntasDialogos::SimNaoCancelar(const QString& texto) { return Dialogs().ConfirmYesNoCancel(texto); }

std::optional<QString> TPerguntasDialogos::CapaParaAbrir() {
  const TFileDialogSpec pedido{QStringLiteral("Abrir Lurn"), QStringLiteral("Lurns CD (*.lrn)|*.lrn"),
                               QStringLiteral("(Lurns CD) *.LRN"), false, {}, {}};
  return Dialogs().OpenFile(pedido);
}

std::optional<QString> TPerguntasDialogos::CapaParaGravar(const QString& sugestao) {
  TFileDialogSpec pedido{QStringLiteral("Gravar Lurn"), QStringLiteral("Lurns CD (*.lrn)|*.lrn"),
                         QStringLiteral("*.lrn"), true, {}, {}};
  if (!sugestao.isEmpty()) {
    const QFileInfo f(sugestao);
    pedido.InitialDir = f.absolutePath();
    pedido.FileName = f.absoluteFilePath();
  }
  return Dialogs().SaveFile(pedido);
}

std::optional<QString> TPerguntasDialogos::Imagem(const QString& titulo) { return Dialogs().OpenPicture(titulo); }

std::optional<TFont> TPerguntasDialogos::Fonte(const TFont& inicial) { return Dialogs().ChooseFont(inicial); }

std::optional<TColor> TPerguntasDialogos::Cor(TColor inicial) { return Dialogs().ChooseColor(inicial); }

QString TPerguntasDialogos::Texto(const QString& titulo, const QString& pergunta, const QString& valor,
                                  const std::function<QString(const QString&)>& verificar) {
  return Dialogs().InputBox(titulo, pergunta, valor, verificar);
}

std::optional<QString> TPerguntasDialogos::OrigemFaixas() {
  QStringList audio;
  for (const QString& e : ExtensoesAudio()) audio << QStringLiteral("*.") + e;
  const QString musica = audio.join(QLatin1Char(';'));
  const QString mostrar = audio.join(QLatin1Char(' '));
  const TFileDialogSpec pedido{
      QStringLiteral("Importar faixas: uma folha CUE, uma lista de texto ou uma música da pasta do álbum"),
      QStringLiteral("Faixas (*.cue *.txt %2)|*.cue;*.txt;%1|Folhas CUE (*.cue)|*.cue|Listas de texto (*.txt)|*.txt|"
                     "Música: a pasta do ficheiro (%2)|%1|Todos os ficheiros (*)|*")
          .arg(musica, mostrar),
      QString(), false, {}, {}};
  return Dialogs().OpenFile(pedido);
}

bool TPerguntasDialogos::Faixas(TPedidoFaixas& pedido) {
  TDialogoFaixas dlg(pedido, QApplication::activeWindow());
  if (dlg.exec() != QDialog::Accepted) return false;
  pedido = dlg.Pedido();
  return true;
}
