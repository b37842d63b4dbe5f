// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/Documento.h"

#include "document/Limites.h"
#include "document/MedidaTexto.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <iterator>

namespace {
// Identities are unique in the whole run, not only within one document: a
// document read from a file replaces the window's one, and none of its
// objects may be taken for one the window already shows.
std::uint64_t NovaIdentidade() {
  static std::atomic<std::uint64_t> proxima{1};
  return proxima++;
}

bool FolhaValida(int folha) { return folha >= folhaFrente && folha <= folhaCD; }

bool MesmaImagem(const TPicture& a, const TPicture& b) {
  if (a.Empty() || b.Empty()) return a.Empty() == b.Empty();
  return a == b || (a.Format() == b.Format() && a.Data() == b.Data());
}

}  // namespace

void AjustarTamanho(TObjecto& o) {
  if (!o.EhTexto() || !o.TamanhoAutomatico) return;
  const QSize s = TamanhoAutomatico(o.Texto, o.Fonte);
  o.Width = ClampExtent(s.width());
  o.Height = ClampExtent(s.height());
}

QString CodigoFolha(int folha) {
  static const char* const codigos[] = {"Frente", "Interior", "Tras", "CD"};
  return FolhaValida(folha) ? QString::fromLatin1(codigos[folha - 1]) : QString();
}

QSize TamanhoFolha(int folha) {
  switch (folha) {
    case folhaFrente:
    case folhaInterior: return QSize(458, 455);
    case folhaTras: return QSize(572, 447);
    case folhaCD: return QSize(446, 446);
    default: return QSize();
  }
}

int LarguraReferencia(int folha) { return folha == folhaTras ? 572 : 458; }

QString CodigoFundo(TFundo fundo) {
  static const char* const codigos[] = {"FrenteP", "InteriorP", "TrasP", "TrasL", "CDP"};
  return QString::fromLatin1(codigos[fundo]);
}

QRect LimitesFundo(TFundo fundo) {
  switch (fundo) {
    case fundoFrente:
    case fundoInterior: return QRect(0, 0, 458, 455);
    case fundoTras: return QRect(0, 0, 572, 447);
    case fundoTrasLombada: return QRect(24, 0, 524, 447);
    case fundoCD: break;
  }
  return QRect();
}

bool operator==(const TImagemDoc& a, const TImagemDoc& b) {
  return a.Ficheiro == b.Ficheiro && MesmaImagem(a.Imagem, b.Imagem);
}

TFont TFonteDoc::ParaTFont() const {
  TFont f;
  f.Name = Nome;
  f.Charset = Charset;
  f.Color = Cor;
  f.Style = Estilo;
  f.PixelsPerInch = PixelsPorPolegada;
  f.SetSize(ClampFontSize(Tamanho));
  return f;
}

TFonteDoc TFonteDoc::DeTFont(const TFont& f) {
  TFonteDoc d;
  d.Nome = ClampFontName(f.Name);
  // Size() divides by the font's resolution; one of 0 would mean no size.
  d.Tamanho = f.PixelsPerInch > 0 ? ClampFontSize(f.Size()) : TFonteDoc().Tamanho;
  d.Charset = f.Charset;
  d.Cor = ClampColour(f.Color);
  d.Estilo = ClampFontStyle(f.Style);
  return d;
}

bool MesmoConteudo(const TObjecto& a, const TObjecto& b) {
  TObjecto x = a, y = b;
  x.Id = y.Id = 0;
  return x == y;
}

QString VerificarObjecto(const TObjecto& o) {
  if (QString e = CheckBounds(o.Left, o.Top, o.Width, o.Height); !e.isEmpty()) return e;
  if (QString e = CheckString(o.Texto); !e.isEmpty()) return e;
  if (QString e = CheckString(o.Imagem.Ficheiro); !e.isEmpty()) return e;
  if (QString e = CheckAngle(o.Angulo); !e.isEmpty()) return e;
  if (QString e = CheckFontName(o.Fonte.Nome); !e.isEmpty()) return e;
  if (QString e = CheckFontSize(o.Fonte.Tamanho); !e.isEmpty()) return e;
  if (QString e = CheckColour(o.Fonte.Cor); !e.isEmpty()) return e;
  return CheckFontStyle(o.Fonte.Estilo);
}

void LimitarObjecto(TObjecto& o) {
  o.Left = ClampCoordinate(o.Left);
  o.Top = ClampCoordinate(o.Top);
  o.Width = ClampExtent(o.Width);
  o.Height = ClampExtent(o.Height);
  o.Texto = ClampString(o.Texto);
  o.Imagem.Ficheiro = ClampString(o.Imagem.Ficheiro);
  o.Angulo = NormaliseAngle(o.Angulo);
  o.Fonte.Nome = ClampFontName(o.Fonte.Nome);
  o.Fonte.Tamanho = ClampFontSize(o.Fonte.Tamanho);
  o.Fonte.Cor = ClampColour(o.Fonte.Cor);
  o.Fonte.Estilo = ClampFontStyle(o.Fonte.Estilo);
}

// ---------------------------------------------------------------------------

TDocumento::TDocumento() = default;

const TFolhaDoc& TDocumento::Folha(int folha) const {
  Q_ASSERT(FolhaValida(folha));
  return folhas_[std::clamp(folha, 1, NumeroFolhas) - 1];
}

const TObjecto* TDocumento::Objecto(std::uint64_t id) const {
  return const_cast<TDocumento*>(this)->Procurar(id);
}

TObjecto* TDocumento::Procurar(std::uint64_t id) {
  if (id == 0) return nullptr;
  for (TFolhaDoc& f : folhas_)
    for (TObjecto& o : f.Objectos)
      if (o.Id == id) return &o;
  return nullptr;
}

int TDocumento::FolhaDe(std::uint64_t id) const {
  for (int i = 0; i < NumeroFolhas; ++i)
    for (const TObjecto& o : folhas_[i].Objectos)
      if (o.Id == id) return i + 1;
  return 0;
}

bool TDocumento::Vazio() const {
  for (const TFolhaDoc& f : folhas_)
    if (f.Cor != clWhite || !f.Objectos.empty()) return false;
  for (const TImagemDoc& i : fundos_)
    if (!i.Vazia()) return false;
  return preenchimentoDisco_ == tfsSolid;
}

QString TDocumento::NovoNome(const QString& prefixo, int folha) const {
  if (!FolhaValida(folha)) return QString();
  const std::vector<TObjecto>& objectos = Objectos(folha);
  auto usado = [&](const QString& nome) {
    return std::any_of(objectos.begin(), objectos.end(), [&](const TObjecto& o) {
      return o.Nome.compare(nome, Qt::CaseInsensitive) == 0;
    });
  };
  int n = int(objectos.size());
  QString candidato = prefixo + QString::number(n);
  while (usado(candidato)) candidato = prefixo + QString::number(++n);
  return candidato;
}

void TDocumento::LimparDocumento() {
  pastaImagens_.clear();
  // Nothing to tell when there was nothing: emptying an empty document
  // changes nothing in it.
  if (Vazio()) return;
  for (TImagemDoc& i : fundos_) i = TImagemDoc();
  preenchimentoDisco_ = tfsSolid;
  for (TFolhaDoc& f : folhas_) {
    f.Cor = clWhite;
    f.Objectos.clear();
  }
  Alterado();
}

void TDocumento::DefinirCor(int folha, TColor cor) {
  if (!FolhaValida(folha)) return;
  const bool discoSolido = folha != folhaCD || (preenchimentoDisco_ == tfsSolid && fundos_[fundoCD].Vazia());
  if (folhas_[folha - 1].Cor == cor && discoSolido) return;
  if (folha == folhaCD) {
    fundos_[fundoCD] = TImagemDoc();
    preenchimentoDisco_ = tfsSolid;
  }
  folhas_[folha - 1].Cor = cor;
  Alterado();
}

void TDocumento::DefinirFundo(TFundo fundo, const TImagemDoc& imagem) {
  if (fundos_[fundo] == imagem && (fundo != fundoCD || preenchimentoDisco_ == tfsImageStretch)) return;
  fundos_[fundo] = imagem;
  if (fundo == fundoCD) preenchimentoDisco_ = tfsImageStretch;
  Alterado();
}

void TDocumento::LimparFundo(int folha) {
  const bool vazios = folha == folhaTras ? fundos_[fundoTras].Vazia() && fundos_[fundoTrasLombada].Vazia()
                      : folha == folhaCD ? fundos_[fundoCD].Vazia() && preenchimentoDisco_ == tfsSolid
                      : folha == folhaFrente ? fundos_[fundoFrente].Vazia()
                                            : fundos_[fundoInterior].Vazia();
  if (vazios) return;
  switch (folha) {
    case folhaFrente: fundos_[fundoFrente] = TImagemDoc(); break;
    case folhaInterior: fundos_[fundoInterior] = TImagemDoc(); break;
    case folhaTras:
      fundos_[fundoTras] = TImagemDoc();
      fundos_[fundoTrasLombada] = TImagemDoc();
      break;
    case folhaCD:
      fundos_[fundoCD] = TImagemDoc();
      preenchimentoDisco_ = tfsSolid;
      break;
    default: return;
  }
  Alterado();
}

std::uint64_t TDocumento::Adicionar(int folha, TObjecto objecto) {
  if (!FolhaValida(folha)) return 0;
  objecto.Id = NovaIdentidade();
  folhas_[folha - 1].Objectos.push_back(std::move(objecto));
  Alterado();
  return folhas_[folha - 1].Objectos.back().Id;
}

void TDocumento::Apagar(std::uint64_t id) {
  for (TFolhaDoc& f : folhas_) {
    auto it = std::find_if(f.Objectos.begin(), f.Objectos.end(), [id](const TObjecto& o) { return o.Id == id; });
    if (it != f.Objectos.end()) {
      f.Objectos.erase(it);
      Alterado();
      return;
    }
  }
}

void TDocumento::DefinirNome(std::uint64_t id, const QString& nome) {
  TObjecto* o = Procurar(id);
  if (!o || o->Nome == nome) return;
  o->Nome = nome;
  Alterado();
}

void TDocumento::DefinirLimites(std::uint64_t id, const QRect& r) {
  TObjecto* o = Procurar(id);
  if (!o) return;
  QRect novo = r;
  // A text that sizes itself keeps the size of its text (every reading of
  // the cover gives it that size again): only its place changes.
  if (o->EhTexto() && o->TamanhoAutomatico) novo.setSize(QSize(o->Width, o->Height));
  if (o->Limites() == novo) return;
  o->Left = novo.x();
  o->Top = novo.y();
  o->Width = novo.width();
  o->Height = novo.height();
  Alterado();
}

void TDocumento::DefinirTexto(std::uint64_t id, const QString& texto) {
  TObjecto* o = Procurar(id);
  if (!o || !o->EhTexto()) return;
  const TObjecto antes = *o;
  o->Texto = texto;
  AjustarTamanho(*o);
  if (!MesmoConteudo(antes, *o)) Alterado();
}

void TDocumento::DefinirFonte(std::uint64_t id, const TFonteDoc& fonte) {
  TObjecto* o = Procurar(id);
  if (!o || !o->EhTexto()) return;
  const TObjecto antes = *o;
  o->Fonte = fonte;
  AjustarTamanho(*o);
  if (!MesmoConteudo(antes, *o)) Alterado();
}

void TDocumento::DefinirImagem(std::uint64_t id, const TImagemDoc& imagem) {
  TObjecto* o = Procurar(id);
  if (!o || !o->EhImagem() || o->Imagem == imagem) return;
  o->Imagem = imagem;
  Alterado();
}

void TDocumento::Rodar90(std::uint64_t id, bool esquerda) {
  TObjecto* o = Procurar(id);
  if (!o || !o->EhTexto()) return;
  switch (o->Angulo) {
    case 0: o->Angulo = esquerda ? 90 : 270; break;
    case 90: o->Angulo = esquerda ? 180 : 0; break;
    case 180: o->Angulo = esquerda ? 270 : 90; break;
    case 270: o->Angulo = esquerda ? 0 : 180; break;
    default: break;
  }
  if (o->Angulo > 0) o->TamanhoAutomatico = false;
  std::swap(o->Width, o->Height);
  Alterado();
}

void TDocumento::Substituir(TDocumento outro) {
  for (int i = 0; i < NumeroFolhas; ++i) folhas_[i] = std::move(outro.folhas_[i]);
  for (int i = 0; i < NumeroFundos; ++i) fundos_[i] = std::move(outro.fundos_[i]);
  preenchimentoDisco_ = outro.preenchimentoDisco_;
  pastaImagens_ = std::move(outro.pastaImagens_);
  Alterado();
}

bool TDocumento::TFundos::operator==(const TFundos& o) const {
  return std::equal(std::begin(Cores), std::end(Cores), std::begin(o.Cores)) &&
         std::equal(std::begin(Imagens), std::end(Imagens), std::begin(o.Imagens)) && Preenchimento == o.Preenchimento;
}

TDocumento::TFundos TDocumento::Fundos() const {
  TFundos f;
  for (int i = 0; i < NumeroFolhas; ++i) f.Cores[i] = folhas_[i].Cor;
  for (int i = 0; i < NumeroFundos; ++i) f.Imagens[i] = fundos_[i];
  f.Preenchimento = preenchimentoDisco_;
  return f;
}

void TDocumento::ReporFundos(const TFundos& f) {
  if (Fundos() == f) return;
  for (int i = 0; i < NumeroFolhas; ++i) folhas_[i].Cor = f.Cores[i];
  for (int i = 0; i < NumeroFundos; ++i) fundos_[i] = f.Imagens[i];
  preenchimentoDisco_ = f.Preenchimento;
  Alterado();
}

void TDocumento::Inserir(int folha, std::size_t posicao, const TObjecto& objecto) {
  if (!FolhaValida(folha) || objecto.Id == 0 || Procurar(objecto.Id)) return;
  std::vector<TObjecto>& v = folhas_[folha - 1].Objectos;
  v.insert(v.begin() + std::ptrdiff_t(std::min(posicao, v.size())), objecto);
  Alterado();
}

void TDocumento::Repor(const TObjecto& objecto) {
  TObjecto* o = Procurar(objecto.Id);
  if (!o || MesmoConteudo(*o, objecto)) return;
  *o = objecto;
  Alterado();
}

QString TDocumento::CaminhoImagem(const QString& nome) const {
  if (nome.isEmpty() || pastaImagens_.isEmpty() || !QFileInfo(nome).isRelative()) return nome;
  return QDir::cleanPath(QDir(pastaImagens_).absoluteFilePath(nome));
}

int TDocumento::AoAlterar(std::function<void()> ouvinte) {
  const int ligacao = avisos_.proxima++;
  avisos_.ouvintes.emplace_back(ligacao, std::move(ouvinte));
  return ligacao;
}

void TDocumento::Desligar(int ligacao) {
  auto& v = avisos_.ouvintes;
  v.erase(std::remove_if(v.begin(), v.end(), [ligacao](const auto& p) { return p.first == ligacao; }), v.end());
}

void TDocumento::Alterado() {
  if (avisos_.adiados > 0) {
    avisos_.pendente = true;
    return;
  }
  // A listener may connect or disconnect others while it runs.
  const auto ouvintes = avisos_.ouvintes;
  for (const auto& o : ouvintes) o.second();
}

TDocumento::TLote::~TLote() {
  if (--d_.avisos_.adiados == 0 && d_.avisos_.pendente) {
    d_.avisos_.pendente = false;
    d_.Alterado();
  }
}
