// SPDX-License-Identifier: GPL-3.0-or-later
// Track lists read from the music, CUE sheets and text files, written as
// lines and placed on the cover as texts of several lines; and the same
// through lurns-batch --faixas, down to the printed PDF's text.
#include "document/CoverRecord.h"
#include "document/FicheiroCapa.h"
#include "document/MedidaTexto.h"
#include "support/AudioFiles.h"
#include "support/PdfTools.h"
#include "tracks/ColocacaoFaixas.h"
#include "tracks/Faixas.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
  return path;
}

std::vector<QString> Titles(const TListaFaixas& l) {
  std::vector<QString> out;
  for (const TFaixa& t : l.Faixas) out.push_back(t.Titulo);
  return out;
}

class Faixas : public ::testing::Test {
 protected:
  QString Path(const QString& name) { return dir.filePath(name); }
  QTemporaryDir dir;
};

}  // namespace

// Every format the program reads, with and without tags, in disc and
// track order whatever the file names, damaged files passed over.
TEST_F(Faixas, AFolderOfAudioFilesGivesItsTagsInDiscAndTrackOrder) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("album"));
  const QString album = Path("album/");
  const struct {
    const char* file;
    double seconds;
    audio::TTags tags;
  } files[] = {
      {"z-primeira.flac", 1.0, {"Manhã de nevoeiro", "Lurns", "Canções ao pôr do sol", 1, 1}},
      {"a-segunda.ogg", 1.5, {"A estrada do sul", "Lurns", "Canções ao pôr do sol", 2, 1}},
      {"m-terceira.opus", 2.0, {"Café à beira-mar", "Lurns", "Canções ao pôr do sol", 3, 1}},
      {"b-quarta.mp3", 2.5, {"Lombada azul", "Lurns", "Canções ao pôr do sol", 4, 1}},
      {"c-quinta.m4a", 3.0, {"Regresso", "Lurns", "Canções ao pôr do sol", 5, 0}},
      {"d-sexta.wav", 1.2, {"Sexta", "Lurns", "Canções ao pôr do sol", 6, 0}},
      {"e-setima.flac", 1.7, {"Primeira do segundo disco", "Lurns", "Canções ao pôr do sol", 1, 2}},
  };
  for (const auto& f : files)
    ASSERT_TRUE(audio::Make(album + f.file, f.seconds, f.tags)) << f.file;
  // Without tags: named by the file, after the numbered tracks of its
  // disc; damaged: passed over; not music: not looked at.
  ASSERT_TRUE(audio::Make(album + "Sem etiquetas.wav", 1.0, {}));
  Write(album + "estragado.mp3", QByteArray(3000, 'x'));
  Write(album + "capa.jpg", "not a track");

  const TLeituraFaixas r = LerFaixas(Path("album"));
  ASSERT_TRUE(r.Lida()) << r.Erro.toStdString();
  EXPECT_EQ(Titles(r.Lista),
            (std::vector<QString>{QString::fromUtf8("Manhã de nevoeiro"), "A estrada do sul",
                                  QString::fromUtf8("Café à beira-mar"), "Lombada azul", "Regresso", "Sexta",
                                  "Sem etiquetas", "Primeira do segundo disco"}));
  EXPECT_EQ(r.Lista.Album, QString::fromUtf8("Canções ao pôr do sol"));
  EXPECT_EQ(r.Lista.Artista, "Lurns");
  ASSERT_EQ(r.Lista.Faixas.size(), 8u);
  for (const TFaixa& t : r.Lista.Faixas) {
    if (t.Titulo == "Sem etiquetas") continue;
    SCOPED_TRACE(t.Titulo.toStdString());
    EXPECT_EQ(t.Artista, "Lurns");
    EXPECT_NEAR(double(t.DuracaoMs), [&] {
      for (const auto& f : files)
        if (f.tags.title == t.Titulo) return f.seconds * 1000;
      return -1.0;
    }(), 200);  // an MP3 encoder pads its last frame
  }
  EXPECT_EQ(r.Lista.Faixas[7].Disco, 2);
  EXPECT_EQ(r.Lista.Faixas[7].Numero, 1);
  EXPECT_NEAR(double(r.Lista.Faixas[6].DuracaoMs), 1000, 80);
  EXPECT_EQ(r.Ignorados, QStringList(QString::fromUtf8("estragado.mp3: não é um ficheiro de música que se possa ler")));
}

TEST_F(Faixas, AnEmptyOrMissingFolderIsAClearError) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("vazia"));
  Write(Path("vazia/notas.txt"), "nada");
  TLeituraFaixas r = LerFaixas(Path("vazia"));
  EXPECT_FALSE(r.Lida());
  EXPECT_TRUE(r.Erro.contains(QString::fromUtf8("não tem ficheiros de música"))) << r.Erro.toStdString();
  EXPECT_TRUE(r.Lista.Faixas.empty());
  r = LerFaixas(Path("nenhuma"));
  EXPECT_TRUE(r.Erro.contains(QString::fromUtf8("não existe"))) << r.Erro.toStdString();
  // Only damaged files: nothing to place, and each is named.
  ASSERT_TRUE(QDir(dir.path()).mkdir("estragada"));
  Write(Path("estragada/a.flac"), "fLaC but not really");
  r = LerFaixas(Path("estragada"));
  EXPECT_FALSE(r.Lida());
  EXPECT_TRUE(r.Erro.contains("a.flac")) << r.Erro.toStdString();
}

TEST_F(Faixas, ACueSheetGivesItsTracksAndTheirLengths) {
  // One file holding three tracks, 10 s long: the last one ends with it.
  ASSERT_TRUE(audio::WriteWav(Path("disco.wav"), 10.0));
  const QByteArray cue =
      "REM GENRE Pop\r\n"
      "PERFORMER \"Lurns\"\r\n"
      "TITLE \"Canções ao pôr do sol\"\r\n"
      "FILE \"disco.wav\" WAVE\r\n"
      "  TRACK 01 AUDIO\r\n"
      "    TITLE \"Manhã de nevoeiro\"\r\n"
      "    INDEX 01 00:00:00\r\n"
      "  TRACK 02 AUDIO\r\n"
      "    TITLE \"A estrada do sul\"\r\n"
      "    PERFORMER \"Lurns e amigos\"\r\n"
      "    INDEX 00 00:03:00\r\n"
      "    INDEX 01 00:03:37\r\n"
      "  TRACK 03 AUDIO\r\n"
      "    TITLE \"Regresso\"\r\n"
      "    INDEX 01 00:07:00\r\n";
  TLeituraFaixas r = LerFaixas(Write(Path("disco.cue"), cue));
  ASSERT_TRUE(r.Lida()) << r.Erro.toStdString();
  EXPECT_EQ(r.Lista.Album, QString::fromUtf8("Canções ao pôr do sol"));
  EXPECT_EQ(r.Lista.Artista, "Lurns");
  ASSERT_EQ(r.Lista.Faixas.size(), 3u);
  EXPECT_EQ(r.Lista.Faixas[1].Artista, "Lurns e amigos");
  EXPECT_EQ(r.Lista.Faixas[0].DuracaoMs, 3493);  // to 00:03:37 (37 frames of 75)
  EXPECT_EQ(r.Lista.Faixas[1].DuracaoMs, 7000 - 3493);
  EXPECT_NEAR(double(r.Lista.Faixas[2].DuracaoMs), 3000, 20);  // to the file's end
  // Without the audio file the last length is not known.
  QFile::remove(Path("disco.wav"));
  r = LerFaixas(Path("disco.cue"));
  ASSERT_TRUE(r.Lida());
  EXPECT_EQ(r.Lista.Faixas[2].DuracaoMs, -1);
  // In Windows-1252, not UTF-8: read as such.
  r = LerFaixas(Write(Path("antigo.cue"), "TITLE \"Can\xe7\xf5" "es\"\nFILE \"a.wav\" WAVE\nTRACK 1 AUDIO\nTITLE \"P\xf4r do sol\"\nINDEX 01 00:00:00\n"));
  ASSERT_TRUE(r.Lida()) << r.Erro.toStdString();
  EXPECT_EQ(r.Lista.Album, QString::fromUtf8("Canções"));
  EXPECT_EQ(r.Lista.Faixas[0].Titulo, QString::fromUtf8("Pôr do sol"));
}

TEST_F(Faixas, ACueSheetWithAnErrorNamesItsLine) {
  const struct {
    const char* cue;
    int line;
  } cases[] = {
      {"TRACK 01 AUDIO\nINDEX 01 00:00:00\n", 1},                        // no FILE yet
      {"FILE \"a.wav\" WAVE\nTRACK AUDIO\n", 2},                          // no number
      {"FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:61:00\n", 3},   // no such time
      {"FILE \"a.wav\" WAVE\nINDEX 01 00:00:00\n", 2},                    // before a track
      {"TITLE \"sem fim\nFILE \"a.wav\" WAVE\n", 1},                      // unclosed quotes
      {"FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nFAIXA 2\n", 3},              // unknown
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cue);
    const TLeituraFaixas r = LerFaixas(Write(Path("erro.cue"), c.cue));
    EXPECT_FALSE(r.Lida());
    EXPECT_TRUE(r.Erro.contains(QStringLiteral("linha %1:").arg(c.line))) << r.Erro.toStdString();
    EXPECT_TRUE(r.Lista.Faixas.empty());
  }
  EXPECT_TRUE(LerFaixas(Write(Path("vazio.cue"), "REM nada\n")).Erro.contains(QString::fromUtf8("não tem faixas")));
}

TEST_F(Faixas, ATextFileHasOneTrackALineWithItsNumberAndLengthWhenGiven) {
  const QByteArray text =
      "\xEF\xBB\xBF"
      "1. Manhã de nevoeiro 3:45\n"
      "\n"
      "02 - A estrada do sul (4:02)\r\n"
      "3) Café à beira-mar\n"
      "Lombada azul — 1:02:03\n"
      "  Regresso  \n"
      "1984\n";
  const TLeituraFaixas r = LerFaixas(Write(Path("faixas.txt"), text));
  ASSERT_TRUE(r.Lida()) << r.Erro.toStdString();
  const struct {
    int numero;
    const char* titulo;
    qint64 ms;
  } expected[] = {{1, "Manhã de nevoeiro", 225000}, {2, "A estrada do sul", 242000},
                  {3, "Café à beira-mar", -1},      {0, "Lombada azul", 3723000},
                  {0, "Regresso", -1},              {0, "1984", -1}};
  ASSERT_EQ(r.Lista.Faixas.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(r.Lista.Faixas[i].Numero, expected[i].numero);
    EXPECT_EQ(r.Lista.Faixas[i].Titulo, QString::fromUtf8(expected[i].titulo));
    EXPECT_EQ(r.Lista.Faixas[i].DuracaoMs, expected[i].ms);
  }
  // Windows-1252 text is read as such; an empty file is an error.
  EXPECT_EQ(LerFaixas(Write(Path("antigo.txt"), "P\xf4r do sol\n")).Lista.Faixas[0].Titulo,
            QString::fromUtf8("Pôr do sol"));
  EXPECT_FALSE(LerFaixas(Write(Path("vazio.txt"), "\n  \n")).Lida());
}

TEST(FaixasLinhas, AFieldThatIsNotKnownGoesWithTheTextBeforeIt) {
  TFaixa t;
  t.Numero = 3;
  t.Titulo = QStringLiteral("Regresso");
  t.Artista = QStringLiteral("Lurns");
  t.DuracaoMs = 225400;
  const QString padrao = QString::fromUtf8(FormatoFaixaPadrao);
  EXPECT_EQ(LinhaDeFaixa(t, padrao), QString::fromUtf8("3. Regresso — 3:45"));
  EXPECT_EQ(LinhaDeFaixa(t, "{t} ({a}, {d})"), "Regresso (Lurns, 3:45)");
  TFaixa sem = t;
  sem.DuracaoMs = -1;
  EXPECT_EQ(LinhaDeFaixa(sem, padrao), "3. Regresso");
  EXPECT_EQ(LinhaDeFaixa(sem, "{t} ({d})"), "Regresso");
  sem.Numero = 0;
  EXPECT_EQ(LinhaDeFaixa(sem, padrao), "Regresso");
  EXPECT_EQ(LinhaDeFaixa(sem, "Faixa {n}: {t}"), "Regresso");
  EXPECT_EQ(Duracao(3723400), "1:02:03");
  EXPECT_EQ(Duracao(59600), "1:00");
  // A list numbers its tracks without a number by their place.
  TListaFaixas l;
  l.Faixas = {sem, sem};
  EXPECT_EQ(LinhasDeFaixas(l, padrao), (QStringList{"1. Regresso", "2. Regresso"}));
}

// Fifteen tracks go onto the back inlay as texts of several lines, in
// columns between the spines, on the grid, each caption within its field;
// too long a list or line is refused, not cut.
TEST(FaixasColocacao, AListGoesIntoColumnsThatFitTheSheetAndTheCaptionField) {
  QStringList linhas;
  for (int i = 1; i <= 15; ++i) linhas << QString::fromUtf8("%1. Canção número %1 — 3:%2").arg(i).arg(10 + i);
  TColocacaoFaixas c;
  c.Fonte.Nome = QStringLiteral("Arial");
  c.Fonte.Tamanho = 10;
  for (int folha : {folhaTras, folhaInterior}) {
    SCOPED_TRACE(folha);
    c.Folha = folha;
    const TTextosColocados r = ColocarFaixas(linhas, c);
    ASSERT_TRUE(r.Erro.isEmpty()) << r.Erro.toStdString();
    ASSERT_GE(r.Textos.size(), 2u);
    const QRect area = AreaDasFaixas(c);
    QStringList todas;
    int column = -1, right = -1, bottom = -1;
    for (const TObjecto& t : r.Textos) {
      EXPECT_TRUE(area.contains(t.Limites())) << t.Left << "," << t.Top;
      EXPECT_EQ(t.Left % c.GrelhaX, 0);
      if (t.Left != column) {
        // A new column, on the grid, to the right of the one before.
        EXPECT_GT(t.Left, right);
        EXPECT_EQ(t.Top, area.top());
        EXPECT_EQ(t.Top % c.GrelhaY, 0);
        column = t.Left;
      } else {
        // A column's lines go on in a text under the one before.
        EXPECT_NEAR(t.Top, bottom, 2);
      }
      right = std::max(right, t.Left + t.Width);
      bottom = t.Top + t.Height;
      EXPECT_LE(ParaWindows1252(t.Texto).size(), 255);
      EXPECT_EQ(t.Limites().size(), TamanhoAutomatico(t.Texto, c.Fonte));
      todas << t.Texto.split(QStringLiteral("\r\n"));
    }
    EXPECT_EQ(todas, linhas);
  }
  // More lines than the sheet's height holds: a second column.
  QStringList muitas;
  for (int i = 1; i <= 40; ++i) muitas << QStringLiteral("%1. Faixa").arg(i);
  c.Folha = folhaTras;
  const TTextosColocados duas = ColocarFaixas(muitas, c);
  ASSERT_TRUE(duas.Erro.isEmpty()) << duas.Erro.toStdString();
  EXPECT_GT(duas.Textos.back().Left, duas.Textos.front().Left);
  // Large letters on the back: columns wider than the inlay.
  c.Folha = folhaTras;
  c.Fonte.Tamanho = 40;
  TTextosColocados grande = ColocarFaixas(linhas, c);
  EXPECT_TRUE(grande.Textos.empty());
  EXPECT_TRUE(grande.Erro.contains(QString::fromUtf8("não cabe na folha"))) << grande.Erro.toStdString();
  c.Fonte.Tamanho = 10;
  TTextosColocados longa = ColocarFaixas({QString(300, QLatin1Char('x'))}, c);
  EXPECT_TRUE(longa.Erro.contains("255")) << longa.Erro.toStdString();
}

TEST(FaixasColocacao, TheAlbumGoesOnTheFrontAndOnBothSpines) {
  TFonteDoc f;
  f.Nome = QStringLiteral("Arial");
  f.Tamanho = 10;
  const auto textos = TextosDoAlbum(QString::fromUtf8("Canções ao pôr do sol"), "Lurns", f);
  ASSERT_EQ(textos.size(), 4u);
  EXPECT_EQ(textos[0].first, folhaFrente);
  EXPECT_EQ(textos[0].second.Fonte.Tamanho, 20);
  EXPECT_EQ(textos[1].second.Texto, "Lurns");
  for (int i : {2, 3}) {
    const TObjecto& t = textos[size_t(i)].second;
    EXPECT_EQ(textos[size_t(i)].first, folhaTras);
    EXPECT_EQ(t.Texto, QString::fromUtf8("Lurns — Canções ao pôr do sol"));
    EXPECT_EQ(t.Angulo, i == 2 ? 90 : 270);
    const QRect entre = LimitesFundo(fundoTrasLombada);
    EXPECT_TRUE(i == 2 ? t.Left + t.Width <= entre.left() : t.Left > entre.right()) << t.Left;
  }
  EXPECT_TRUE(TextosDoAlbum(QString(), QString(), f).empty());
}

// The whole way without a window: a folder of FLAC files onto the example
// cover, saved, printed, and read back from the PDF in order.
TEST_F(Faixas, LurnsBatchPlacesTheTracksAndThePdfHoldsThemInOrder) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("album"));
  QStringList titulos;
  for (int i = 1; i <= 15; ++i) {
    const QString titulo = QString::fromUtf8("Canção %1 do álbum").arg(i);
    titulos << titulo;
    ASSERT_TRUE(audio::Make(Path(QStringLiteral("album/%1.flac").arg(i, 2, 10, QLatin1Char('0'))), 1.0,
                            {titulo, "Lurns", "Teste", i, 0}));
  }
  const QString batch = QStringLiteral(LURNS_BINARY_DIR "/batch/lurns-batch");
  const QString capa = QStringLiteral(LURNS_SOURCE_DIR "/examples/exemplo.lrn");
  QProcess p;
  p.setEnvironment(QProcess::systemEnvironment() << QStringLiteral("HOME=") + dir.path()
                                                 << QStringLiteral("XDG_CONFIG_HOME=") + dir.path());
  p.start(batch, {"--faixas", Path("album"), "--save", Path("com-faixas.lrn"), capa});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  const TLeituraCapa lida = LerCapa(Path("com-faixas.lrn"));
  ASSERT_TRUE(lida.Lido);
  // Written and read back: the same texts of several lines.
  QStringList linhas;
  for (const TObjecto& o : lida.Documento.Objectos(folhaTras))
    if (o.Texto.contains(QStringLiteral("\r\n"))) linhas << o.Texto.split(QStringLiteral("\r\n"));
  ASSERT_EQ(linhas.size(), 15);
  for (int i = 0; i < 15; ++i) EXPECT_TRUE(linhas[i].startsWith(QStringLiteral("%1. ").arg(i + 1) + titulos[i]));

  p.start(batch, {"-o", Path("com-faixas.pdf"), "--pages", "2-2", Path("com-faixas.lrn")});
  ASSERT_TRUE(p.waitForFinished(60000));
  ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  QString why;
  const QString text = QString::fromUtf8(pdf::RunTool("pdftotext", {"-raw", Path("com-faixas.pdf"), "-"}, &why));
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  int at = 0;
  for (int i = 0; i < 15; ++i) {
    const int found = text.indexOf(titulos[i] + QStringLiteral(" \u2014 0:01"), at);
    EXPECT_GE(found, 0) << titulos[i].toStdString() << " after " << at;
    if (found >= 0) at = found;
  }
  // Bad sources change nothing and say why.
  ASSERT_TRUE(QDir(dir.path()).mkdir("vazia"));
  p.start(batch, {"--faixas", Path("vazia"), "--save", Path("nada.lrn"), capa});
  ASSERT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 1);
  EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QString::fromUtf8("não tem ficheiros de música")));
  EXPECT_FALSE(QFile::exists(Path("nada.lrn")));
}

// A cover with texts of several lines is written with the lines in one
// caption separated by CR LF and reads back to the same document.
TEST_F(Faixas, ACoverWithTextsOfSeveralLinesReadsBackTheSame) {
  TDocumento d;
  TColocacaoFaixas c;
  c.Fonte.Nome = QStringLiteral("Arial");
  c.Fonte.Tamanho = 10;
  const TTextosColocados r = ColocarFaixas({"1. Um", QString::fromUtf8("2. Dois — 3:00"), "3. Tres"}, c);
  ASSERT_EQ(r.Textos.size(), 1u);
  const std::uint64_t id = d.Adicionar(folhaTras, r.Textos[0]);
  d.DefinirNome(id, d.NovoNome(QStringLiteral("Texto"), folhaTras));
  ASSERT_EQ(GravarCapa(d, Path("linhas.lrn")).Fim, TFimGravacao::Gravado);
  QFile f(Path("linhas.lrn"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().contains("1. Um\r\n2. Dois \x97 3:00\r\n3. Tres"));
  const TLeituraCapa lida = LerCapa(Path("linhas.lrn"));
  ASSERT_TRUE(lida.Lido);
  ASSERT_EQ(lida.Documento.Objectos(folhaTras).size(), 1u);
  EXPECT_TRUE(MesmoConteudo(lida.Documento.Objectos(folhaTras)[0], d.Objectos(folhaTras)[0]));
}
