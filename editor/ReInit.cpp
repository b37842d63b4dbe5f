// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/ReInit.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QTranslator>
#include <QWidget>
#include <algorithm>
#include <memory>

namespace {
std::vector<TFormDesign*>& Registry() {
  static std::vector<TFormDesign*> forms;
  return forms;
}

struct Module {
  std::unique_ptr<QTranslator> translator;
  QString file;
};
Module& InUse() {
  static Module m;
  return m;
}

void SetText(QObject* o, const QString& t) {
  if (auto* a = qobject_cast<QAction*>(o)) a->setText(t);
  else if (auto* m = qobject_cast<QMenu*>(o)) m->setTitle(t);
  else if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow()) w->setWindowTitle(t);
  else if (o->metaObject()->indexOfProperty("text") >= 0) o->setProperty("text", t);
  else if (o->metaObject()->indexOfProperty("title") >= 0) o->setProperty("title", t);
}
}  // namespace

TFormDesign::TFormDesign(QWidget* form, const char* className) : form_(form), className_(className) {
  Registry().push_back(this);
}

TFormDesign::~TFormDesign() {
  auto& r = Registry();
  r.erase(std::remove(r.begin(), r.end(), this), r.end());
}

void TFormDesign::Set(const char* source, std::function<void(const QString&)> apply) {
  apply(DesignText(className_, source));
  entries_.push_back({source, std::move(apply)});
}

void TFormDesign::Caption(QObject* o, const char* source) {
  QPointer<QObject> p(o);
  Set(source, [p](const QString& t) {
    if (p) SetText(p, t);
  });
}

void TFormDesign::Hint(QObject* o, const char* source) {
  QPointer<QObject> p(o);
  Set(source, [p](const QString& t) {
    if (!p) return;
    if (auto* a = qobject_cast<QAction*>(p.data())) {
      a->setToolTip(t);
      a->setStatusTip(t);
    } else if (auto* w = qobject_cast<QWidget*>(p.data())) {
      w->setToolTip(t);
    }
  });
}

void TFormDesign::Reload() {
  for (Entry& e : entries_) e.apply(DesignText(className_, e.source));
}

QStringList TFormDesign::Sources() const {
  QStringList out;
  for (const Entry& e : entries_) out << QString::fromUtf8(e.source);
  return out;
}

QString DesignText(const char* className, const char* source) {
  return QCoreApplication::translate(className, source);
}

QString LocaleAbbreviation(int localeId) {
  switch (localeId) {
    case 1033: return QStringLiteral("ENU");
    case 2057: return QStringLiteral("ENG");
    case 2070: return QStringLiteral("PTG");
    case 1046: return QStringLiteral("PTB");
    case 1036: return QStringLiteral("FRA");
    case 1031: return QStringLiteral("DEU");
    case 3082: return QStringLiteral("ESN");
    default: return QString();
  }
}

bool LoadLanguageModule(int localeId, const QString& programFile) {
  const QString program =
      (programFile.isEmpty() ? QCoreApplication::applicationFilePath() : programFile).left(260);
  const QString abbrev = LocaleAbbreviation(localeId).left(4);
  if (program.isEmpty() || abbrev.isEmpty()) return false;
  // A program on Linux usually has no extension: the abbreviation is then
  // appended instead of replacing one.
  const QFileInfo info(program);
  const int dot = info.fileName().lastIndexOf(QLatin1Char('.'));
  const QString base = dot < 0 ? program : program.left(program.size() - info.fileName().size() + dot);
  // Beside the program first, then where the package installs them
  // (<prefix>/share/lurns beside <prefix>/bin).
  const QString shared = QDir::cleanPath(info.absolutePath() + QStringLiteral("/../share/lurns/") +
                                         QFileInfo(base).fileName());
  auto tryLoadFrom = [&](const QString& from, const QString& ext) -> bool {
    const QString file = from + QLatin1Char('.') + ext;
    auto t = std::make_unique<QTranslator>();
    if (!QFileInfo(file).isFile() || !t->load(file)) return false;
    Module& m = InUse();
    if (m.translator) QCoreApplication::removeTranslator(m.translator.get());
    QCoreApplication::installTranslator(t.get());
    m.translator = std::move(t);
    m.file = file;
    return true;
  };
  auto tryLoad = [&](const QString& from) {
    return tryLoadFrom(from, abbrev) || tryLoadFrom(from, abbrev.left(2));
  };
  return tryLoad(base) || tryLoad(shared);
}

QString LanguageModuleInUse() { return InUse().file; }

namespace {
// Qt's translations in use, the one searched first last.
std::vector<std::unique_ptr<QTranslator>>& PlatformTranslators() {
  static std::vector<std::unique_ptr<QTranslator>> t;
  return t;
}
}  // namespace

bool LoadPlatformTranslations(int localeId, const QString& folder) {
  auto& emUso = PlatformTranslators();
  for (auto& t : emUso) QCoreApplication::removeTranslator(t.get());
  emUso.clear();
  if (localeId != 2070) return true;  // Qt speaks English by itself
  const QString pasta = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
  // The translator installed last is searched first: the European
  // Portuguese one, then the Brazilian one for the texts it lacks (newer
  // dialogs, the standard buttons).
  for (const char* nome : {"qtbase_pt_BR", "qt_pt_PT"}) {
    auto t = std::make_unique<QTranslator>();
    if (!t->load(QString::fromLatin1(nome), pasta)) continue;
    QCoreApplication::installTranslator(t.get());
    emUso.push_back(std::move(t));
  }
  return !emUso.empty();
}

void ReloadFormResource(TFormDesign& design) { design.Reload(); }

void ReloadForms() {
  for (TFormDesign* d : std::vector<TFormDesign*>(Registry()))
    if (d->Form()) ReloadFormResource(*d);
}

std::vector<TFormDesign*> OpenForms() { return Registry(); }

QLabel* RotuloDesenho(TFormDesign& d, QWidget* parent, const char* text, int x, int y, int pixelSize, int width,
                      bool wordWrap) {
  auto* l = new QLabel(parent);
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(pixelSize);
  f.setBold(true);
  l->setFont(f);
  l->setWordWrap(wordWrap);
  l->move(x, y);
  QPointer<QLabel> p(l);
  auto apply = [p, width](const QString& t) {
    if (!p) return;
    p->setText(t);
    if (width > 0) p->resize(width, p->wordWrap() ? std::max(p->heightForWidth(width), 1) : p->sizeHint().height());
    else p->adjustSize();
  };
  if (*text) d.Set(text, apply);
  else apply(QString());
  return l;
}
