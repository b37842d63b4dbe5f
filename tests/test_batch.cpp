// SPDX-License-Identifier: GPL-3.0-or-later
// lurns-batch as a user runs it: the JSON dump, re-saving, the messages on
// standard error and the exit status, without a display, without a window
// and without touching the user's settings; and the same sizes for the
// same cover as the program's window.
#include "components/ProCtrls.h"
#include "document/FicheiroCapa.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "support/JanelaLurn.h"
#include "support/PageCompare.h"
#include "support/PdfTools.h"
#include "LurnsVersion.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
  int status;
  QByteArray out, err;
};

class Batch : public ::testing::Test {
 protected:
  ToolRun Tool(const QStringList& args, const QString& workingFolder = {}) {
    QProcess p;
    if (!workingFolder.isEmpty()) p.setWorkingDirectory(workingFolder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");  // the tool must choose a platform itself
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(LURNS_BATCH), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
  }
  QString Path(const QString& n) { return dir.filePath(n); }
  QByteArray Read(const QString& n) {
    QFile f(Path(n));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // A cover as the program makes it: a yellow front with a bold text, a
  // turned text on the back, a picture on the disc label and a blue disc.
  // A file of one record's length that is no cover.
  void MakeBadCover(const QString& name) {
    QFile bad(Path(name));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(572, 'x'));
  }
  void MakeCover(const QString& name, const QString& picture) {
    TDocumento d;
    d.DefinirCor(folhaFrente, 0x00FFFF);
    TObjecto t = TObjecto::NovoTexto();
    t.Nome = "Texto7";
    t.TamanhoAutomatico = false;
    t.Texto = QString::fromUtf8("Lado A — ação");
    t.Fonte.Nome = "Arial";
    t.Fonte.Charset = 0;
    t.Fonte.Tamanho = 18;
    t.Fonte.Cor = 0;
    t.Fonte.Estilo = fsBold;
    t.Left = 40;
    t.Top = 30;
    t.Width = 62;
    t.Height = 29;
    d.Adicionar(folhaFrente, t);
    TObjecto r = TObjecto::NovoTexto();
    r.Texto = "lombada";
    r.Angulo = 90;
    r.TamanhoAutomatico = false;
    r.Left = 2;
    r.Top = 10;
    r.Width = 20;
    r.Height = 200;
    d.Adicionar(folhaTras, r);
    TObjecto i = TObjecto::NovaImagem();
    i.Nome = "Imagem9";
    i.Imagem.Ficheiro = picture;
    i.Left = i.Top = 100;
    i.Width = i.Height = 200;
    d.Adicionar(folhaCD, i);
    d.DefinirCor(folhaCD, 0xFF0000);
    ASSERT_EQ(GravarCapa(d, Path(name)).Fim, TFimGravacao::Gravado);
  }
  // A cover of the test data, with its pictures, copied into folder.
  QString CopyCover(const QString& name, const QString& folder) {
    const QDir from(QStringLiteral(LURNS_SOURCE_DIR "/tests/data/capas"));
    QDir().mkpath(folder);
    for (const QString& f : {name, QStringLiteral("disco.png"), QStringLiteral("frente.svg")}) {
      QFile::remove(QDir(folder).filePath(f));
      EXPECT_TRUE(QFile::copy(from.filePath(f), QDir(folder).filePath(f))) << f.toStdString();
    }
    return QDir(folder).filePath(name);
  }

  QTemporaryDir dir, home;
  ScriptedDialogsGuard dialogs;
};

TEST_F(Batch, DumpsTheCoverAsJson) {
  QImage img(4, 4, QImage::Format_RGB32);
  img.fill(Qt::green);
  ASSERT_TRUE(img.save(Path("disco.png")));
  MakeCover("capa.lrn", Path("disco.png"));
  const ToolRun r = Tool({"--dump", Path("capa.lrn")});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  const QJsonArray sheets = QJsonDocument::fromJson(r.out).object()["sheets"].toArray();
  ASSERT_EQ(sheets.size(), 4);
  const char* codes[] = {"Frente", "Interior", "Tras", "CD"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(sheets[i]["number"].toInt(), i + 1);
    EXPECT_EQ(sheets[i]["code"].toString(), codes[i]);
  }
  EXPECT_EQ(sheets[0]["colour"].toInteger(), 0x00FFFF);
  EXPECT_EQ(sheets[3]["colour"].toInteger(), 0xFF0000);
  EXPECT_EQ(sheets[3]["fillStyle"].toString(), "tfsSolid");
  EXPECT_TRUE(sheets[2].toObject().contains("pictureBetweenSpines"));
  const QJsonObject text = sheets[0]["objects"][0].toObject();
  EXPECT_EQ(text["name"].toString(), "Texto1");  // named again in file order
  EXPECT_EQ(text["kind"].toString(), "text");
  EXPECT_EQ(text["caption"].toString(), QString::fromUtf8("Lado A — ação"));
  EXPECT_EQ(text["angle"].toInt(), 0);
  EXPECT_EQ(text["left"].toInt(), 40);
  EXPECT_EQ(text["top"].toInt(), 30);
  EXPECT_EQ(text["font"]["name"].toString(), "Arial");
  EXPECT_EQ(text["font"]["size"].toInt(), 18);
  EXPECT_EQ(text["font"]["charset"].toInt(), 0);
  EXPECT_EQ(text["font"]["colour"].toInteger(), 0);
  EXPECT_EQ(text["font"]["style"].toInt(), 1);
  const QJsonObject turned = sheets[2]["objects"][0].toObject();
  EXPECT_EQ(turned["angle"].toInt(), 90);
  EXPECT_EQ(turned["width"].toInt(), 20);
  EXPECT_EQ(turned["height"].toInt(), 200);
  const QJsonObject pic = sheets[3]["objects"][0].toObject();
  EXPECT_EQ(pic["name"].toString(), "Imagem1");
  EXPECT_EQ(pic["kind"].toString(), "picture");
  EXPECT_EQ(pic["file"].toString(), Path("disco.png"));
  EXPECT_EQ(pic["width"].toInt(), 200);
  // Nothing of the user's was written.
  EXPECT_FALSE(QFile::exists(home.filePath("config/Lurns/Lurns.ini")));
}

TEST_F(Batch, ResavesTheSameBytes) {
  QImage img(4, 4, QImage::Format_RGB32);
  img.fill(Qt::green);
  ASSERT_TRUE(img.save(Path("disco.png")));
  MakeCover("capa.lrn", Path("disco.png"));
  // A level text takes the size of its text when read, so the first copy
  // may differ in that size; from then on a cover re-saves byte for byte.
  ASSERT_EQ(Tool({"--save", Path("copia.lrn"), Path("capa.lrn")}).status, 0);
  const ToolRun r = Tool({"--save", Path("copia2.lrn"), Path("copia.lrn")});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_EQ(Read("copia2.lrn").size(), 9 * 572 + 3 * 572);
  EXPECT_EQ(Read("copia2.lrn"), Read("copia.lrn"));
  // Apart from that size, the first copy holds what the program wrote.
  QByteArray a = Read("capa.lrn"), b = Read("copia.lrn");
  ASSERT_EQ(a.size(), b.size());
  a.replace(3 * 572 + 292, 8, QByteArray(8, 0));
  b.replace(3 * 572 + 292, 8, QByteArray(8, 0));
  EXPECT_EQ(a, b);
}

TEST_F(Batch, MessagesGoToStandardErrorWithTheExitStatus) {
  MakeCover("semimagem.lrn", Path("nao-existe.png"));
  MakeBadCover("mau.lrn");
  if (HasFatalFailure()) return;
  struct {
    QStringList args;
    int status;
    QString err;  // a line the standard error must hold
  } cases[] = {
      {{"--dump", Path("semimagem.lrn")}, 0, "Imagem não encontrada."},
      {{"--dump", Path("falta.lrn")}, 1, "Erro ao abrir o ficheiro."},
      {{"--dump", Path("mau.lrn")}, 1, "Ficheiro inválido!"},
      {{"--save", Path("out.txt"), Path("semimagem.lrn")}, 1, "Função ainda não implementada."},
      {{"--save", Path("nao/ha/pasta.lrn"), Path("semimagem.lrn")}, 1, "Erro ao criar o ficheiro."},
      {{}, 2, "Usage:"},
      {{"--dump"}, 2, "Usage:"},
      {{"--dump", "a", "b"}, 2, "Usage:"},
      {{"--print", "a"}, 2, "Usage:"},
  };
  for (const auto& c : cases) {
    const ToolRun r = Tool(c.args);
    EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(c.err)) << r.err.toStdString();
  }
  // A cover cut short anywhere but at a record's end is a read error,
  // whatever is done with it, and nothing is written from it.
  QFile inteira(Path("semimagem.lrn"));
  ASSERT_TRUE(inteira.open(QIODevice::ReadOnly));
  const QByteArray bytes = inteira.readAll();
  for (const int n : {1, 11, 571, 573, 2 * 572 - 1, int(bytes.size()) - 300, int(bytes.size()) - 1}) {
    QFile cortada(Path("cortada.lrn"));
    ASSERT_TRUE(cortada.open(QIODevice::WriteOnly | QIODevice::Truncate));
    cortada.write(bytes.left(n));
    cortada.close();
    for (const QStringList& args : {QStringList{"--dump", Path("cortada.lrn")},
                                    QStringList{"--save", Path("copia.lrn"), Path("cortada.lrn")}}) {
      const ToolRun r = Tool(args);
      EXPECT_EQ(r.status, 1) << n << " " << args.first().toStdString();
      EXPECT_TRUE(QString::fromUtf8(r.err).contains("Erro de leitura do ficheiro.")) << n << r.err.toStdString();
      EXPECT_TRUE(r.out.isEmpty()) << n;
      EXPECT_FALSE(QFile::exists(Path("copia.lrn"))) << n;
    }
  }
  const ToolRun version = Tool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, QByteArray("lurns-batch " LURNS_VERSION "\n"));
  const ToolRun help = Tool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.contains("--dump")) << help.out.toStdString();
  EXPECT_TRUE(help.out.contains("Exit status"));
}

TEST_F(Batch, MakesNoWindow) {
  // The tool runs on a QGuiApplication, on which making any widget is a
  // fatal error, and links none of the editor: neither the main window
  // nor any widget class is in the program.
  QFile exe(QStringLiteral(LURNS_BATCH));
  ASSERT_TRUE(exe.open(QIODevice::ReadOnly));
  const QByteArray bytes = exe.readAll();
  ASSERT_TRUE(bytes.contains("TLeitorCapa"));  // symbols are there to look at
  for (const char* absent : {"TfrmLurn", "12QApplication", "7QWidget"})
    EXPECT_FALSE(bytes.contains(absent)) << absent;
  // Every kind of record read, dumped and saved without one.
  const QString capa = CopyCover("imagens.lrn", dir.filePath("capas"));
  const ToolRun dump = Tool({"--dump", capa});
  EXPECT_EQ(dump.status, 0) << dump.err.toStdString();
  const ToolRun save = Tool({"--save", Path("copia.lrn"), capa});
  EXPECT_EQ(save.status, 0) << save.err.toStdString();
  EXPECT_FALSE(dump.err.contains("QWidget")) << dump.err.toStdString();
}

TEST_F(Batch, MeasuresTextsAsTheProgramsWindowDoes) {
  // Texts in every font the program meets, at every angle, with odd
  // captions; and the cover the tool's tests make.
  for (const QString name : {"textos.lrn", "ferramenta.lrn"}) {
    SCOPED_TRACE(name.toStdString());
    const QString capa = CopyCover(name, dir.filePath("medidas"));
    const ToolRun r = Tool({"--dump", capa});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonArray sheets = QJsonDocument::fromJson(r.out).object()["sheets"].toArray();
    ASSERT_EQ(sheets.size(), 4);

    TfrmLurn w(nullptr, false);
    w.Sessao().UsarRecentes(false);
    ASSERT_TRUE(w.Sessao().AbrirFicheiro(capa));
    int level = 0;
    for (int folha = folhaFrente; folha <= folhaCD; ++folha) {
      const QJsonArray objects = sheets[folha - 1]["objects"].toArray();
      const TOwnedComponents& owned = PainelFolha(w, folha)->Owned;
      ASSERT_EQ(owned.ComponentCount(), objects.size());
      for (int i = 0; i < objects.size(); ++i) {
        const QJsonObject o = objects[i].toObject();
        auto* c = static_cast<QWidget*>(owned.Components(i));
        SCOPED_TRACE(o["name"].toString().toStdString() + " " + o["caption"].toString().toStdString());
        EXPECT_EQ(c->objectName(), o["name"].toString());
        EXPECT_EQ(c->geometry(), QRect(o["left"].toInt(), o["top"].toInt(), o["width"].toInt(), o["height"].toInt()));
        // A level label measuring its caption by itself comes to the same.
        auto* t = qobject_cast<TProLabel*>(c);
        if (t && t->Angle() == 0) {
          ++level;
          t->SetAutoSize(false);
          t->SetAutoSize(true);
          EXPECT_EQ(t->size(), QSize(o["width"].toInt(), o["height"].toInt()));
        }
      }
    }
    EXPECT_GT(level, 0);
  }
}

TEST_F(Batch, RelativePictureNamesAreTakenFromTheCoversFolder) {
  const QString capa = CopyCover("imagens.lrn", dir.filePath("capa"));
  // Started from another folder, with the cover named by a relative path too.
  QDir().mkpath(Path("outra"));
  const ToolRun r = Tool({"--dump", QStringLiteral("../capa/imagens.lrn")}, Path("outra"));
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  // Only the names that really are missing are reported, in one message,
  // as they were looked for: in the cover's folder.
  const QString err = QString::fromUtf8(r.err);
  EXPECT_TRUE(err.startsWith(QString::fromUtf8("Imagens não encontradas.\n\n"))) << r.err.toStdString();
  EXPECT_EQ(err.count(dir.filePath("capa/nao-existe.png\n")), 1) << r.err.toStdString();
  EXPECT_EQ(err.count("\n/nao/ha/pasta/nenhuma.png\n"), 1) << r.err.toStdString();
  const QJsonArray sheets = QJsonDocument::fromJson(r.out).object()["sheets"].toArray();
  // Kept as written, the missing ones too (the front's second picture
  // record, whose file is missing, is the one that counts).
  EXPECT_EQ(sheets[0]["picture"].toString(), "/nao/ha/pasta/nenhuma.png");
  EXPECT_EQ(sheets[0]["objects"][0]["file"].toString(), "disco.png");
  EXPECT_EQ(sheets[1]["objects"][1]["file"].toString(), "nao-existe.png");
  EXPECT_EQ(sheets[2]["pictureBetweenSpines"].toString(), "disco.png");
  EXPECT_EQ(sheets[3]["fillStyle"].toString(), "tfsImageStretch");
  // Saved beside its pictures, the names are written back unchanged.
  ASSERT_EQ(Tool({"--save", Path("capa/copia.lrn"), capa}, Path("outra")).status, 0);
  EXPECT_EQ(Read("capa/copia.lrn"), [&] {
    QFile f(QStringLiteral(LURNS_SOURCE_DIR "/tests/data/capas/imagens.gravado.lrn"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }());
  // Saved into another folder, they are written so that they still name
  // the same files.
  const ToolRun gravada = Tool({"--save", Path("copia.lrn"), capa}, Path("outra"));
  ASSERT_EQ(gravada.status, 0);
  const ToolRun lida = Tool({"--dump", Path("copia.lrn")});
  ASSERT_EQ(lida.status, 0);
  // The missing pictures were kept, and are still missing from there.
  EXPECT_EQ(QString::fromUtf8(lida.err).count(dir.filePath("capa/nao-existe.png\n")), 1) << lida.err.toStdString();
  const QJsonArray copia = QJsonDocument::fromJson(lida.out).object()["sheets"].toArray();
  EXPECT_EQ(copia[0]["picture"].toString(), "/nao/ha/pasta/nenhuma.png");
  EXPECT_EQ(copia[0]["objects"][0]["file"].toString(), "capa/disco.png");
  EXPECT_EQ(copia[1]["objects"][1]["file"].toString(), "capa/nao-existe.png");
  EXPECT_EQ(copia[2]["pictureBetweenSpines"].toString(), "capa/disco.png");
  EXPECT_EQ(copia[3]["fillStyle"].toString(), "tfsImageStretch");
}

TEST_F(Batch, PrintsTheCoverIntoAPdfThroughTheWindowsCommands) {
  QImage img(4, 4, QImage::Format_RGB32);
  img.fill(Qt::green);
  ASSERT_TRUE(img.save(Path("disco.png")));
  MakeCover("capa.lrn", Path("disco.png"));
  QString why;
  auto pages = [&](const QString& file) { return pdf::Pages(file, &why); };
  // Page choices and copies: the number of pages and, for the disc alone,
  // the portrait page.
  struct {
    QStringList options;
    int pages;
  } cases[] = {
      {{}, 3},
      {{"--pages", "all"}, 3},
      {{"--pages", "2-3"}, 2},
      {{"--pages", "1-1", "--copies", "3"}, 3},
      {{"--copies", "2"}, 6},
      {{"--pages", "current:Interior"}, 1},
      {{"--pages", QString::fromUtf8("current:Trás")}, 1},
      {{"--margins", "50,13", "--sem-lombada"}, 3},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options.join(' ').toStdString());
    const QString out = Path(QStringLiteral("saida%1.pdf").arg(++n));
    const ToolRun r = Tool(QStringList({"-o", out}) + c.options + QStringList({Path("capa.lrn")}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(pages(out).size(), c.pages) << why.toStdString();
  }
  const ToolRun cd = Tool({"-o", Path("cd.pdf"), "--pages", "current:CD", Path("capa.lrn")});
  ASSERT_EQ(cd.status, 0) << cd.err.toStdString();
  const auto disc = pages(Path("cd.pdf"));
  ASSERT_EQ(disc.size(), 1);
  EXPECT_LT(disc[0].SizePt.width(), disc[0].SizePt.height());
  // The pages as pictures at true size.
  const ToolRun png = Tool({"--png", Path("png"), "--dpi", "50", Path("capa.lrn")});
  ASSERT_EQ(png.status, 0) << png.err.toStdString();
  const QImage first(Path("png/pagina-1.png")), third(Path("png/pagina-3.png"));
  EXPECT_NEAR(first.width(), 297 / 25.4 * 50, 2);
  EXPECT_NEAR(first.height(), 210 / 25.4 * 50, 2);
  EXPECT_NEAR(third.width(), 210 / 25.4 * 50, 2);
  // And as SVG drawings of their true size.
  const ToolRun svg = Tool({"--svg", Path("svg"), "--pages", "2-3", Path("capa.lrn")});
  ASSERT_EQ(svg.status, 0) << svg.err.toStdString();
  EXPECT_FALSE(QFile::exists(Path("svg/pagina-1.svg")));
  QFile drawing(Path("svg/pagina-3.svg"));
  ASSERT_TRUE(drawing.open(QIODevice::ReadOnly));
  EXPECT_TRUE(drawing.readAll().contains("<svg"));
  // Nothing of the user's was written.
  EXPECT_FALSE(QFile::exists(home.filePath("config/Lurns/Lurns.ini")));
}

TEST_F(Batch, PngAndSvgPagesAreThePdfsWithinOnePixel) {
  // A cover with pictures (a drawing on the front, a photograph on the
  // disc, clipped to its circle): the pictures and drawings lurns-batch
  // exports are the PDF's pages at the same resolution.
  const QString capa = CopyCover("imagens.lrn", Path("capa"));
  const int dpi = 60;
  const QString res = QString::number(dpi);
  ASSERT_EQ(Tool({"-o", Path("capa.pdf"), capa}).status, 0);
  ASSERT_EQ(Tool({"--png", Path("png"), "--dpi", res, capa}).status, 0);
  ASSERT_EQ(Tool({"--svg", Path("svg"), "--dpi", res, capa}).status, 0);
  for (int page = 1; page <= 3; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    QString why;
    const QImage pdf = pages::RasterisePdf(Path("capa.pdf"), page, dpi, &why);
    ASSERT_FALSE(pdf.isNull()) << why.toStdString();
    const QString name = QStringLiteral("pagina-%1").arg(page);
    const QImage pictures[] = {pages::Grey(QImage(Path("png/" + name + ".png"))),
                               pages::RenderSvg(Path("svg/" + name + ".svg"), pdf.size())};
    for (const QImage& picture : pictures) {
      ASSERT_FALSE(picture.isNull());
      EXPECT_NEAR(picture.width(), pdf.width(), 1);
      EXPECT_NEAR(picture.height(), pdf.height(), 1);
      int dark = 0, darkPicture = 0;
      EXPECT_EQ(pages::Unmatched(pdf, picture, &dark), 0);
      EXPECT_EQ(pages::Unmatched(picture, pdf, &darkPicture), 0);
      EXPECT_GT(dark, 50) << "nothing drawn";
    }
  }
}

TEST_F(Batch, PrintsTheDiscOnALabelSheetAtThePositionsAsked) {
  QImage img(4, 4, QImage::Format_RGB32);
  img.fill(Qt::green);
  ASSERT_TRUE(img.save(Path("disco.png")));
  MakeCover("capa.lrn", Path("disco.png"));
  // L7676: discs 117 mm across at (105, 80.5) and (105, 217.5).
  struct {
    const char* posicao;
    bool top, bottom;
  } cases[] = {{"1", true, false}, {"2", false, true}, {"ambas", true, true}, {nullptr, true, true}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.posicao ? c.posicao : "(none)");
    const QString out = Path(QStringLiteral("etiqueta%1.pdf").arg(++n));
    QStringList args = {"-o", out, "--pages", "3-3", "--etiqueta", "l7676"};
    if (c.posicao) args << "--posicao" << c.posicao;
    const ToolRun r = Tool(args + QStringList({Path("capa.lrn")}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QString why;
    const pdf::GreyImage page = pdf::Rasterise(out, 1, 100, &why);
    ASSERT_GT(page.Width, 0) << why.toStdString();
    const QRectF top = pdf::DarkBoxMM(page, QRectF(40, 15, 130, 131), 250);
    const QRectF bottom = pdf::DarkBoxMM(page, QRectF(40, 152, 130, 131), 250);
    EXPECT_EQ(!top.isEmpty(), c.top) << pdf::Describe(top);
    EXPECT_EQ(!bottom.isEmpty(), c.bottom) << pdf::Describe(bottom);
    if (c.top) {
      EXPECT_NEAR(top.center().y(), 80.5, 0.5) << pdf::Describe(top);
    }
    if (c.bottom) {
      EXPECT_NEAR(bottom.center().y(), 217.5, 0.5) << pdf::Describe(bottom);
    }
  }
  // Bad usage: nothing is printed.
  const QStringList bad[] = {
      {"--etiqueta", "L0000"},
      {"--etiqueta", "L7676", "--posicao", "3"},
      {"--posicao", "1"},
      {"--etiqueta", "L7676", "--margins", "10,10"},
      {"--ajuste", "2,-1.5,100.5,99.5"},
  };
  for (const QStringList& options : bad) {
    SCOPED_TRACE(options.join(' ').toStdString());
    const ToolRun r = Tool(QStringList({"-o", Path("mau.pdf")}) + options + QStringList({Path("capa.lrn")}));
    EXPECT_EQ(r.status, 2) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("mau.pdf")));
  }
  // An unknown part is told with the parts there are.
  EXPECT_TRUE(Tool({"-o", Path("mau.pdf"), "--etiqueta", "L0000", Path("capa.lrn")}).err.contains("EA-CD-ROM2Q"));
}

TEST_F(Batch, PrintsTheCalibrationPageIntoAFileUncalibrated) {
  const ToolRun r = Tool({"--calibracao", "-o", Path("cal.pdf")});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  QString why;
  const QList<pdf::Page> pages = pdf::Pages(Path("cal.pdf"), &why);
  ASSERT_EQ(pages.size(), 1) << why.toStdString();
  EXPECT_LT(pages[0].SizePt.width(), pages[0].SizePt.height());
  const pdf::GreyImage page = pdf::Rasterise(Path("cal.pdf"), 1, 600, &why);
  ASSERT_GT(page.Width, 0) << why.toStdString();
  // The crosshair at (50, 50) mm: its lines cross there.
  const QRectF across = pdf::DarkBoxMM(page, QRectF(40, 49.5, 20, 1));
  const QRectF down = pdf::DarkBoxMM(page, QRectF(49.5, 40, 1, 8));
  EXPECT_NEAR(across.center().y(), 50, 0.1) << pdf::Describe(across);
  EXPECT_NEAR(down.center().x(), 50, 0.1) << pdf::Describe(down);
  // The ruler's 100 mm tick along the top.
  const QRectF tick = pdf::DarkBoxMM(page, QRectF(99.5, 25.5, 1, 5));
  EXPECT_NEAR(tick.center().x(), 100, 0.1) << pdf::Describe(tick);
  // A file is never calibrated; an unknown printer is an error.
  EXPECT_EQ(Tool({"--calibracao", "-o", Path("x.pdf"), "--ajuste", "1,1,100,100"}).status, 2);
  EXPECT_EQ(Tool({"--calibracao"}).status, 2);
  EXPECT_EQ(Tool({"--calibracao", "--printer", "NaoHaEstaImpressora"}).status, 1);
}

TEST_F(Batch, PicturesThatAreNotFoundPrintNothing) {
  // With its pictures the cover prints them; alone, it prints without them
  // (and says which are missing), and still prints.
  const QString com = CopyCover("imagens.lrn", Path("com"));
  QDir().mkpath(Path("sem"));
  ASSERT_TRUE(QFile::copy(com, Path("sem/imagens.lrn")));
  QString why;
  const ToolRun r1 = Tool({"-o", Path("com.pdf"), com});
  ASSERT_EQ(r1.status, 0) << r1.err.toStdString();
  EXPECT_FALSE(pdf::Images(Path("com.pdf"), &why).isEmpty()) << why.toStdString();
  const ToolRun r2 = Tool({"-o", Path("sem.pdf"), Path("sem/imagens.lrn")});
  ASSERT_EQ(r2.status, 0) << r2.err.toStdString();
  EXPECT_TRUE(QString::fromUtf8(r2.err).contains(Path("sem/disco.png"))) << r2.err.toStdString();
  EXPECT_EQ(pdf::Pages(Path("sem.pdf"), &why).size(), 3) << why.toStdString();
  EXPECT_TRUE(pdf::Images(Path("sem.pdf"), &why).isEmpty()) << why.toStdString();
}

TEST_F(Batch, APrintThatCannotBeDoneWritesNothing) {
  MakeCover("capa.lrn", Path("nao-existe.png"));
  MakeBadCover("mau.lrn");
  if (HasFatalFailure()) return;
  struct {
    QStringList args;
    int status;
    QString err;
  } cases[] = {
      {{"-o", Path("a.pdf"), Path("mau.lrn")}, 1, "Ficheiro inválido!"},
      {{"-o", Path("a.pdf"), Path("falta.lrn")}, 1, "Erro ao abrir o ficheiro."},
      {{"--printer", "nao-existe", Path("capa.lrn")}, 1, "nao-existe"},
      {{"-o", Path("a.pdf"), "--pages", "4-5", Path("capa.lrn")}, 2, "--pages"},
      {{"-o", Path("a.pdf"), "--pages", "1-2000000000", Path("capa.lrn")}, 2, "--pages"},
      {{"-o", Path("a.pdf"), "--pages", "current:Lado", Path("capa.lrn")}, 2, "--pages"},
      {{"-o", Path("a.pdf"), "--copies", "0", Path("capa.lrn")}, 2, "--copies"},
      {{"-o", Path("a.pdf"), "--margins", "10", Path("capa.lrn")}, 2, "--margins"},
      {{"-o", Path("a.pdf"), "--dpi", "100", Path("capa.lrn")}, 2, "--dpi"},
      {{"-o", Path("a.pdf")}, 2, "name the cover file"},
      {{"-o", Path("a.pdf"), "--printer", "x", Path("capa.lrn")}, 2, "choose one"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ToolRun r = Tool(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(c.err)) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("a.pdf")));
  }
  // A picture file that is missing is reported, and the rest prints.
  const ToolRun r = Tool({"-o", Path("b.pdf"), Path("capa.lrn")});
  EXPECT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(QString::fromUtf8(r.err).contains("Imagem não encontrada.")) << r.err.toStdString();
  QString why;
  EXPECT_EQ(pdf::Pages(Path("b.pdf"), &why).size(), 3);
}

}  // namespace
