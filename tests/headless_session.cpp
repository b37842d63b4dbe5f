// SPDX-License-Identifier: GPL-3.0-or-later
// The editing session on its own: this program links the session library
// and nothing of the windowed libraries, and runs on a QGuiApplication.  It
// opens the example cover, edits it, takes the changes back and saves it,
// as a program without windows could.
#include "document/FicheiroCapa.h"
#include "document/TiposDeLetra.h"
#include "session/Sessao.h"
#include "support/SanitizerDefaults.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Answers from queues, as a program without a person would.
class TRespostas : public TPerguntas {
 public:
  QStringList Ditas;
  QStringList Ficheiros;  // an empty name cancels
  void Mensagem(const QString& t) override { Ditas << t; }
  void Aviso(const QString& t) override { Ditas << t; }
  TModalResult SimNaoCancelar(const QString&) override { return TModalResult::Cancel; }
  std::optional<QString> CapaParaAbrir() override { return Tirar(); }
  std::optional<QString> CapaParaGravar(const QString&) override { return Tirar(); }
  std::optional<QString> Imagem(const QString&) override { return Tirar(); }
  std::optional<TFont> Fonte(const TFont&) override { return std::nullopt; }
  std::optional<TColor> Cor(TColor) override { return TColor(0x00FFFF); }
  QString Texto(const QString&, const QString&, const QString& valor,
                const std::function<QString(const QString&)>&) override {
    return valor + " (editado)";
  }
  std::optional<QString> OrigemFaixas() override { return std::nullopt; }
  bool Faixas(TPedidoFaixas&) override { return false; }

 private:
  std::optional<QString> Tirar() {
    const QString f = Ficheiros.isEmpty() ? QString() : Ficheiros.takeFirst();
    if (f.isEmpty()) return std::nullopt;
    return f;
  }
};

}  // namespace

TEST(HeadlessSession, ACoverIsEditedUndoneAndSavedWithoutWindows) {
  QTemporaryDir dir;
  const QDir exemplos(QStringLiteral(LURNS_SOURCE_DIR "/examples"));
  for (const QString& f : exemplos.entryList(QDir::Files)) ASSERT_TRUE(QFile::copy(exemplos.filePath(f), dir.filePath(f)));
  TRespostas respostas;
  TSessao s(respostas);
  s.UsarRecentes(false);
  respostas.Ficheiros = {dir.filePath("exemplo.lrn")};
  s.Abrir();
  ASSERT_EQ(s.NomeFicheiro(), dir.filePath("exemplo.lrn"));
  EXPECT_TRUE(respostas.Ditas.isEmpty()) << respostas.Ditas.join('|').toStdString();
  s.InserirTexto();
  s.Seleccionar(s.Documento().Objectos(folhaFrente).back().Id);
  s.EditarTexto();
  s.Deslocar(3, 4);
  s.MudarFolha(folhaCD);
  s.CorDeFundo();
  EXPECT_EQ(s.Historia().count(), 4);
  EXPECT_FALSE(s.Gravado());
  while (s.Historia().canUndo()) s.Desfazer();
  EXPECT_TRUE(s.Gravado());
  ASSERT_TRUE(s.Gravar());
  QFile antes(exemplos.filePath("exemplo.lrn")), depois(dir.filePath("exemplo.lrn"));
  ASSERT_TRUE(antes.open(QIODevice::ReadOnly));
  ASSERT_TRUE(depois.open(QIODevice::ReadOnly));
  EXPECT_EQ(depois.readAll(), antes.readAll());
}

int main(int argc, char** argv) {
  PassSanitizerOptionsToChildren();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  PrepararTiposDeLetra();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
