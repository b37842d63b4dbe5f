// Copy and paste of cover objects through the system clipboard, in the
// program's own format (document/ObjectStream).
#include "components/Handles.h"
#include "document/ObjectStream.h"
#include "editor/uLurn.h"
#include "platform/Dialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void TfrmLurn::menuEditarCopiarClick() {
  const TObjecto* o = ObjectoSeleccionado();
  if (!o) return;
  // The copy carries no name (the stream never holds one): the paste names
  // it for its own sheet.
  // A relative picture name is one of this document's picture folder: the
  // copy carries the full name, as it may be pasted into another cover.
  TObjecto copia = *o;
  copia.Imagem.Ficheiro = documento_.CaminhoImagem(o->Imagem.Ficheiro);
  QString erro;
  const QByteArray bytes = WriteObject(copia, &erro);
  if (bytes.isEmpty()) {
    // Nothing goes to the clipboard, and "Colar" stays as it was: what the
    // clipboard held before (if anything) is still what it pastes.
    Dialogs().Warning(erro);
    return;
  }
  nadaCopiado = false;
  auto* dados = new QMimeData;
  dados->setData(QString::fromLatin1(ObjectMimeType), bytes);
  QGuiApplication::clipboard()->setMimeData(dados);
}

void TfrmLurn::menuEditarColarClick() {
  if (nadaCopiado) return;
  if (StretchHandle1->IsAttached()) StretchHandle1->Detach();
  const QMimeData* dados = QGuiApplication::clipboard()->mimeData();
  const QString formato = QString::fromLatin1(ObjectMimeType);
  // Another program may have put something else there since the copy.
  if (!dados || !dados->hasFormat(formato)) return;
  QString erro;
  std::optional<TObjecto> objecto = ReadObject(dados->data(formato), &erro);
  if (!objecto) {
    Dialogs().Warning(erro);
    return;
  }
  // Named by what was really read: the clipboard may hold an object that
  // another copy of the program put there.  It goes last on the sheet, so
  // it is drawn above the others.
  const int folha = FolhaActual();
  const QString prefixo = objecto->EhTexto() ? QStringLiteral("Texto") : QStringLiteral("Imagem");
  TDocumento::TLote lote(documento_);
  const std::uint64_t id = documento_.Adicionar(folha, std::move(*objecto));
  documento_.DefinirNome(id, NovoNome(prefixo, folha));
}
