// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PdfUpdate.h"

#include <QRegularExpression>
#include <map>

namespace {

// The dictionary "<< ... >>" that starts at `from` (nested ones counted;
// strings and streams are not looked into: the objects edited here have
// none).
QByteArray Dictionary(const QByteArray& pdf, qsizetype from, qsizetype* end) {
  const qsizetype start = pdf.indexOf("<<", from);
  if (start < 0) return {};
  int depth = 0;
  for (qsizetype i = start; i + 1 < pdf.size(); ++i) {
    if (pdf[i] == '<' && pdf[i + 1] == '<') {
      ++depth;
      ++i;
    } else if (pdf[i] == '>' && pdf[i + 1] == '>') {
      --depth;
      ++i;
      if (depth == 0) {
        if (end) *end = i + 1;
        return pdf.mid(start, i + 1 - start);
      }
    }
  }
  return {};
}

// Where object `n` (generation 0) starts, from the last of its
// definitions.
qsizetype ObjectAt(const QByteArray& pdf, int n) {
  const QByteArray head = QByteArray::number(n) + " 0 obj";
  qsizetype at = pdf.lastIndexOf(head);
  while (at > 0 && pdf[at - 1] != '\n' && pdf[at - 1] != '\r') at = pdf.lastIndexOf(head, at - 1);
  return at;
}

QByteArray Number(double v) { return QByteArray::number(v, 'f', 4); }

QByteArray Box(const QRectF& r, double pageHeight) {
  // PDF space has its origin at the bottom-left corner.
  return "[" + Number(r.left()) + " " + Number(pageHeight - r.bottom()) + " " + Number(r.right()) + " " +
         Number(pageHeight - r.top()) + "]";
}

// The dictionary with `entries` added before its closing ">>".
QByteArray With(const QByteArray& dict, const QByteArray& entries) {
  return dict.left(dict.size() - 2) + entries + "\n>>";
}

}  // namespace

bool AddPrintPreferences(QByteArray& pdf, const QList<TPdfPageBoxes>& pages, QString* why) {
  auto fail = [&](const char* reason) {
    if (why) *why = QString::fromLatin1(reason);
    return false;
  };
  // The last cross-reference table and its trailer.
  const qsizetype sx = pdf.lastIndexOf("startxref");
  if (sx < 0) return fail("no startxref");
  const QByteArray tail = pdf.mid(sx + 9).trimmed();
  bool ok = false;
  const qint64 xref = tail.left(tail.indexOf('\n') < 0 ? tail.size() : tail.indexOf('\n')).trimmed().toLongLong(&ok);
  if (!ok || xref <= 0 || xref >= pdf.size() || !pdf.mid(xref).startsWith("xref")) return fail("no cross-reference table");
  const qsizetype tr = pdf.indexOf("trailer", xref);
  if (tr < 0 || tr > sx) return fail("no trailer");
  const QByteArray trailer = pdf.mid(tr, sx - tr);
  static const QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)"));
  static const QRegularExpression rootRe(QStringLiteral("/Root\\s+(\\d+)\\s+0\\s+R"));
  static const QRegularExpression infoRe(QStringLiteral("/Info\\s+(\\d+)\\s+0\\s+R"));
  const QString trailerText = QString::fromLatin1(trailer);
  const auto size = sizeRe.match(trailerText), root = rootRe.match(trailerText), info = infoRe.match(trailerText);
  if (!size.hasMatch() || !root.hasMatch()) return fail("the trailer has no /Size or /Root");

  std::map<int, QByteArray> changed;  // object number -> its new dictionary
  // The catalogue.
  const int rootNo = root.captured(1).toInt();
  const qsizetype rootAt = ObjectAt(pdf, rootNo);
  const QByteArray catalogue = rootAt >= 0 ? Dictionary(pdf, rootAt, nullptr) : QByteArray();
  if (catalogue.isEmpty() || !catalogue.contains("/Catalog")) return fail("no catalogue");
  if (!catalogue.contains("/ViewerPreferences"))
    changed[rootNo] = With(catalogue, "\n/ViewerPreferences << /PrintScaling /None >>");
  // The pages, in the order of their tree's /Kids.
  static const QRegularExpression pagesRe(QStringLiteral("/Pages\\s+(\\d+)\\s+0\\s+R"));
  const auto pagesRef = pagesRe.match(QString::fromLatin1(catalogue));
  if (!pagesRef.hasMatch()) return fail("no page tree");
  const qsizetype treeAt = ObjectAt(pdf, pagesRef.captured(1).toInt());
  const QByteArray tree = treeAt >= 0 ? Dictionary(pdf, treeAt, nullptr) : QByteArray();
  static const QRegularExpression kidsRe(QStringLiteral("/Kids\\s*\\[([^\\]]*)\\]"));
  const auto kids = kidsRe.match(QString::fromLatin1(tree));
  if (!kids.hasMatch()) return fail("no page list");
  static const QRegularExpression refRe(QStringLiteral("(\\d+)\\s+0\\s+R"));
  static const QRegularExpression mediaRe(
      QStringLiteral("/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]"));
  int index = 0;
  for (auto it = refRe.globalMatch(kids.captured(1)); it.hasNext() && index < pages.size(); ++index) {
    const int pageNo = it.next().captured(1).toInt();
    const TPdfPageBoxes& boxes = pages[index];
    if (boxes.TrimBox.isEmpty() && boxes.BleedBox.isEmpty()) continue;
    const qsizetype at = ObjectAt(pdf, pageNo);
    const QByteArray page = at >= 0 ? Dictionary(pdf, at, nullptr) : QByteArray();
    const auto media = mediaRe.match(QString::fromLatin1(page));
    if (!page.contains("/Page") || !media.hasMatch()) return fail("a page without its media box");
    const double height = media.captured(4).toDouble() - media.captured(2).toDouble();
    QByteArray entries;
    if (!boxes.TrimBox.isEmpty()) entries += "\n/TrimBox " + Box(boxes.TrimBox, height);
    if (!boxes.BleedBox.isEmpty()) entries += "\n/BleedBox " + Box(boxes.BleedBox, height);
    changed[pageNo] = With(page, entries);
  }
  if (changed.empty()) return true;

  // The update: the new objects, their cross-reference, a trailer that
  // points back to the writer's.
  QByteArray update;
  if (!pdf.endsWith('\n')) update += '\n';
  std::map<int, qint64> offsets;
  for (const auto& [n, dict] : changed) {
    offsets[n] = pdf.size() + update.size();
    update += QByteArray::number(n) + " 0 obj\n" + dict + "\nendobj\n";
  }
  const qint64 newXref = pdf.size() + update.size();
  update += "xref\n";
  for (const auto& [n, offset] : offsets) {
    update += QByteArray::number(n) + " 1\n";
    update += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
  }
  update += "trailer\n<<\n/Size " + size.captured(1).toLatin1() + "\n/Root " + QByteArray::number(rootNo) + " 0 R\n";
  if (info.hasMatch()) update += "/Info " + info.captured(1).toLatin1() + " 0 R\n";
  update += "/Prev " + QByteArray::number(xref) + "\n>>\nstartxref\n" + QByteArray::number(newXref) + "\n%%EOF\n";
  pdf += update;
  return true;
}
