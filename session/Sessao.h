// SPDX-License-Identifier: GPL-3.0-or-later
// The editing session: one cover being edited, without any window.
//
// It holds the cover document, the file it belongs to and whether that file
// holds what is shown (the "changed" lamp), the recent-file list, the sheet
// being edited and the selected object, and it carries out every command
// that changes them: the file commands (Novo, Abrir, Gravar, Gravar Como,
// a recent file, a cover named on the command line or handed over by
// another copy), the object and background commands, moves and resizes,
// and copy, cut and paste.  Commands that need an answer ask it through
// the TPerguntas they were given.
//
// Every change of the document is one step of the history (a QUndoStack):
// Desfazer takes back the last step, Refazer makes it again.  A command
// that changes nothing (cancelled, or setting what is already there) or
// fails leaves no step.  A drag or resize is one step; a run of arrow-key
// nudges of one object is one step too.  Novo and Abrir begin an empty
// history; the document counts as saved while the history is at the step
// that was last written to the file.  The history holds the document only:
// settings, the recent-file list and the clipboard are never undone.
//
// The program's window is a view of a session: its menus, buttons, keys and
// mouse call the commands below, and its controls follow the signals.
//
// Adding a command.  Make the change inside one TPasso (or through Alterar):
// whatever the document does while the step is open is one step of the
// history under the step's name, taken back as a whole.  A command made of
// other commands opens its own TPasso around them: steps opened inside
// another join it, so "place these texts" or "cut" stay one step.  A step
// in which nothing changed leaves nothing.
//
//     void TSessao::InserirTextos(const QStringList& textos) {
//       TPasso passo(*this, QStringLiteral("Inserir textos"));
//       for (const QString& t : textos) { ... passo->Adicionar(Folha(), ...); ... }
//     }
//
// Add the step's name to NomesPassos() so that the window shows it in both
// languages ("Desfazer Inserir textos").
#pragma once

#include "document/Documento.h"
#include "session/Perguntas.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUndoStack>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class TAlteracao;
struct TMensagem;

// The alignments of "Alinhar Esquerda", "Centrar" and "Alinhar Direita".
enum class TAlinhamento { Esquerda, Centro, Direita };

class TSessao : public QObject {
  Q_OBJECT
 public:
  explicit TSessao(TPerguntas& perguntas, QObject* parent = nullptr);
  ~TSessao() override;

  // ---- What is being edited -------------------------------------------
  const TDocumento& Documento() const { return documento_; }
  // The current file: where Gravar writes without asking (empty for a
  // cover that has none yet).
  const QString& NomeFicheiro() const { return nomeFicheiro_; }
  // A cover read without becoming the current file (named on the command
  // line, handed over by another copy, or damaged): the file the save
  // dialog of the next Gravar starts on.
  const QString& FicheiroOrigem() const { return ficheiroOrigem_; }
  // The file holds what is shown: nothing would be lost by closing.
  bool Gravado() const { return historia_.isClean(); }
  // The last save failed.
  bool ErroGravacao() const { return erroGravacao_; }
  // The sheet commands work on (1..4) and the selected object (0: none).
  int Folha() const { return folha_; }
  std::uint64_t Seleccionado() const { return seleccionado_; }
  const TObjecto* ObjectoSeleccionado() const { return documento_.Objecto(seleccionado_); }
  // The clipboard holds a cover object (copied here, or by another copy of
  // the program), so Colar has something to paste.
  bool PodeColar() const;
  // The recent cover files, the newest first.
  QStringList Recentes() const;

  // ---- How the session works -----------------------------------------
  // Whether reading and saving put the file at the head of the recent list
  // (off for tests and benchmarks that must not touch the user's list).
  void UsarRecentes(bool usar) { usarRecentes_ = usar; }
  // Asked before the document is replaced or the program closes: while it
  // answers true (a print is running), nothing replaces the document.
  void DefinirOcupado(std::function<bool()> ocupado) { ocupado_ = std::move(ocupado); }
  void MudarFolha(int folha);
  // The grid the view snaps to (8 x 8 with snapping off): a copy pasted
  // over its original goes one step of it right and down, and imported
  // track lists go on it.
  void DefinirGrelha(QSize grelha) { grelha_ = grelha.isValid() && !grelha.isEmpty() ? grelha : QSize(8, 8); }
  QSize Grelha() const { return grelha_; }
  void Seleccionar(std::uint64_t id);

  // ---- File commands --------------------------------------------------
  // Each asks "Ficheiro alterado. Gravar?" first when the document is not
  // saved, and does nothing when that is cancelled (or its save fails).
  void Novo();
  void Abrir();                                   // the open dialog
  void AbrirRecente(const QString& nome);         // an entry of the recent list
  void AbrirEntregue(const QString& nome);        // handed over by another copy
  // The current file, or the save dialog when there is none.  True when
  // the cover was written.
  bool Gravar();
  bool GravarComo();
  // True when the program may close.
  bool PodeFechar();
  // Without any question: reads a cover as the current file (a file that
  // could not be read whole does not become it, and what of it is shown
  // counts as not saved); true when it was read whole.
  bool AbrirFicheiro(const QString& nome);
  // Reads a cover without making it the current file (the command line).
  bool AbrirSemNome(const QString& nome);
  // Writes the cover under a name without making it the current file (it
  // puts it at the head of the recent list).  True when written.
  bool GravarFicheiro(const QString& nome);

  // ---- Editing commands -----------------------------------------------
  // On the current sheet.
  void InserirTexto();
  void InserirImagem();
  void ImagemDeFundo();
  void CorDeFundo();  // on the disc's sheet the disc's colour
  void LimparImagemDeFundo();
  // The clipboard's object, selected; over an object like it on the same
  // sheet one grid step right and down (see DefinirGrelha).
  void Colar();
  // On the selected object; nothing without one.
  void EditarTexto();     // a text's caption
  void AlterarImagem();   // a picture object's picture
  void EditarObjecto();   // either, by the kind of the object
  void AlterarFonte();    // a text's font and colour
  void Alinhar(TAlinhamento alinhamento);
  void Rodar(bool esquerda);
  void Apagar();
  void Copiar();
  void Cortar();
  // "Importar faixas…": a track list read from a folder of audio files, a
  // CUE sheet or a text file, shown in its dialog and placed as texts of
  // several lines in columns on the grid (on Trás between the spines, or
  // on Interior), with the album's title and artist on the front and the
  // spines when chosen: one step.  A source that gives nothing, or a list
  // that does not fit, is told and changes nothing.
  void ImportarFaixas();
  // Moves the selected object by a few pixels (the arrow keys): a run of
  // them on one object is one step.
  void Deslocar(int dx, int dy);
  // The end of a drag or resize of an object: its new bounds ("Mover" or
  // "Redimensionar").  A text that sizes itself takes the place only.
  void MoverPara(std::uint64_t id, const QRect& limites);

  // Why a caption cannot be a text's (empty, or longer than the cover
  // file's field holds, which is told with how many characters fit), or
  // an empty string.
  static QString VerificarTexto(const QString& texto);

  // ---- Any change as one step -----------------------------------------
  // While a TPasso lives, the changes made to the document through it are
  // one step named `nome`.  Steps opened while another is open join it.
  class TPasso {
   public:
    TPasso(TSessao& sessao, const QString& nome);
    ~TPasso();
    TPasso(const TPasso&) = delete;
    TPasso& operator=(const TPasso&) = delete;
    TDocumento& operator*() { return sessao_.documento_; }
    TDocumento* operator->() { return &sessao_.documento_; }
    // The name, when only the change itself tells it (a drag that resized).
    void Nome(const QString& nome);

   private:
    friend class TSessao;
    TSessao& sessao_;
  };
  // `alterar` run as one step.  True when it changed the document (inside
  // another step, always true: the outer step decides).
  bool Alterar(const QString& nome, const std::function<void(TDocumento&)>& alterar);

  // ---- The history ----------------------------------------------------
  void Desfazer();
  void Refazer();
  // For a view: canUndo, undoText and cleanChanged and the rest.
  const QUndoStack& Historia() const { return historia_; }
  // The names of every step the session makes, as they stand in the
  // history ("Mover", "Apagar", ...), for the views' translations.
  static const QList<const char*>& NomesPassos();

 signals:
  // The document changed (a command, undo or redo, a file read).
  void DocumentoAlterado();
  // The selected object or the sheet changed.
  void SeleccaoAlterada();
  // The file name, the saved state, the history or what Colar can paste.
  void EstadoAlterado();
  // The recent-file list changed.
  void RecentesAlterados();

 private:
  class TComando;
  enum class TSeguir { Gravado, SemGravar, Parar };
  TSeguir PodeSeguir();
  bool GravarComDialogo();
  std::optional<QString> DialogoGravar();
  bool Ler(const QString& nome);
  void ActualizarRecentes(const QString& nome);
  void MostrarMensagens(const QList<TMensagem>& mensagens);
  bool LerImagem(const QString& ficheiro, TPicture& imagem);
  bool EditarTextoDe(std::uint64_t id);
  bool AlterarImagemDe(std::uint64_t id);
  // A step of a run of nudges of one object joins the one before it.
  void Empurrar(std::uint64_t id, const QRect& limites);
  // Opening and closing a step.
  void AbrirPasso(const QString& nome);
  void FecharPasso();
  // After the document changed: the selection of an object that went.
  void DocumentoMudou();
  // Begins an empty history (Novo, Abrir); `gravado`: whether what is now
  // shown is what the file holds.
  void NovaHistoria(bool gravado);

  TPerguntas& perguntas_;
  TDocumento documento_;
  QUndoStack historia_;
  QString nomeFicheiro_, ficheiroOrigem_;
  bool erroGravacao_ = false;
  bool usarRecentes_ = true;
  int folha_ = folhaFrente;
  QSize grelha_{8, 8};
  std::uint64_t seleccionado_ = 0;
  std::function<bool()> ocupado_;
  // The dialogs offer the last font and colour chosen in them.
  TFont fonte_;
  TColor cor_ = clBlack;
  // The last choices of "Importar faixas…" (at first what lurns-batch
  // --faixas places with).
  TFonteDoc fonteFaixas_;
  QString formatoFaixas_;

  // The step being made.
  struct TPassoAberto;
  std::unique_ptr<TPassoAberto> passo_;
  int niveis_ = 0;
  // Which run of nudges a nudge belongs to: any other command or selection
  // ends the run.
  int corrida_ = 0;
  int juntarCorrida_ = -1;
  // The last step closed changed the document.
  bool alterou_ = false;
};
