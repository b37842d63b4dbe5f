// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance guard: the names of its shared objects, the first and
// the second copy, starts that overlap another copy's check, a copy that
// died holding the lock, the warning and its handler; then real copies of
// a small program started side by side, raised, killed, and run by two
// users.  Waits are bounded; nothing is timed.
#include "components/OneInstance.h"
#include "document/FicheiroCapa.h"
#include "editor/uLurn.h"
#include "session/Sessao.h"
#include "platform/InstanceLock.h"
#include "support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocalServer>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <grp.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kTitle = QStringLiteral("Lurns para CD");

// Processes events until `done` holds or 10 s have passed.
bool WaitUntil(const std::function<bool()>& done) {
  QDeadlineTimer deadline(10000);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

// Keeps an environment variable for the length of a test.
class EnvVar {
 public:
  explicit EnvVar(const char* name) : name_(name), set_(qEnvironmentVariableIsSet(name)), value_(qgetenv(name)) {}
  ~EnvVar() {
    if (set_)
      qputenv(name_, value_);
    else
      qunsetenv(name_);
  }

 private:
  const char* name_;
  bool set_;
  QByteArray value_;
};

class OneInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    oldTitle = ApplicationTitle();
    SetApplicationTitle(kTitle);
  }
  void TearDown() override {
    TOneInstance::ReleaseInstance();
    SetApplicationTitle(oldTitle);
  }
  QString PathOf(const QString& name) const { return runtime.path() + QLatin1Char('/') + SafeObjectName(name); }
  // A guard that records its requests to end instead of ending the tests.
  std::unique_ptr<TOneInstance> Guard(QObject* owner = nullptr) {
    auto g = std::make_unique<TOneInstance>(owner);
    g->TerminateApplication = [this] { ++terminations; };
    return g;
  }

  EnvVar keepRuntime{"XDG_RUNTIME_DIR"};
  // Short, as socket addresses are limited to about a hundred bytes.
  QTemporaryDir runtime{QDir::tempPath() + QStringLiteral("/oi-XXXXXX")};
  QString oldTitle;
  ScriptedDialogsGuard dialogs;
  int terminations = 0;
};

TEST_F(OneInstance, NamesAreBuiltFromTheTitleAndSafeForTheFileSystem) {
  EXPECT_EQ(TOneInstance::StartupLockName(kTitle), "Lurns para CD.OneInstance.CriticalSection");
  EXPECT_EQ(TOneInstance::InstanceLockName(kTitle), "Lurns para CD.OneInstance.Default");
  EXPECT_EQ(TOneInstance::ApplicationTitle(), kTitle);
  // The program's names stand as they are; anything else is escaped so
  // that different titles never share a lock.
  EXPECT_EQ(SafeObjectName("Lurns para CD.OneInstance.Default"), "Lurns para CD.OneInstance.Default");
  EXPECT_EQ(SafeObjectName("a/b"), "a%2Fb");
  EXPECT_EQ(SafeObjectName(QString::fromUtf8("Capa ç")), "Capa %C3%A7");
  EXPECT_NE(SafeObjectName("a/b"), SafeObjectName("a_b"));
  const QString longA = QString(300, QLatin1Char('x')) + "A", longB = QString(300, QLatin1Char('x')) + "B";
  EXPECT_LE(SafeObjectName(longA).size(), 64);
  EXPECT_NE(SafeObjectName(longA), SafeObjectName(longB));
  EXPECT_EQ(InstanceObjectPath("x"), runtime.path() + "/x");
}

TEST_F(OneInstance, DefaultsAsPlacedOnTheMainWindow) {
  QWidget w;
  TOneInstance g(&w);
  EXPECT_TRUE(g.ActivatePrevInstance());
  EXPECT_FALSE(g.ShowMessage());
  EXPECT_TRUE(g.Message().isEmpty());
  EXPECT_TRUE(g.About().isEmpty());
  EXPECT_FALSE(bool(g.OnShowMessage));
  EXPECT_EQ(g.MainWindow(), &w);
}

TEST_F(OneInstance, FirstCopyHoldsTheLockAndComesForwardWhenAsked) {
  QWidget w;
  w.showMinimized();
  auto g = Guard(&w);
  QSignalSpy raised(g.get(), &TOneInstance::ActivateRequested);
  EXPECT_TRUE(g->Loaded());
  EXPECT_FALSE(g->Terminated());
  EXPECT_EQ(terminations, 0);
  EXPECT_TRUE(TOneInstance::InstanceOwned());
  EXPECT_FALSE(g->TookOverAbandoned());
  // Another process finds it taken; the file names its holder.
  TNamedLock other(PathOf(TOneInstance::InstanceLockName(kTitle)));
  EXPECT_EQ(other.TryLock(), TNamedLock::Busy);
  QFile f(other.Path());
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll().trimmed().toLongLong(), qint64(getpid()));
  // A later copy's request restores the minimised window.
  EXPECT_TRUE(TInstanceChannel::RequestActivate(PathOf(TOneInstance::ChannelName(kTitle))));
  ASSERT_TRUE(WaitUntil([&] { return raised.count() == 1; }));
  EXPECT_FALSE(w.isMinimized());
  // At the end the lock is let go cleanly: the next holder finds it free.
  TOneInstance::ReleaseInstance();
  EXPECT_FALSE(TOneInstance::InstanceOwned());
  EXPECT_EQ(other.TryLock(), TNamedLock::Acquired);
}

TEST_F(OneInstance, SecondCopyAsksTheFirstToComeForwardAndEnds) {
  // The first copy, played by the test: it holds the lock and listens.
  TNamedLock first(PathOf(TOneInstance::InstanceLockName(kTitle)));
  ASSERT_EQ(first.TryLock(), TNamedLock::Acquired);
  TInstanceChannel channel;
  ASSERT_TRUE(channel.Listen(PathOf(TOneInstance::ChannelName(kTitle))));
  QSignalSpy asked(&channel, &TInstanceChannel::ActivateRequested);

  auto g = Guard();
  EXPECT_TRUE(g->Check());
  EXPECT_FALSE(TOneInstance::InstanceOwned());
  g->Reaction();
  EXPECT_TRUE(g->Terminated());
  EXPECT_EQ(terminations, 1);
  EXPECT_TRUE(dialogs->Asked.isEmpty());  // no warning by default
  EXPECT_TRUE(WaitUntil([&] { return asked.count() == 1; }));
}

TEST_F(OneInstance, StartDuringAnotherCopysCheckGivesWay) {
  TNamedLock inCheck(PathOf(TOneInstance::StartupLockName(kTitle)));
  ASSERT_EQ(inCheck.TryLock(), TNamedLock::Acquired);
  auto g = Guard();
  // Nobody listens yet: there is nothing to bring forward, and the copy ends.
  EXPECT_FALSE(g->Loaded());
  EXPECT_EQ(terminations, 1);
  EXPECT_FALSE(TOneInstance::InstanceOwned());
  TNamedLock instance(PathOf(TOneInstance::InstanceLockName(kTitle)));
  EXPECT_EQ(instance.TryLock(), TNamedLock::Acquired);
}

TEST_F(OneInstance, CopyThatDiedHoldingTheLockDoesNotBlockTheNext) {
  TNamedLock dead(PathOf(TOneInstance::InstanceLockName(kTitle)));
  ASSERT_EQ(dead.TryLock(), TNamedLock::Acquired);
  dead.Abandon();
  // It also left its socket behind.
  QFile stale(PathOf(TOneInstance::ChannelName(kTitle)));
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();

  QWidget w;
  w.show();
  auto g = Guard(&w);
  QSignalSpy raised(g.get(), &TOneInstance::ActivateRequested);
  EXPECT_TRUE(g->Loaded());
  EXPECT_TRUE(g->TookOverAbandoned());
  EXPECT_TRUE(TOneInstance::InstanceOwned());
  EXPECT_TRUE(TInstanceChannel::RequestActivate(PathOf(TOneInstance::ChannelName(kTitle))));
  EXPECT_TRUE(WaitUntil([&] { return raised.count() == 1; }));
}

class SecondCopy : public OneInstance {
 protected:
  void SetUp() override {
    OneInstance::SetUp();
    first.SetPath(PathOf(TOneInstance::InstanceLockName(kTitle)));
    ASSERT_EQ(first.TryLock(), TNamedLock::Acquired);
    ASSERT_TRUE(listener.listen(PathOf(TOneInstance::ChannelName(kTitle))));
  }
  // Whether the second copy knocked at the first one's door.  Its connect
  // has completed before the guard returns, so no waiting is needed.
  bool Asked() { return listener.waitForNewConnection(0); }

  // The first copy, played by the test: it holds the lock and listens.
  TNamedLock first;
  QLocalServer listener;
};

TEST_F(SecondCopy, WarningWithTheBuiltInOrTheGivenText) {
  auto g = Guard();
  g->SetShowMessage(true);
  EXPECT_FALSE(g->Loaded());
  EXPECT_EQ(dialogs->Asked, QStringList{"warning: Application \"Lurns para CD\" is already running."});
  // Captioned with the application's title, not with "Aviso".
  EXPECT_EQ(dialogs->WarningCaptions, QStringList{kTitle});
  auto h = Guard();
  h->SetShowMessage(true);
  h->SetMessage("Já está aberto.");
  EXPECT_FALSE(h->Loaded());
  EXPECT_EQ(dialogs->Asked.value(1), QString::fromUtf8("warning: Já está aberto."));
  EXPECT_EQ(dialogs->WarningCaptions, (QStringList{kTitle, kTitle}));
  EXPECT_EQ(terminations, 2);
}

TEST_F(SecondCopy, HandlerReplacesTheWarningAndMayKeepTheCopyRunning) {
  auto g = Guard();
  g->SetShowMessage(true);
  QObject* sender = nullptr;
  g->OnShowMessage = [&](QObject* s, bool& terminate) {
    sender = s;
    EXPECT_TRUE(terminate);
    terminate = false;
  };
  EXPECT_TRUE(g->Loaded());
  EXPECT_EQ(sender, g.get());
  EXPECT_FALSE(g->Terminated());
  EXPECT_EQ(terminations, 0);
  EXPECT_TRUE(dialogs->Asked.isEmpty());
  EXPECT_TRUE(Asked());  // the first copy is still brought forward
  EXPECT_FALSE(TOneInstance::InstanceOwned());
}

TEST_F(SecondCopy, WithoutActivationTheFirstIsLeftAlone) {
  auto g = Guard();
  g->SetActivatePrevInstance(false);
  EXPECT_FALSE(g->Loaded());
  EXPECT_FALSE(Asked());
  EXPECT_EQ(terminations, 1);
}

TEST_F(OneInstance, EachUserHasAPrivateFolderWhenThereIsNoRuntimeFolder) {
  EnvVar keepTmp("TMPDIR");
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  qunsetenv("XDG_RUNTIME_DIR");
  qputenv("TMPDIR", tmp.path().toLocal8Bit());
  const QString mine = tmp.path() + "/lurns-" + QString::number(getuid());
  EXPECT_EQ(InstanceDirectory(), mine);
  struct stat st {};
  ASSERT_EQ(stat(QFile::encodeName(mine).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // A folder of that name that others can enter is not trusted.
  chmod(QFile::encodeName(mine).constData(), 0777);
  EXPECT_TRUE(InstanceDirectory().isEmpty());
}

TEST_F(OneInstance, RunsUnguardedWhenNoLockCanBeMade) {
  // No runtime folder, and something that is not a folder where the
  // private one would be.
  EnvVar keepTmp("TMPDIR");
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  QFile blocker(tmp.path() + "/lurns-" + QString::number(getuid()));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  qputenv("XDG_RUNTIME_DIR", "/nonexistent/run");
  qputenv("TMPDIR", tmp.path().toLocal8Bit());
  ASSERT_TRUE(InstanceDirectory().isEmpty());
  auto g = Guard();
  EXPECT_TRUE(g->Loaded());
  EXPECT_EQ(terminations, 0);
}

// --- real copies ------------------------------------------------------------

// One copy of the helper program, with what it has said so far.
class Copy {
 public:
  Copy(const QString& runtimeDir, const QStringList& args = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtimeDir);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setProgram(QStringLiteral(LURNS_ONEINSTANCE_HELPER));
    p.setArguments(args);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  }
  void Start() { p.start(); }
  // Waits until a line beginning with `prefix` has come, or the copy ended
  // and said all it had to say.
  bool Said(const QString& prefix) {
    QDeadlineTimer deadline(15000);
    for (;;) {
      while (p.canReadLine()) lines << QString::fromUtf8(p.readLine()).trimmed();
      for (const QString& l : lines)
        if (l.startsWith(prefix)) return true;
      if (deadline.hasExpired()) return false;
      if (p.state() == QProcess::NotRunning) {
        if (p.bytesAvailable() == 0) return false;
        continue;
      }
      p.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 1000)));
    }
  }
  bool Running() const { return p.state() == QProcess::Running; }
  // Ended by itself with code 0.
  bool EndedCleanly() {
    if (p.state() != QProcess::NotRunning && !p.waitForFinished(15000)) return false;
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  }
  bool Quit() {
    p.write("quit\n");
    p.closeWriteChannel();
    return EndedCleanly();
  }
  ~Copy() {
    if (p.state() != QProcess::NotRunning) {
      p.kill();
      p.waitForFinished(15000);
    }
  }

  QProcess p;
  QStringList lines;
};

class Copies : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(runtime.isValid()); }
  QTemporaryDir runtime{QDir::tempPath() + QStringLiteral("/oi-XXXXXX")};
};

TEST_F(Copies, SimultaneousStartsLeaveExactlyOneRunning) {
  std::vector<std::unique_ptr<Copy>> copies;
  for (int i = 0; i < 4; ++i) copies.push_back(std::make_unique<Copy>(runtime.path()));
  for (auto& c : copies) c->Start();
  int running = 0, second = 0;
  Copy* survivor = nullptr;
  for (auto& c : copies) {
    ASSERT_TRUE(c->Said("running") || c->Said("second")) << c->lines.join('|').toStdString();
    if (c->Said("running")) {
      ++running;
      survivor = c.get();
    } else {
      ++second;
      EXPECT_TRUE(c->EndedCleanly());
    }
  }
  EXPECT_EQ(running, 1);
  EXPECT_EQ(second, 3);
  ASSERT_NE(survivor, nullptr);
  EXPECT_TRUE(survivor->Running());
  EXPECT_TRUE(survivor->Quit());
}

TEST_F(Copies, SecondStartRestoresTheFirstAndExitsZero) {
  Copy first(runtime.path(), {"--minimised"});
  first.Start();
  ASSERT_TRUE(first.Said("running"));
  Copy second(runtime.path());
  second.Start();
  EXPECT_TRUE(second.Said("second"));
  EXPECT_TRUE(second.EndedCleanly());
  ASSERT_TRUE(first.Said("activated"));
  EXPECT_TRUE(first.lines.contains("activated minimised=0")) << first.lines.join('|').toStdString();
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(first.Quit());
}

TEST_F(Copies, ASecondStartWithAFileHandsItToTheFirst) {
  // As the file manager starts the program for a cover: the running copy
  // comes forward and is handed the file; the second exits as it always did.
  Copy first(runtime.path(), {"--minimised"});
  first.Start();
  ASSERT_TRUE(first.Said("running"));
  const QString names[] = {QStringLiteral("/capas/Lado A.lrn"), QString::fromUtf8("/capas/ação.lrn")};
  for (const QString& name : names) {
    Copy second(runtime.path(), {"--open", name});
    second.Start();
    EXPECT_TRUE(second.Said("second"));
    EXPECT_TRUE(second.EndedCleanly());
    ASSERT_TRUE(first.Said("open " + name)) << first.lines.join('|').toStdString();
  }
  EXPECT_TRUE(first.lines.contains("open /capas/Lado A.lrn")) << first.lines.join('|').toStdString();
  EXPECT_TRUE(first.lines.contains(QString::fromUtf8("open /capas/ação.lrn"))) << first.lines.join('|').toStdString();
  EXPECT_TRUE(first.lines.contains("activated minimised=0"));
  // Without a file only the window comes forward.
  Copy third(runtime.path());
  third.Start();
  EXPECT_TRUE(third.EndedCleanly());
  EXPECT_TRUE(first.Quit());
  EXPECT_EQ(first.lines.filter(QRegularExpression("^open ")).size(), 2) << first.lines.join('|').toStdString();
}

TEST_F(SecondCopy, WithoutActivationAFileIsStillHandedOver) {
  auto g = Guard();
  g->SetActivatePrevInstance(false);
  g->SetFileToOpen("/capas/x.lrn");
  EXPECT_FALSE(g->Loaded());
  EXPECT_TRUE(Asked());
}

TEST_F(OneInstance, TheRunningCopyIsToldOfEveryFileHandedOver) {
  QWidget w;
  w.show();
  auto g = Guard(&w);
  QStringList opened;
  QObject::connect(g.get(), &TOneInstance::OpenRequested, [&](const QString& f) { opened << f; });
  QSignalSpy raised(g.get(), &TOneInstance::ActivateRequested);
  ASSERT_TRUE(g->Loaded());
  const QString channel = PathOf(TOneInstance::ChannelName(kTitle));
  const QString longName = QStringLiteral("/") + QString(3000, QLatin1Char('n')) + QStringLiteral("\nb.lrn");
  EXPECT_TRUE(TInstanceChannel::Request(channel, true, QString::fromUtf8("/pasta/capa ç.lrn")));
  EXPECT_TRUE(TInstanceChannel::Request(channel, false, longName));
  ASSERT_TRUE(WaitUntil([&] { return opened.size() == 2; }));
  EXPECT_EQ(opened, (QStringList{QString::fromUtf8("/pasta/capa ç.lrn"), longName}));
  EXPECT_EQ(raised.count(), 1);
  // Nothing to send is not sent.
  EXPECT_FALSE(TInstanceChannel::Request(channel, false, QString()));
}

TEST_F(OneInstance, TheMainWindowOpensACoverHandedOverWhenItIsFree) {
  QTemporaryDir capas;
  ASSERT_TRUE(capas.isValid());
  const QString capa = capas.filePath("entregue.lrn");
  {
    TDocumento d;
    TObjecto t = TObjecto::NovoTexto();
    t.Texto = "entregue";
    t.Angulo = 90;
    t.TamanhoAutomatico = false;
    t.Width = 20;
    t.Height = 80;
    d.Adicionar(folhaFrente, t);
    ASSERT_EQ(GravarCapa(d, capa).Fim, TFimGravacao::Gravado);
  }
  TfrmLurn w(nullptr, true);
  w.Sessao().UsarRecentes(false);
  ASSERT_TRUE(w.findChild<TOneInstance*>("oneInstance1"));
  ASSERT_FALSE(w.OutraCopiaAberta());
  w.show();
  const QString channel = PathOf(TOneInstance::ChannelName(kTitle));
  // While a modal dialog is open the cover waits; it opens when the dialog
  // has gone.
  QDialog dlg(&w);
  bool abertoDurante = true;
  QTimer::singleShot(0, &dlg, [&] {
    EXPECT_TRUE(TInstanceChannel::Request(channel, true, capa));
    QTimer::singleShot(300, &dlg, [&] {
      abertoDurante = !w.Sessao().Documento().Objectos(folhaFrente).empty();
      dlg.reject();
    });
  });
  dlg.exec();
  EXPECT_FALSE(abertoDurante);
  ASSERT_TRUE(WaitUntil([&] { return !w.Sessao().Documento().Objectos(folhaFrente).empty(); }));
  EXPECT_EQ(w.Sessao().Documento().Objectos(folhaFrente)[0].Texto, "entregue");
  EXPECT_TRUE(w.Sessao().NomeFicheiro().isEmpty());
  EXPECT_EQ(w.Sessao().FicheiroOrigem(), capa);
  EXPECT_TRUE(dialogs->Asked.isEmpty());
}

TEST_F(Copies, KilledCopyDoesNotBlockTheNextStart) {
  {
    Copy killed(runtime.path());
    killed.Start();
    ASSERT_TRUE(killed.Said("running"));
    killed.p.kill();  // SIGKILL: no clean-up of any kind
    ASSERT_TRUE(killed.p.waitForFinished(15000));
  }
  Copy next(runtime.path());
  next.Start();
  ASSERT_TRUE(next.Said("running"));
  EXPECT_TRUE(next.lines.contains("running abandoned"));
  // It is a proper first copy: a later start raises it.
  Copy later(runtime.path());
  later.Start();
  EXPECT_TRUE(later.Said("second"));
  EXPECT_TRUE(later.EndedCleanly());
  EXPECT_TRUE(next.Said("activated"));
  EXPECT_TRUE(next.Quit());
  // Ended cleanly, it leaves nothing stale behind.
  Copy after(runtime.path());
  after.Start();
  ASSERT_TRUE(after.Said("running"));
  EXPECT_TRUE(after.lines.contains("running"));
  EXPECT_TRUE(after.Quit());
}

TEST_F(Copies, TwoUsersDoNotBlockEachOther) {
  if (getuid() != 0) GTEST_SKIP() << "needs root to start a copy as another user";
  constexpr uid_t kNobody = 65534;
  QTemporaryDir otherRuntime(QDir::tempPath() + QStringLiteral("/oi-XXXXXX"));
  ASSERT_TRUE(otherRuntime.isValid());
  ASSERT_EQ(chown(QFile::encodeName(otherRuntime.path()).constData(), kNobody, kNobody), 0);

  Copy mine(runtime.path());
  mine.Start();
  ASSERT_TRUE(mine.Said("running"));
  Copy theirs(otherRuntime.path());
  theirs.p.setChildProcessModifier([] {
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(126);
  });
  theirs.Start();
  if (!theirs.p.waitForStarted(15000) || (!theirs.Said("running") && theirs.p.exitCode() == 126))
    GTEST_SKIP() << "the helper cannot run as another user here";
  EXPECT_TRUE(theirs.lines.contains("running"));
  struct stat st {};
  const QString theirLock = otherRuntime.path() + "/" + SafeObjectName(TOneInstance::InstanceLockName(kTitle));
  ASSERT_EQ(stat(QFile::encodeName(theirLock).constData(), &st), 0);
  EXPECT_EQ(st.st_uid, kNobody);
  EXPECT_TRUE(theirs.Quit());
  EXPECT_TRUE(mine.Quit());
}

}  // namespace
