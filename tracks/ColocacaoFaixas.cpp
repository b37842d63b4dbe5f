// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracks/ColocacaoFaixas.h"

#include "document/CoverRecord.h"
#include "document/Limites.h"
#include "document/MedidaTexto.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLugarLegenda = kCapacidadeTexto;

int AcimaNaGrelha(int v, int passo) { return passo > 1 ? (v + passo - 1) / passo * passo : v; }

QString Juntar(const QStringList& linhas) { return linhas.join(QStringLiteral("\r\n")); }

TObjecto Texto(const QString& legenda, const TFonteDoc& fonte, int left, int top) {
  TObjecto t = TObjecto::NovoTexto();
  t.Texto = legenda;
  t.Fonte = fonte;
  t.Left = left;
  t.Top = top;
  const QSize s = TamanhoAutomatico(legenda, fonte);
  t.Width = s.width();
  t.Height = s.height();
  return t;
}

}  // namespace

QRect AreaDasFaixas(const TColocacaoFaixas& c) {
  const QRect folha = c.Folha == folhaTras ? LimitesFundo(fundoTrasLombada)
                                           : QRect(QPoint(0, 0), TamanhoFolha(c.Folha));
  const int mx = std::max(8, 2 * c.GrelhaX), my = std::max(8, 2 * c.GrelhaY);
  const int left = AcimaNaGrelha(folha.left() + mx, c.GrelhaX);
  const int top = AcimaNaGrelha(folha.top() + my, c.GrelhaY);
  return QRect(QPoint(left, top), QPoint(folha.right() - mx, folha.bottom() - my));
}

TTextosColocados ColocarFaixas(const QStringList& linhas, const TColocacaoFaixas& c) {
  TTextosColocados r;
  if (linhas.isEmpty()) {
    r.Erro = QStringLiteral("Não há faixas para colocar.");
    return r;
  }
  for (int i = 0; i < linhas.size(); ++i)
    if (ParaWindows1252(linhas[i]).size() > kLugarLegenda) {
      r.Erro = QStringLiteral("A faixa %1 tem mais de %2 caracteres: não cabe num texto da capa.")
                   .arg(i + 1)
                   .arg(kLugarLegenda);
      return r;
    }
  const QRect area = AreaDasFaixas(c);
  // The distance between lines, as a text of several lines has them.
  const double linha = FontMetrics(FonteDeTexto(c.Fonte)).Height() * PixelsPorPonto;
  // How many lines a column holds: as many as the area's height (from the
  // distance between lines, then checked against the measured text).
  auto cabem = [&](int k) {
    return TamanhoAutomatico(Juntar(linhas.mid(0, k)), c.Fonte).height() <= area.height();
  };
  int porColuna = int(std::clamp<qsizetype>(qsizetype(area.height() / linha), 0, linhas.size()));
  while (porColuna > 0 && !cabem(porColuna)) --porColuna;
  while (porColuna < linhas.size() && cabem(porColuna + 1)) ++porColuna;
  if (porColuna == 0) {
    r.Erro = QStringLiteral("Uma linha de letra deste tamanho não cabe na altura da folha.");
    return r;
  }
  // Columns of that many lines, side by side from the area's left; within a
  // column, texts of as many lines as a caption holds, one under another
  // so that the lines keep their distance.
  const int intervalo = std::max(8, 2 * c.GrelhaX);
  int x = area.left();
  int colunas = 0;
  for (int inicio = 0; inicio < linhas.size(); inicio += porColuna, ++colunas) {
    const QStringList coluna = linhas.mid(inicio, porColuna);
    int direita = x;
    int feitas = 0;
    while (feitas < coluna.size()) {
      QStringList texto{coluna[feitas]};
      while (feitas + texto.size() < coluna.size()) {
        QStringList com = texto;
        com << coluna[feitas + texto.size()];
        if (ParaWindows1252(Juntar(com)).size() > kLugarLegenda) break;
        texto = com;
      }
      const int top = area.top() + int(std::lround(feitas * linha));
      const TObjecto t = Texto(Juntar(texto), c.Fonte, x, top);
      r.Textos.push_back(t);
      direita = std::max(direita, t.Left + t.Width);
      feitas += int(texto.size());
    }
    if (direita > area.right() + 1) {
      r.Textos.clear();
      r.Erro = QStringLiteral(
          "A lista de faixas não cabe na folha: são precisas %1 colunas, mais largas do que a folha. "
          "Escolha uma letra mais pequena ou um formato de linha mais curto.")
                   .arg((linhas.size() + porColuna - 1) / porColuna);
      return r;
    }
    x = AcimaNaGrelha(direita + intervalo, c.GrelhaX);
  }
  return r;
}

std::vector<std::pair<int, TObjecto>> TextosDoAlbum(const QString& album, const QString& artista,
                                                    const TFonteDoc& fonte) {
  std::vector<std::pair<int, TObjecto>> out;
  const QSize frente = TamanhoFolha(folhaFrente);
  int top = 40;
  auto centrado = [&](const QString& legenda, TFonteDoc f) {
    f.Tamanho = ClampFontSize(f.Tamanho);
    TObjecto t = Texto(legenda, f, 0, top);
    t.Left = std::max(0, (frente.width() - t.Width) / 2);
    top += t.Height + 8;
    out.emplace_back(folhaFrente, t);
  };
  if (!album.isEmpty()) {
    TFonteDoc f = fonte;
    f.Tamanho = fonte.Tamanho * 2;
    f.Estilo |= fsBold;
    centrado(album, f);
  }
  if (!artista.isEmpty()) {
    TFonteDoc f = fonte;
    f.Tamanho = fonte.Tamanho * 3 / 2;
    centrado(artista, f);
  }
  const QString lombada = !album.isEmpty() && !artista.isEmpty()
                              ? artista + QStringLiteral(" \u2014 ") + album
                              : album + artista;
  if (lombada.isEmpty()) return out;
  // The spines are the strips either side of the back's inlay: the text
  // turned along them, from their top.
  const QRect entre = LimitesFundo(fundoTrasLombada);
  const QSize tras = TamanhoFolha(folhaTras);
  for (int angulo : {90, 270}) {
    TObjecto t = Texto(lombada, fonte, 0, 8);
    std::swap(t.Width, t.Height);
    t.Angulo = angulo;
    t.TamanhoAutomatico = false;
    const int lombadaLeft = angulo == 90 ? 0 : entre.right() + 1;
    const int lombadaWidth = angulo == 90 ? entre.left() : tras.width() - lombadaLeft;
    t.Left = lombadaLeft + std::max(0, (lombadaWidth - t.Width) / 2);
    out.emplace_back(folhaTras, t);
  }
  return out;
}
