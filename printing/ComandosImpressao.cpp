// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ComandosImpressao.h"

#include "platform/ScopedFlag.h"
#include "document/Registo.h"
#include "printing/DialogoCalibracao.h"
#include "printing/PaginaCalibracao.h"

#include "report/ppPrintr.h"
#include "report/ppPrnDev.h"
#include "report/ppUtils.h"

#include <QWidget>
#include <algorithm>

namespace {

// The window takes no input for a scope: what the user clicks or types
// meanwhile is dropped, never run once the print is over.
class TJanelaInactiva {
 public:
  explicit TJanelaInactiva(QWidget* w) : w_(w), enabled_(w && w->isEnabled()) {
    if (w_) w_->setEnabled(false);
  }
  ~TJanelaInactiva() {
    if (w_) w_->setEnabled(enabled_);
  }
  TJanelaInactiva(const TJanelaInactiva&) = delete;
  TJanelaInactiva& operator=(const TJanelaInactiva&) = delete;

 private:
  QPointer<QWidget> w_;
  bool enabled_;
};

// The printer's own name for "Default" (what the dialogs show).
QString NomeVisivel(const QString& nome) {
  return nome == QLatin1String("Default") ? PrinterList()->DefaultPrinterName() : nome;
}

QStringList PapeisDe(const QString& printer) {
  QStringList out;
  if (TppPrinterInfo* info = PrinterList()->FindPrinterInfo(printer)) {
    const TppPrinterCapabilities* caps = info->Capabilities();
    for (int i = 0; i < caps->PaperNames.size(); ++i)
      if (caps->PaperNumbers.value(i) != QString::number(DMPAPER_USER)) out << caps->PaperNames[i];
  }
  return out;
}

QStringList TabuleirosDe(const QString& printer) {
  if (TppPrinterInfo* info = PrinterList()->FindPrinterInfo(printer)) return info->Capabilities()->BinNames;
  return {};
}

// The printer's name for A4 (paper code 9), the cover's own paper.
QString A4De(const QString& printer) {
  if (TppPrinterInfo* info = PrinterList()->FindPrinterInfo(printer)) {
    const TppPrinterCapabilities* caps = info->Capabilities();
    const int i = caps->PaperNumbers.indexOf(QStringLiteral("9"));
    if (i >= 0) return caps->PaperNames.value(i);
  }
  return QString();
}

}  // namespace

std::vector<int> PaginasDoDialogo(TPrintDialogSpec::Range range, int de, int ate, int folhaActual) {
  TEscolhaPaginas escolha;
  escolha.Tipo = range == TPrintDialogSpec::prSelection  ? TEscolhaPaginas::Seleccao
                 : range == TPrintDialogSpec::prPageNums ? TEscolhaPaginas::Intervalo
                                                         : TEscolhaPaginas::Todas;
  escolha.De = de;
  escolha.Ate = ate;
  escolha.Folha = folhaActual;
  return PaginasEscolhidas(escolha);
}

TComandosImpressao::TComandosImpressao(QWidget* janela) : janela_(janela) {
  ultimo_.MinPage = 1;
  ultimo_.MaxPage = NumeroPaginas;
  ultimo_.FromPage = 1;
  ultimo_.ToPage = NumeroPaginas;
  ultimo_.AllowPageNums = true;
  ultimo_.AllowSelection = true;
  ultimo_.PrintRange = TPrintDialogSpec::prAllPages;
  ultimo_.Copies = 1;
  ultimo_.Collate = false;
}

void TComandosImpressao::Imprimir(const TDocumento& documento, int folhaActual,
                                  const TOpcoesCapa& opcoes, const QString& nomeDocumento) {
  if (Ocupado()) return;
  const TScopedFlag emCurso(emCurso_);
  capa_.Preparar(documento, opcoes);
  const QStringList fora = capa_.ForaDaAreaImprimivel();
  if (!fora.isEmpty()) Dialogs().Warning(fora.join(QLatin1Char('\n')));

  TPrintDialogSpec dialogo = ultimo_;
  dialogo.PrinterName = NomeVisivel(ResolverImpressora(ImpressoraActual().Nome));
  dialogo.OutputFileName.clear();
  // The paper the print is on, which the printer's properties may change.
  const QString papel =
      ImpressoraActual().Papel.isEmpty() ? A4De(dialogo.PrinterName) : ImpressoraActual().Papel;
  dialogo.PaperName = papel;
  dialogo.DiscPosition = opcoes.Etiqueta ? int(ultimaPosicao_) : 0;
  dialogo.Marks = opcoes.Marcas ? 1 : 0;
  if (!Dialogs().Print(dialogo)) return;
  EscolherPapel(documento, opcoes, dialogo);
  ultimo_.PrintRange = dialogo.PrintRange;
  ultimo_.FromPage = dialogo.FromPage;
  ultimo_.ToPage = dialogo.ToPage;
  ultimo_.Copies = dialogo.Copies;
  ultimo_.Collate = dialogo.Collate;

  TPedidoImpressao pedido;
  pedido.Paginas = PaginasDoDialogo(dialogo.PrintRange, dialogo.FromPage, dialogo.ToPage, folhaActual);
  if (pedido.Paginas.empty()) {
    Dialogs().Warning(EngineMessage(msgNoPagesChosen));
    return;
  }
  // Only the odd or the even pages of the range, and the last first, as
  // the dialog says.  (None left is the print's own error.)
  if (dialogo.Set != TPrintDialogSpec::setAll) {
    const int resto = dialogo.Set == TPrintDialogSpec::setOdd ? 1 : 0;
    std::erase_if(pedido.Paginas, [resto](int p) { return p % 2 != resto; });
  }
  if (dialogo.Reverse) std::reverse(pedido.Paginas.begin(), pedido.Paginas.end());
  pedido.Copias = std::max(1, dialogo.Copies);
  pedido.Agrupar = dialogo.Collate;
  pedido.NomeDocumento = nomeDocumento;
  if (!dialogo.OutputFileName.isEmpty()) {
    pedido.Ficheiro = dialogo.OutputFileName;
  } else {
    if (dialogo.PrinterName.isEmpty()) {
      Dialogs().Warning(QStringLiteral("Não foi escolhida nenhuma impressora nem nenhum ficheiro."));
      return;
    }
    // The printer chosen, as the system knows it now; never another one
    // in its place.
    const QString nome = ResolverImpressora(dialogo.PrinterName);
    if (nome.isEmpty()) {
      Dialogs().Warning(QStringLiteral("A impressora «%1» não está instalada.").arg(dialogo.PrinterName));
      return;
    }
    TImpressora& actual = ImpressoraActual();
    if (NomeVisivel(nome) != NomeVisivel(actual.Nome)) actual.Nome = nome;
    // A paper chosen in the printer's properties is the printer's, as in
    // printer setup: the cover's own A4 needs no choice.
    if (dialogo.PaperName != papel)
      actual.Papel = dialogo.PaperName == A4De(dialogo.PrinterName) ? QString() : dialogo.PaperName;
    pedido.Impressora = nome;
    pedido.Papel = actual.Papel;
    pedido.Tabuleiro = actual.Tabuleiro;
    pedido.FrenteVerso = dialogo.Duplex;
    pedido.Cores = dialogo.Color;
    pedido.OpcoesFila = dialogo.QueueOptions;
  }
  QString erro;
  {
    const TJanelaInactiva inactiva(janela_);
    try {
      // What did not print is told once the job is out.
      if (capa_.Imprimir(pedido) && !capa_.NaoImpressos().isEmpty())
        erro = PrintProblemsMessage(capa_.NaoImpressos());
    } catch (const EPrintError& e) {
      erro = e.Message;
    } catch (const Exception& e) {
      erro = EPrintError(e.Message).Message;
    }
  }
  // Said once the window takes input again.
  if (!erro.isEmpty()) Dialogs().Warning(erro);
}

void TComandosImpressao::EscolherPapel(const TDocumento& documento, const TOpcoesCapa& opcoes,
                                       const TPrintDialogSpec& dialogo) {
  TOpcoesCapa escolhidas = opcoes;
  if (opcoes.Etiqueta && dialogo.DiscPosition >= 1 && dialogo.DiscPosition <= 3) {
    ultimaPosicao_ = TPosicaoDisco(dialogo.DiscPosition);
    escolhidas.Posicao = ultimaPosicao_;
  }
  if (dialogo.Marks >= 0) {
    escolhidas.Marcas = dialogo.Marks > 0;
    escolhidas.Sangria = escolhidas.Marcas && opcoes.Sangria;
  }
  // The reports again only when the dialog changed what they hold.
  if (escolhidas.Posicao != opcoes.Posicao || escolhidas.Marcas != opcoes.Marcas ||
      escolhidas.Sangria != opcoes.Sangria)
    capa_.Preparar(documento, escolhidas);
}

void TComandosImpressao::Prever(const TDocumento& documento, int folhaActual, const TOpcoesCapa& opcoes,
                                const QString& nomeDocumento) {
  if (Ocupado()) return;
  const TScopedFlag emCurso(emCurso_);
  capa_.Preparar(documento, opcoes);
  if (!TImpressaoCapa::PrevisaoDisponivel()) {
    Dialogs().ShowMessage(
        QStringLiteral("A previsão da impressão não está disponível nesta versão do programa: "
                       "imprima para um ficheiro PDF para ver as páginas."));
    return;
  }
  try {
    capa_.Prever(folhaActual, nomeDocumento);
  } catch (const EPrintError& e) {
    Dialogs().Warning(e.Message);
  }
}

void TComandosImpressao::ConfigurarImpressora() {
  if (Ocupado()) return;
  const TScopedFlag emCurso(emCurso_);
  ResetPrinterList();
  TppPrinterList* list = PrinterList();
  TPrinterSetupSpec dialogo;
  for (int i = 0; i < list->Count(); ++i)
    if (list->Names(i) != QLatin1String("Default")) dialogo.Printers << list->Names(i);
  if (dialogo.Printers.isEmpty()) {
    Dialogs().Warning(EngineMessage(msgNoPrintersInstalled));
    return;
  }
  TImpressora& actual = ImpressoraActual();
  const QString resolvida = ResolverImpressora(actual.Nome);
  dialogo.PrinterName = NomeVisivel(resolvida.isEmpty() ? QStringLiteral("Default") : resolvida);
  dialogo.Papers = PapeisDe;
  dialogo.Bins = TabuleirosDe;
  dialogo.PaperName = actual.Papel.isEmpty() ? A4De(dialogo.PrinterName) : actual.Papel;
  dialogo.BinName = actual.Tabuleiro.isEmpty() ? QStringLiteral("Default") : actual.Tabuleiro;
  dialogo.Calibrate = [this](const QString& impressora) { Calibrar(impressora); };
  if (!Dialogs().PrinterSetup(dialogo)) return;
  actual.Nome = dialogo.PrinterName;
  // The cover's own paper needs no choice: A4 is what it is designed on.
  actual.Papel = dialogo.PaperName == A4De(dialogo.PrinterName) ? QString() : dialogo.PaperName;
  actual.Tabuleiro = dialogo.BinName == QLatin1String("Default") ? QString() : dialogo.BinName;
}

void TComandosImpressao::Calibrar(const QString& impressora) {
  const QString fila = ResolverImpressora(impressora);
  if (fila.isEmpty()) {
    Dialogs().Warning(QStringLiteral("A impressora «%1» não está instalada.").arg(impressora));
    return;
  }
  const QString nome = PrinterList()->ResolveName(fila);
  std::optional<TPrinterCalibration> actual;
  {
    auto registo = AbrirRegisto();
    actual = LerCalibracao(*registo, nome);
  }
  TDialogoCalibracao dialogo(nome, actual.value_or(TPrinterCalibration()), janela_);
  dialogo.Imprimir = [nome](const TPrinterCalibration& c) {
    try {
      ImprimirCalibracao(nome, QString(), c);
    } catch (const EPrintError& e) {
      Dialogs().Warning(e.Message);
    }
  };
  if (dialogo.exec() != QDialog::Accepted) return;
  auto registo = AbrirRegisto();
  GravarCalibracao(*registo, nome, dialogo.Valores());
}
