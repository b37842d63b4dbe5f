#include "editor/PerguntasDialogos.h"

#include "platform/Dialogs.h"

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

QString TPerguntasDialogos::Texto(const QString& titulo, const QString& pergunta, const QString& valor) {
  return Dialogs().InputBox(titulo, pergunta, valor);
}
