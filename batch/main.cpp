// SPDX-License-Identifier: GPL-3.0-or-later
// lurns-batch: reads, dumps and writes cover files through the cover
// document, with the program's own reader, writer and text measuring, and
// prints or exports them through the program's own printing commands
// (printing/ImpressaoCapa), without any window: it runs on a
// QGuiApplication (measuring and drawing text needs the fonts) and links
// none of the windowed code, so no widget can be made.
#include "batch/Argumentos.h"
#include "document/FicheiroCapa.h"
#include "document/Registo.h"
#include "document/TiposDeLetra.h"
#include "printing/BuilderControls.h"
#include "printing/ExportacaoCapa.h"
#include "printing/ImpressaoCapa.h"
#include "printing/PaginaCalibracao.h"
#include "report/ppPrnDev.h"
#include "report/ppUtils.h"
#include "tracks/ColocacaoFaixas.h"
#include "tracks/Faixas.h"

#include "LurnsVersion.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

void Imprimir(const QList<TMensagem>& mensagens) {
  QTextStream err(stderr);
  for (const TMensagem& m : mensagens) err << m.Texto << '\n';
}

QString NomeEstilo(TDSShapeFill f) {
  static const char* const nomes[] = {"tfsNone",        "tfsHGradient",    "tfsVGradient", "tfsImageTile",
                                      "tfsImageCenter", "tfsImageStretch", "tfsSolid"};
  const int i = int(f);
  return i >= 0 && i < 7 ? QString::fromLatin1(nomes[i]) : QString::number(i);
}

QJsonObject Objecto(const TObjecto& o) {
  QJsonObject j;
  j["name"] = o.Nome;
  if (o.EhTexto()) {
    j["kind"] = "text";
    j["caption"] = o.Texto;
    j["angle"] = o.Angulo;
    const TFonteDoc& f = o.Fonte;
    j["font"] = QJsonObject{{"name", f.Nome},
                            {"size", f.Tamanho},
                            {"charset", int(f.Charset)},
                            {"colour", qint64(f.Cor)},
                            {"style", int(f.Estilo)}};
  } else {
    j["kind"] = "picture";
    j["file"] = o.Imagem.Ficheiro;
  }
  j["left"] = o.Left;
  j["top"] = o.Top;
  j["width"] = o.Width;
  j["height"] = o.Height;
  return j;
}

QJsonDocument Despejar(const TDocumento& d) {
  QJsonArray folhas;
  for (int n = folhaFrente; n <= folhaCD; ++n) {
    QJsonObject s;
    s["number"] = n;
    s["code"] = CodigoFolha(n);
    s["colour"] = qint64(d.Cor(n));
    switch (n) {
      case folhaFrente: s["picture"] = d.Fundo(fundoFrente).Ficheiro; break;
      case folhaInterior: s["picture"] = d.Fundo(fundoInterior).Ficheiro; break;
      case folhaTras:
        s["picture"] = d.Fundo(fundoTras).Ficheiro;
        s["pictureBetweenSpines"] = d.Fundo(fundoTrasLombada).Ficheiro;
        break;
      case folhaCD:
        s["fillStyle"] = NomeEstilo(d.PreenchimentoDisco());
        s["picture"] = d.Fundo(fundoCD).Ficheiro;
        break;
    }
    QJsonArray objectos;
    for (const TObjecto& o : d.Objectos(n)) objectos.append(Objecto(o));
    s["objects"] = objectos;
    folhas.append(s);
  }
  return QJsonDocument(QJsonObject{{"sheets", folhas}});
}

// Qt's own diagnostics would mix with the program's messages on standard
// error; they are shown only when asked for.
void Diagnostico(QtMsgType type, const QMessageLogContext&, const QString& msg) {
  if (type == QtFatalMsg || qEnvironmentVariableIsSet("LURNS_DEBUG")) QTextStream(stderr) << msg << '\n';
}

// Exports the pages as pictures through the program's exporters; the
// exit status.
int Exportar(const TOrdemImpressao& o, const TDocumento& documento, const TOpcoesCapa& opcoes,
             const TPedidoImpressao& impressao) {
  QTextStream err(stderr);
  TPedidoExportacao pedido;
  pedido.Formato = o.Saida == TOrdemImpressao::Svg ? TFormatoExportacao::Svg : TFormatoExportacao::Png;
  pedido.Destino = o.Destino;
  pedido.Dpi = o.Dpi;
  pedido.Paginas = impressao.Paginas;
  pedido.NomeDocumento = impressao.NomeDocumento;
  TImpressaoCapa capa;
  capa.Preparar(documento, opcoes);
  for (const QString& aviso : capa.ForaDaAreaImprimivel()) err << aviso << '\n';
  const TResultadoExportacao r = ExportarCapa(capa, pedido);
  switch (r.Fim) {
    case TResultadoExportacao::Exportado: break;
    case TResultadoExportacao::Cancelado:
      err << QStringLiteral("A exportação foi cancelada.") << '\n';
      return 1;
    case TResultadoExportacao::Falhou: err << r.Erro << '\n'; return 1;
  }
  if (!r.NaoImpressos.isEmpty()) {
    err << PrintProblemsMessage(r.NaoImpressos) << '\n';
    return 1;
  }
  return 0;
}

// The disc page's paper of a run: the stock asked for, else the settings'
// paper (read, never written); a position asked for on plain A4 is an
// error.
bool PapelDaOrdem(const TOrdemImpressao& o, TOpcoesCapa& opcoes, QString& erro) {
  if (o.Etiqueta) {
    opcoes.Etiqueta = o.Etiqueta;
  } else if (!o.ComMargens) {
    auto registo = AbrirRegisto();
    opcoes.Etiqueta = LerPapelDisco(*registo).Stock();
  }
  if (o.Posicao && !opcoes.Etiqueta) {
    erro = QStringLiteral("--posicao needs a sheet of disc labels (--etiqueta PART, or one chosen in the settings)");
    return false;
  }
  if (o.Posicao) opcoes.Posicao = *o.Posicao;
  // Marks and bleed: asked for, else as the settings have them.
  auto registo = AbrirRegisto();
  opcoes.Marcas = o.Marcas || o.Sangria || LerInteiroRegisto(*registo, "Marcas", 0) != 0;
  opcoes.Sangria = opcoes.Marcas && (o.Sangria || (!o.Marcas && LerInteiroRegisto(*registo, "Sangria", 0) != 0));
  return true;
}

// Prints or exports the cover through the same commands as the program's
// window; the exit status.
int ImprimirCapa(const TOrdemImpressao& o) {
  QTextStream err(stderr);
  PrepararTiposDeLetra();
  const TLeituraCapa lida = LerCapa(o.Capa);
  Imprimir(lida.Mensagens);
  if (!lida.Lido) return 1;  // nothing is written

  TOpcoesCapa opcoes;
  opcoes.ComLombada = o.ComLombada;
  if (o.ComMargens) {
    opcoes.Superior = o.Superior;
    opcoes.Esquerda = o.Esquerda;
  } else {
    // The program's own margins, read and never written.
    auto registo = AbrirRegisto();
    opcoes.Superior = int(std::uint16_t(LerInteiroRegisto(*registo, "Superior", 0)));
    opcoes.Esquerda = int(std::uint16_t(LerInteiroRegisto(*registo, "Esquerda", 0)));
  }
  if (QString erro; !PapelDaOrdem(o, opcoes, erro)) {
    err << "lurns-batch: " << erro << '\n';
    return 2;
  }
  TPedidoImpressao pedido;
  pedido.Paginas = PaginasEscolhidas(o.Paginas);
  pedido.Copias = o.Copias;
  pedido.Ajuste = o.Ajuste;
  pedido.NomeDocumento = QStringLiteral("Lurns para CD - ") + QFileInfo(o.Capa).fileName();
  switch (o.Saida) {
    case TOrdemImpressao::Pdf: pedido.Ficheiro = QFileInfo(o.Destino).absoluteFilePath(); break;
    case TOrdemImpressao::Impressora: {
      pedido.Impressora = ResolverImpressora(o.Destino);
      if (pedido.Impressora.isEmpty()) {
        err << QStringLiteral("A impressora «%1» não está instalada.").arg(o.Destino) << '\n';
        return 1;
      }
      break;
    }
    case TOrdemImpressao::Png:
    case TOrdemImpressao::Svg: return Exportar(o, lida.Documento, opcoes, pedido);
    case TOrdemImpressao::Nenhuma: return 2;
  }

  TImpressaoCapa capa;
  capa.Preparar(lida.Documento, opcoes);
  for (const QString& aviso : capa.ForaDaAreaImprimivel()) err << aviso << '\n';
  try {
    if (!capa.Imprimir(pedido)) {
      err << QStringLiteral("A impressão foi cancelada.") << '\n';
      return 1;
    }
  } catch (const EPrintError& e) {
    err << e.Message << '\n';
    return 1;
  }
  // Printed without some of its objects: not what was asked.
  if (!capa.NaoImpressos().isEmpty()) {
    err << PrintProblemsMessage(capa.NaoImpressos()) << '\n';
    return 1;
  }
  return 0;
}

// --calibracao [--printer NAME | -o OUT.pdf] [--ajuste DX,DY,SX,SY]: the
// printer's calibration page; the exit status.
int Calibracao(const TOrdemImpressao& o) {
  QTextStream err(stderr);
  PrepararTiposDeLetra();
  try {
    const QString ficheiro = o.Saida == TOrdemImpressao::Pdf ? QFileInfo(o.Destino).absoluteFilePath() : QString();
    if (!ImprimirCalibracao(o.Saida == TOrdemImpressao::Impressora ? o.Destino : QString(), ficheiro, o.Ajuste)) {
      err << QStringLiteral("A impressão foi cancelada.") << '\n';
      return 1;
    }
  } catch (const EPrintError& e) {
    err << e.Message << '\n';
    return 1;
  }
  return 0;
}

// --faixas SOURCE [--folha Tras|Interior] --save OUT.lrn FILE.lrn: the
// track list placed on the cover as the window's "Importar faixas" places
// it with its first choices; the exit status.
int Faixas(const TOrdemFaixas& f) {
  QTextStream err(stderr);
  const QString &origem = f.Origem, &saida = f.Saida, &capa = f.Capa;
  TColocacaoFaixas c;
  c.Fonte.Nome = QStringLiteral("Arial");
  c.Fonte.Tamanho = 10;
  c.Fonte.Cor = clBlack;
  c.Folha = f.Folha;
  PrepararTiposDeLetra();
  TLeituraCapa lida = LerCapa(capa);
  Imprimir(lida.Mensagens);
  if (!lida.Lido) return 1;
  const TLeituraFaixas faixas = LerFaixas(origem);
  for (const QString& i : faixas.Ignorados) err << QStringLiteral("Ficheiro ignorado: ") << i << '\n';
  if (!faixas.Lida()) {
    err << faixas.Erro << '\n';
    return 1;
  }
  {
    auto registo = AbrirRegisto();
    c.GrelhaX = int(std::clamp<qint64>(LerInteiroRegisto(*registo, "GrelhaX", 8), 1, 100));
    c.GrelhaY = int(std::clamp<qint64>(LerInteiroRegisto(*registo, "GrelhaY", 8), 1, 100));
  }
  const TTextosColocados colocados =
      ColocarFaixas(LinhasDeFaixas(faixas.Lista, QString::fromUtf8(FormatoFaixaPadrao)), c);
  if (!colocados.Erro.isEmpty()) {
    err << colocados.Erro << '\n';
    return 1;
  }
  for (const TObjecto& t : colocados.Textos) {
    const std::uint64_t id = lida.Documento.Adicionar(c.Folha, t);
    lida.Documento.DefinirNome(id, lida.Documento.NovoNome(QStringLiteral("Texto"), c.Folha));
  }
  const TGravacaoCapa gravada = GravarCapa(lida.Documento, saida);
  Imprimir(gravada.Mensagens);
  return gravada.Fim == TFimGravacao::Gravado ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(Diagnostico);
  // No window is ever shown: run on the offscreen platform when there is
  // no display to talk to.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("lurns-batch"));
  QCoreApplication::setApplicationVersion(QStringLiteral(LURNS_VERSION));
  // The report engine's devices and components this program prints with.
  RegisterDeviceClass<TppPrinterDevice>();
  RegisterBuilderControls();
  // Nothing to keep responsive while pages are made: no window.
  SetProcessMessagesHook({});
  QTextStream out(stdout), err(stderr);
  const TArgumentos a = LerArgumentos(QCoreApplication::arguments().mid(1));
  switch (a.Modo) {
    case TArgumentos::Erro:
      if (!a.Motivo.isEmpty()) err << "lurns-batch: " << a.Motivo << '\n';
      err << TextoDeUso();
      return SaidaUsoErrado;
    case TArgumentos::Ajuda: out << TextoDeUso(); return SaidaBem;
    case TArgumentos::Versao: out << "lurns-batch " << LURNS_VERSION << '\n'; return SaidaBem;
    case TArgumentos::Faixas: return Faixas(a.OrdemFaixas);
    case TArgumentos::Imprimir: return ImprimirCapa(a.Impressao);
    case TArgumentos::Calibracao: return Calibracao(a.Impressao);
    case TArgumentos::Despejar:
    case TArgumentos::Gravar: break;
  }
  PrepararTiposDeLetra();
  const TLeituraCapa lida = LerCapa(a.Capa);
  Imprimir(lida.Mensagens);
  if (!lida.Lido) return SaidaFalhou;
  if (a.Modo == TArgumentos::Despejar) {
    out << Despejar(lida.Documento).toJson(QJsonDocument::Indented);
    return SaidaBem;
  }
  const TGravacaoCapa gravada = GravarCapa(lida.Documento, a.Saida);
  Imprimir(gravada.Mensagens);
  return gravada.Fim == TFimGravacao::Gravado ? SaidaBem : SaidaFalhou;
}
