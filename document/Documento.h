// SPDX-License-Identifier: GPL-3.0-or-later
// The cover document: the four sheets in their order, each with its
// background colour and background picture (two on the back), the disc's
// fill, and each sheet's text and picture objects in ownership order
// (creation order: the order files, the clipboard and printing walk).
//
// It is plain data with the document's own rules (naming new objects,
// clearing, what a new caption or font does to a text's size, the quarter
// turn) and no widgets: the editor's window is a view of it, the cover
// file reader and writer and the clipboard serialise it, and lurns-batch
// reads and writes it without any window.  Its only needs beyond plain
// C++ are Qt Gui's pictures and fonts (measuring a text needs the fonts).
//
// Every change goes through the document, which then tells its listeners
// (the window, which makes its widgets follow).
#pragma once

#include "document/Preenchimento.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// Cover geometry is integer pixels at this many per inch, whatever the
// resolution of the screen the cover is shown on.
inline constexpr int PixelsPorPolegada = 96;

// Sheet numbers; a sheet's number is its tab page index plus one.
enum TFolha { folhaFrente = 1, folhaInterior = 2, folhaTras = 3, folhaCD = 4 };
inline constexpr int NumeroFolhas = 4;

// The code of a sheet in cover files: "Frente", "Interior", "Tras", "CD"
// (empty for a number that is no sheet).
QString CodigoFolha(int folha);
// The size of a sheet in pixels.
QSize TamanhoFolha(int folha);
// The width alignment measures from: 572 on the back inlay, 458 on every
// other sheet (the disc's 446-wide sheet included).
int LarguraReferencia(int folha);

// The background picture slots.  The back has two that always hold the
// same picture: over the whole inlay, spines included, and between the
// spines only; the window shows one of them.
enum TFundo { fundoFrente, fundoInterior, fundoTras, fundoTrasLombada, fundoCD };
inline constexpr int NumeroFundos = 5;
// The code of a slot in cover files: "FrenteP", "InteriorP", "TrasP",
// "TrasL", "CDP".
QString CodigoFundo(TFundo fundo);
// The bounds of a slot's picture on its sheet (none for the disc, which
// draws its picture itself).
QRect LimitesFundo(TFundo fundo);

// A picture as the document keeps it: the name of its file as the user
// gave it (or as the cover file holds it: a relative name stays relative,
// to the document's picture folder) and the picture decoded from that
// file.
struct TImagemDoc {
  QString Ficheiro;
  TPicture Imagem;
  bool Vazia() const { return Ficheiro.isEmpty() && Imagem.Empty(); }
};
// Same file name and the same picture bytes.
bool operator==(const TImagemDoc& a, const TImagemDoc& b);

// The font of a text object, with the fields a cover file stores.
struct TFonteDoc {
  QString Nome = QStringLiteral("MS Sans Serif");
  int Tamanho = 8;  // points, MinFontSize..MaxFontSize
  std::uint8_t Charset = DEFAULT_CHARSET;
  TColor Cor = clWindowText;
  TFontStyles Estilo = 0;

  // The platform font at the document's PixelsPorPolegada.
  TFont ParaTFont() const;
  // From a platform font (the font dialog's answer): its size in points,
  // held to the document's limits, like its name and style.
  static TFonteDoc DeTFont(const TFont& f);
  bool operator==(const TFonteDoc&) const = default;
};

enum class TTipoObjecto : std::uint8_t { Texto, Imagem };

// A text or picture object of a sheet.
struct TObjecto {
  TTipoObjecto Tipo = TTipoObjecto::Texto;
  // "Texto" or "Imagem" followed by a number, unique within its sheet.
  QString Nome;
  int Left = 0, Top = 0, Width = 0, Height = 0;

  // Text objects: the caption, its turn counter-clockwise in degrees
  // (0..359; the editor turns in quarters), the font, and whether the
  // object takes the size of its text when its caption or font changes
  // (on for a new text; a turn away from 0 switches it off for good).
  QString Texto;
  int Angulo = 0;
  TFonteDoc Fonte;
  bool TamanhoAutomatico = true;

  // Picture objects: the picture and its file, drawn stretched.
  TImagemDoc Imagem;

  // Given by the document when the object is added and kept for its
  // lifetime (also in copies of the document): the window finds the
  // widget that shows the object by it.  Not part of the content.
  std::uint64_t Id = 0;

  bool EhTexto() const { return Tipo == TTipoObjecto::Texto; }
  bool EhImagem() const { return Tipo == TTipoObjecto::Imagem; }
  QRect Limites() const { return QRect(Left, Top, Width, Height); }

  static TObjecto NovoTexto() { return TObjecto(); }
  static TObjecto NovaImagem() {
    TObjecto o;
    o.Tipo = TTipoObjecto::Imagem;
    return o;
  }

  // Every field, the identity too: a field added here is compared
  // without anyone having to remember it.
  bool operator==(const TObjecto&) const = default;
};
// With automatic sizing on, a text takes the size of its caption in its
// font (MedidaTexto); its left and top edges stay.
void AjustarTamanho(TObjecto& texto);
// Same content (every field but the identity).
bool MesmoConteudo(const TObjecto& a, const TObjecto& b);

struct TFolhaDoc {
  // The background colour; on the CD sheet the disc's fill colour.
  TColor Cor = clWhite;
  std::vector<TObjecto> Objectos;
};

class TDocumento {
 public:
  TDocumento();

  // ---- Reading.  References and pointers into the document stay valid
  // until its next change.
  const TFolhaDoc& Folha(int folha) const;  // folha 1..4
  const std::vector<TObjecto>& Objectos(int folha) const { return Folha(folha).Objectos; }
  TColor Cor(int folha) const { return Folha(folha).Cor; }
  const TImagemDoc& Fundo(TFundo fundo) const { return fundos_[fundo]; }
  TDSShapeFill PreenchimentoDisco() const { return preenchimentoDisco_; }
  // The object with this identity, or nullptr.
  const TObjecto* Objecto(std::uint64_t id) const;
  // The sheet that holds the object, or 0.
  int FolhaDe(std::uint64_t id) const;
  // Whether there is anything at all: a colour, a picture or an object.
  bool Vazio() const;

  // ---- The document's rules.
  // A name for a new object of a sheet: the prefix ("Texto" or "Imagem")
  // followed by the number of objects the sheet holds at this moment (a
  // new object already added counts), raised past every number whose name
  // the sheet already uses (names compare without letter case).
  QString NovoNome(const QString& prefixo, int folha) const;
  // Empties the document: white colours, no background pictures, a solid
  // white disc, no objects.
  void LimparDocumento();

  // ---- Changes.  Each tells the listeners (once per TLote), and only when
  // it really changed something: setting what is already there is no change.
  // The background colour of sheets 1 to 3; on the CD sheet the disc's
  // colour, which also drops the disc's picture and fills it solid.
  void DefinirCor(int folha, TColor cor);
  // A background picture slot.  The disc's slot also makes the disc show
  // its picture stretched.
  void DefinirFundo(TFundo fundo, const TImagemDoc& imagem);
  // Empties the background picture of a sheet (both on the back); the
  // disc shows its colour again.
  void LimparFundo(int folha);

  // Appends an object to a sheet, as it is, and gives it its identity;
  // returns the identity.
  std::uint64_t Adicionar(int folha, TObjecto objecto);
  void Apagar(std::uint64_t id);
  void DefinirNome(std::uint64_t id, const QString& nome);
  // An object's place and size; a text that sizes itself takes the place
  // only, keeping the size of its text.
  void DefinirLimites(std::uint64_t id, const QRect& limites);
  // A text's caption and font; with automatic sizing the text takes their
  // size, its left edge staying.
  void DefinirTexto(std::uint64_t id, const QString& texto);
  void DefinirFonte(std::uint64_t id, const TFonteDoc& fonte);
  // A picture object's picture and file.
  void DefinirImagem(std::uint64_t id, const TImagemDoc& imagem);
  // The editor's quarter turn of a text: 0 -> 90 -> 180 -> 270 -> 0 to the
  // left (the reverse to the right), an angle off the quarters staying as
  // it is; width and height swap and the top-left corner stays.  A text
  // turned away from 0 no longer sizes itself.
  void Rodar90(std::uint64_t id, bool esquerda);

  // Takes the whole content of another document (its picture folder too);
  // the listeners stay.
  void Substituir(TDocumento outro);

  // ---- Putting back what was there before (the editing session's undo
  // and redo).  Unlike the changes above they apply no rule: what is put
  // back is exactly what was taken, identity and size included.
  // The backgrounds: the sheets' colours, the picture slots and the disc's
  // fill.
  struct TFundos {
    TColor Cores[NumeroFolhas] = {clWhite, clWhite, clWhite, clWhite};
    TImagemDoc Imagens[NumeroFundos];
    TDSShapeFill Preenchimento = tfsSolid;
    bool operator==(const TFundos& o) const;
  };
  TFundos Fundos() const;
  void ReporFundos(const TFundos& fundos);
  // Puts an object, with the identity it carries, at a place in a sheet's
  // order (held to the end of the list).  Nothing when the identity is
  // already in the document.
  void Inserir(int folha, std::size_t posicao, const TObjecto& objecto);
  // The whole content of the object with the identity it carries.
  void Repor(const TObjecto& objecto);

  // ---- The folder relative picture names are taken from: that of the
  // cover file the document was read from (empty for a document begun in
  // the editor, whose picture names are the full ones the picture dialog
  // gives, and after LimparDocumento).  It is no content: setting it shows
  // nothing and tells no listener.
  const QString& PastaImagens() const { return pastaImagens_; }
  void DefinirPastaImagens(const QString& pasta) { pastaImagens_ = pasta; }
  // The file a picture name stands for: a relative name is taken from the
  // picture folder (kept as it is when there is none).
  QString CaminhoImagem(const QString& nome) const;

  // ---- Listeners.  They stay with the document they were connected to:
  // a copy of a document has none.
  int AoAlterar(std::function<void()> ouvinte);
  void Desligar(int ligacao);

  // Changes made while a TLote lives tell the listeners once, when the
  // last one ends (and only if something changed).
  class TLote {
   public:
    explicit TLote(TDocumento& d) : d_(d) { ++d_.avisos_.adiados; }
    ~TLote();
    TLote(const TLote&) = delete;
    TLote& operator=(const TLote&) = delete;

   private:
    TDocumento& d_;
  };

 private:
  TObjecto* Procurar(std::uint64_t id);
  void Alterado();

  TFolhaDoc folhas_[NumeroFolhas];
  TImagemDoc fundos_[NumeroFundos];
  TDSShapeFill preenchimentoDisco_ = tfsSolid;
  QString pastaImagens_;

  // Listeners and deferred notice; neither is copied with the content.
  struct TAvisos {
    TAvisos() = default;
    TAvisos(const TAvisos&) {}
    TAvisos& operator=(const TAvisos&) { return *this; }
    std::vector<std::pair<int, std::function<void()>>> ouvintes;
    int proxima = 1;
    int adiados = 0;
    bool pendente = false;
  };
  TAvisos avisos_;
};

// The limits of the cover files and the clipboard (document/Limites.h)
// for a whole object: why it is not acceptable, or an empty string.
QString VerificarObjecto(const TObjecto& o);
// Every field held to those limits (the angle brought into 0..359).
void LimitarObjecto(TObjecto& o);
