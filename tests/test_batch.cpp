// lurns-batch as a user runs it: the JSON dump, re-saving, the messages on
// standard error and the exit status, without a display and without
// touching the user's settings.
#include "components/ProCtrls.h"
#include "document/FicheiroCapa.h"
#include "editor/uLurn.h"
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
  ToolRun Tool(const QStringList& args) {
    QProcess p;
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
  QFile bad(Path("mau.lrn"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write(QByteArray(572, 'x'));
  bad.close();
  struct {
    QStringList args;
    int status;
    QString err;  // a line the standard error must hold
  } cases[] = {
      {{"--dump", Path("semimagem.lrn")}, 0, "Imagem não encontrada."},
      {{"--dump", Path("falta.lrn")}, 1, "Erro ao abrir o ficheiro."},
      {{"--dump", Path("mau.lrn")}, 1, "Ficheiro inválido!"},
      {{"--save", Path("out.LRN"), Path("semimagem.lrn")}, 1, "Função ainda não implementada."},
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
  const ToolRun help = Tool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.contains("--dump")) << help.out.toStdString();
  EXPECT_TRUE(help.out.contains("Exit status"));
}

}  // namespace
