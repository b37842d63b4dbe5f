// SPDX-License-Identifier: GPL-3.0-or-later
// Reaching the main window's controls in tests by their component names, as
// a person finds them on the screen: the window keeps its controls to
// itself, and its commands are the session's (TfrmLurn::Sessao).
#pragma once

#include "components/Handles.h"
#include "editor/uLurn.h"
#include "platform/Controls.h"

#include <QAction>
#include <QString>
#include <gtest/gtest.h>

// The control or menu entry of that name; a test fails when there is none.
template <class T = QWidget>
T* Peca(const TfrmLurn& janela, const char* nome) {
  T* p = janela.findChild<T*>(QString::fromLatin1(nome));
  EXPECT_NE(p, nullptr) << "the window has no " << nome;
  return p;
}

inline QAction* Accao(const TfrmLurn& janela, const char* nome) { return Peca<QAction>(janela, nome); }

// Triggers a menu entry (or pop-up menu entry) as a click on it does.
inline void Escolher(const TfrmLurn& janela, const char* nome) {
  QAction* a = Accao(janela, nome);
  ASSERT_TRUE(a);
  a->trigger();
}

inline TStretchHandle* Pega(const TfrmLurn& janela) { return Peca<TStretchHandle>(janela, "StretchHandle1"); }

// The control the stretch handle holds, or nullptr.
inline QWidget* Seleccionado(const TfrmLurn& janela) {
  TStretchHandle* h = Pega(janela);
  return h && h->IsAttached() ? h->Children(0) : nullptr;
}

// The panel of a sheet (1..4).
inline TPanel* PainelFolha(const TfrmLurn& janela, int folha) {
  static const char* const nomes[] = {"painelFrente", "painelInterior", "painelTras", "painelCD"};
  return Peca<TPanel>(janela, nomes[folha - 1]);
}

// The objects' controls of a sheet, in the document's order.
inline int Controlos(const TfrmLurn& janela, int folha) {
  TPanel* p = PainelFolha(janela, folha);
  return p ? p->Owned.ComponentCount() : -1;
}

// The identity of the object a control shows (0 for none).
inline std::uint64_t IdDe(const QWidget* controlo) {
  return controlo ? controlo->property("IdObjecto").toULongLong() : 0;
}
