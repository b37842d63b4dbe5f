// SPDX-License-Identifier: GPL-3.0-or-later
// What one editing step changed in a cover document, and how to take it
// back or make it again.
//
// A step is recorded as the difference between the document before and
// after it: the backgrounds (when they changed), and for each sheet the
// objects that left it (with their places), the objects that came into it
// (with theirs) and the objects whose content changed (before and after).
// Only that is kept, so a step on a cover of a thousand objects keeps one
// object, not a thousand.  Undoing puts back exactly what was there,
// identities included, so that the editor's controls, which are found by
// the objects' identities, follow as for any other change.
#pragma once

#include "document/Documento.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class TAlteracao {
 public:
  // The difference from `antes` to `depois`.
  static TAlteracao Entre(const TDocumento& antes, const TDocumento& depois);

  // Nothing changed.
  bool Vazia() const;
  // Only objects' contents changed (no object came or went, the
  // backgrounds stayed): such steps can be joined into one.
  bool SoConteudos() const;
  // The identities of the objects whose content changed.
  std::vector<std::uint64_t> Alterados() const;

  // Takes `depois` into this one: the document goes from this step's
  // "before" straight to the later step's "after".  Both must be
  // SoConteudos().
  void Juntar(const TAlteracao& depois);

  // From "after" back to "before", and from "before" to "after".
  void Desfazer(TDocumento& documento) const;
  void Refazer(TDocumento& documento) const;

 private:
  struct TLugar {
    int Folha = 0;
    std::size_t Posicao = 0;
    TObjecto Objecto;
  };
  struct TMudanca {
    TObjecto Antes, Depois;
  };
  // Removes the objects that `sairam` holds, changes the changed ones to
  // their state in `paraDepois`, then puts in `entraram` in their order.
  static void Aplicar(TDocumento& documento, const std::vector<TLugar>& sairam,
                      const std::vector<TLugar>& entraram, const std::vector<TMudanca>& mudancas,
                      bool paraDepois, const std::optional<TDocumento::TFundos>& fundos);

  std::optional<std::pair<TDocumento::TFundos, TDocumento::TFundos>> fundos_;
  std::vector<TLugar> sairam_;    // places in the document before
  std::vector<TLugar> entraram_;  // places in the document after
  std::vector<TMudanca> mudancas_;
};
