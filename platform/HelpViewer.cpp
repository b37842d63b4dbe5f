// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HelpViewer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextStream>
#include <QVBoxLayout>

namespace {
QString& HelpFileName() {
  static QString name;
  return name;
}

// The help document may be installed beside the program (a "help" folder
// next to the executable, or the data folder of an installation); failing
// that, the copy built into the program is used.
QStringList CandidateRoots() {
  const QString appDir = QCoreApplication::applicationDirPath();
  return {appDir + QStringLiteral("/help"), appDir + QStringLiteral("/../share/lurns/help"),
          QStringLiteral(":/help")};
}

QMap<int, QString> LoadContexts(const QString& root) {
  QMap<int, QString> map;
  QFile f(root + QStringLiteral("/contexts.txt"));
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return map;
  QTextStream in(&f);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const QStringList parts = line.split(QRegularExpression(QStringLiteral("\\s+")));
    bool ok = false;
    const int n = parts.value(0).toInt(&ok);
    if (ok && parts.size() >= 2) map.insert(n, parts[1]);
  }
  return map;
}

class HelpWindow : public QWidget {
 public:
  HelpWindow() {
    setWindowTitle(QStringLiteral("Ajuda - Lurns para CD"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(640, 520);
    auto* lay = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* contents = new QPushButton(QStringLiteral("&Conteúdo"), this);
    auto* back = new QPushButton(QStringLiteral("&Retroceder"), this);
    auto* close = new QPushButton(QStringLiteral("&Fechar"), this);
    row->addWidget(contents);
    row->addWidget(back);
    row->addStretch(1);
    row->addWidget(close);
    lay->addLayout(row);
    browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(true);
    lay->addWidget(browser, 1);
    connect(contents, &QPushButton::clicked, this, [this] { browser->setSource(QUrl(IndexUrl())); });
    connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
  }
  static QString IndexUrl() {
    const QString root = HelpRoot();
    return root.startsWith(QLatin1Char(':')) ? QStringLiteral("qrc") + root + QStringLiteral("/index.html")
                                             : QUrl::fromLocalFile(root + QStringLiteral("/index.html")).toString();
  }
  QTextBrowser* browser;
};

QPointer<HelpWindow>& Window() {
  static QPointer<HelpWindow> w;
  return w;
}

bool Open(const QString& page) {
  const QString root = HelpRoot();
  if (root.isEmpty()) return false;
  if (!Window()) Window() = new HelpWindow;
  HelpWindow* w = Window();
  const QString file = page.section(QLatin1Char('#'), 0, 0);
  const QString anchor = page.section(QLatin1Char('#'), 1);
  QUrl url = root.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + root + QLatin1Char('/') + file)
                                               : QUrl::fromLocalFile(root + QLatin1Char('/') + file);
  if (!anchor.isEmpty()) url.setFragment(anchor);
  w->browser->setSource(url);
  w->show();
  w->raise();
  w->activateWindow();
  return true;
}
}  // namespace

void SetApplicationHelpFile(const QString& name) { HelpFileName() = name; }
QString ApplicationHelpFile() { return HelpFileName(); }

QString HelpRoot() {
  for (const QString& root : CandidateRoots())
    if (QFileInfo::exists(root + QStringLiteral("/index.html"))) return root;
  return QString();
}

QString HelpTopicForContext(int context) {
  static QMap<int, QString> contexts = LoadContexts(HelpRoot());
  return contexts.value(context);
}

bool HelpContents() { return Open(QStringLiteral("index.html")); }

bool HelpContext(int context) {
  const QString topic = HelpTopicForContext(context);
  return Open(topic.isEmpty() ? QStringLiteral("index.html") : topic);
}

QTextBrowser* HelpViewerBrowser() { return Window() ? Window()->browser : nullptr; }
