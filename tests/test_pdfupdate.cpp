// SPDX-License-Identifier: GPL-3.0-or-later
// The printed PDF's own requests: no scaling when printed, and where each
// page's paper is cut, added as an incremental update that every PDF
// reader follows.
#include "platform/PdfUpdate.h"
#include "support/PdfTools.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray TwoPages(const QString& file) {
  {
    QPdfWriter w(file);
    w.setPageSize(QPageSize(QPageSize::A4));
    w.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&w);
    p.drawText(300, 300, QStringLiteral("Frente"));
    w.newPage();
    p.drawRect(300, 300, 1000, 1000);
  }
  QFile f(file);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

void Save(const QString& file, const QByteArray& bytes) {
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

TEST(PdfUpdate, ViewersAreAskedNotToScaleAndPagesSayWhereTheyAreCut) {
  QTemporaryDir dir;
  const QString file = dir.filePath("a.pdf");
  QByteArray pdf = TwoPages(file);
  const QByteArray before = pdf;
  TPdfPageBoxes first;
  first.TrimBox = QRectF(20, 30, 300, 200);   // from the top-left corner
  first.BleedBox = QRectF(11.5, 21.5, 317, 217);
  QString why;
  ASSERT_TRUE(AddPrintPreferences(pdf, {first, TPdfPageBoxes()}, &why)) << why.toStdString();
  // The writer's bytes stay; the update follows them.
  EXPECT_TRUE(pdf.startsWith(before));
  Save(file, pdf);
  const QByteArray boxes = pdf::RunTool("pdfinfo", {"-box", "-f", "1", "-l", "2", file}, &why);
  ASSERT_TRUE(why.isEmpty()) << why.toStdString();
  const QString info = QString::fromLatin1(boxes);
  // PDF space starts at the bottom: 842 - 230 = 612.
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page\\s+1 TrimBox:\\s+20\\.00\\s+612\\.00\\s+320\\.00\\s+812\\.00"))))
      << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page\\s+1 BleedBox:\\s+11\\.50\\s+603\\.50\\s+328\\.50\\s+820\\.50"))))
      << info.toStdString();
  // A page without boxes keeps its media box as its trim box.
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page\\s+2 TrimBox:\\s+0\\.00\\s+0\\.00\\s+595"))))
      << info.toStdString();
  // The catalogue a reader finds asks for no scaling.
  const qsizetype root = pdf.lastIndexOf("/Type /Catalog");
  ASSERT_GT(root, before.size());
  EXPECT_TRUE(pdf.mid(root, 200).contains("/ViewerPreferences << /PrintScaling /None >>"));
  // Still a good file: both pages render.
  EXPECT_FALSE(pdf::Rasterise(file, 2, 30, &why).Pixels.isEmpty()) << why.toStdString();
  EXPECT_TRUE(why.isEmpty()) << why.toStdString();
  // Once is enough: a second update asks nothing more of the catalogue.
  QByteArray again = pdf;
  ASSERT_TRUE(AddPrintPreferences(again, {}, &why));
  EXPECT_EQ(again, pdf);
}

TEST(PdfUpdate, AFileNotLaidOutAsTheWritersIsLeftAsItIs) {
  for (const QByteArray& bytes : {QByteArray("not a pdf"), QByteArray("%PDF-1.4\nstartxref\n99999\n%%EOF\n"),
                                  QByteArray("%PDF-1.4\nxref\n0 1\ntrailer\n<< /Size 1 >>\nstartxref\n9\n%%EOF\n")}) {
    QByteArray pdf = bytes;
    QString why;
    EXPECT_FALSE(AddPrintPreferences(pdf, {TPdfPageBoxes{QRectF(0, 0, 10, 10), {}}}, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(pdf, bytes);
  }
}
