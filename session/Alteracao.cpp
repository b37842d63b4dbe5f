// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Alteracao.h"

#include <QHash>
#include <algorithm>

TAlteracao TAlteracao::Entre(const TDocumento& antes, const TDocumento& depois) {
  TAlteracao a;
  const TDocumento::TFundos fa = antes.Fundos(), fd = depois.Fundos();
  if (!(fa == fd)) a.fundos_.emplace(fa, fd);
  for (int folha = folhaFrente; folha <= folhaCD; ++folha) {
    const std::vector<TObjecto>& b = antes.Objectos(folha);
    const std::vector<TObjecto>& d = depois.Objectos(folha);
    QHash<std::uint64_t, std::size_t> emB, emD;
    for (std::size_t i = 0; i < b.size(); ++i) emB.insert(b[i].Id, i);
    for (std::size_t i = 0; i < d.size(); ++i) emD.insert(d[i].Id, i);
    // The objects in both keep their order in every change the editor
    // makes; should they not, the sheet's whole list is taken out and put
    // back, which is always right.
    std::vector<std::size_t> ficaram;
    for (std::size_t i = 0; i < b.size(); ++i)
      if (emD.contains(b[i].Id)) ficaram.push_back(emD.value(b[i].Id));
    const bool emOrdem = std::is_sorted(ficaram.begin(), ficaram.end());
    for (std::size_t i = 0; i < b.size(); ++i)
      if (!emOrdem || !emD.contains(b[i].Id)) a.sairam_.push_back({folha, i, b[i]});
    for (std::size_t i = 0; i < d.size(); ++i) {
      if (!emOrdem || !emB.contains(d[i].Id)) {
        a.entraram_.push_back({folha, i, d[i]});
        continue;
      }
      const TObjecto& velho = b[emB.value(d[i].Id)];
      if (!MesmoConteudo(velho, d[i])) a.mudancas_.push_back({velho, d[i]});
    }
  }
  return a;
}

bool TAlteracao::Vazia() const { return !fundos_ && sairam_.empty() && entraram_.empty() && mudancas_.empty(); }

bool TAlteracao::SoConteudos() const { return !fundos_ && sairam_.empty() && entraram_.empty(); }

std::vector<std::uint64_t> TAlteracao::Alterados() const {
  std::vector<std::uint64_t> ids;
  for (const TMudanca& m : mudancas_) ids.push_back(m.Depois.Id);
  return ids;
}

void TAlteracao::Juntar(const TAlteracao& depois) {
  for (const TMudanca& m : depois.mudancas_) {
    auto it = std::find_if(mudancas_.begin(), mudancas_.end(),
                           [&](const TMudanca& minha) { return minha.Depois.Id == m.Depois.Id; });
    if (it != mudancas_.end()) it->Depois = m.Depois;
    else mudancas_.push_back(m);
  }
  // Moved away and back again is no change.
  mudancas_.erase(std::remove_if(mudancas_.begin(), mudancas_.end(),
                                 [](const TMudanca& m) { return MesmoConteudo(m.Antes, m.Depois); }),
                  mudancas_.end());
}

void TAlteracao::Aplicar(TDocumento& documento, const std::vector<TLugar>& sairam,
                         const std::vector<TLugar>& entraram, const std::vector<TMudanca>& mudancas,
                         bool paraDepois, const std::optional<TDocumento::TFundos>& fundos) {
  TDocumento::TLote lote(documento);
  for (const TLugar& l : sairam) documento.Apagar(l.Objecto.Id);
  for (const TMudanca& m : mudancas) documento.Repor(paraDepois ? m.Depois : m.Antes);
  // In their order within each sheet: each goes where it was, as the ones
  // before it are there already.
  for (const TLugar& l : entraram) documento.Inserir(l.Folha, l.Posicao, l.Objecto);
  if (fundos) documento.ReporFundos(*fundos);
}

void TAlteracao::Desfazer(TDocumento& documento) const {
  Aplicar(documento, entraram_, sairam_, mudancas_, false,
          fundos_ ? std::optional<TDocumento::TFundos>(fundos_->first) : std::nullopt);
}

void TAlteracao::Refazer(TDocumento& documento) const {
  Aplicar(documento, sairam_, entraram_, mudancas_, true,
          fundos_ ? std::optional<TDocumento::TFundos>(fundos_->second) : std::nullopt);
}
