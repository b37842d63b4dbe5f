// SPDX-License-Identifier: GPL-3.0-or-later
// Pages and draw commands: attaching, detaching and clearing, faithful
// page copies that share nothing with their source, the image command's
// cached bitmap, the back references, and the page description texts.
#include "report/ppBands.h"
#include "report/ppClass.h"
#include "report/ppDevice.h"
#include "report/ppDrwCmd.h"
#include "report/ppReport.h"
#include "support/TestPictures.h"

#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QByteArray QtEncoded(const QImage& img, const char* format) {
  QByteArray bytes;
  QBuffer b(&bytes);
  b.open(QIODevice::WriteOnly);
  img.save(&b, format);
  return bytes;
}

TPicture Picture(const QByteArray& bytes, const QString& ext) {
  TPicture p;
  p.LoadFromData(bytes, ext);
  return p;
}

TPicture Jpeg(int width, int height) {
  JpegSpec s;
  s.width = width;
  s.height = height;
  s.pixel = [](int x, int, unsigned char* px) {
    px[0] = x % 2 ? 255 : 0;
    px[1] = 128;
    px[2] = 0;
  };
  return Picture(EncodeJpeg(s), "jpg");
}

TPicture Png(int width, int height, bool alpha) {
  QImage img(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  img.fill(alpha ? QColor(0, 0, 255, 0) : QColor(0, 0, 255));
  return Picture(QtEncoded(img, "PNG"), "png");
}

// A page with one command of each kind the cover reports make.
struct FilledPage {
  TppPage page;
  TppDrawText* text = new TppDrawText;
  TppDrawShape* shape = new TppDrawShape;
  TppDrawImage* image = new TppDrawImage;
  TppDrawLine* line = new TppDrawLine;
  FilledPage() {
    page.AbsolutePageNo = 2;
    page.AbsolutePageCount = 3;
    page.LastPage = true;
    page.DocumentName = "Report";
    page.PrintDateTime = QDateTime(QDate(2024, 5, 1), QTime(10, 0));
    TppPrinterSetup setup;
    setup.SetOrientation(poLandscape);
    setup.SetmmPaperWidth(297000);
    setup.SetmmPaperHeight(210000);
    page.SetPrinterSetup(&setup);

    text->Left = 25400;
    text->Top = 173567;
    text->Width = 115094;
    text->Height = 3969;
    text->Text = "Lurns para CD";
    text->Font.Name = "Arial";
    text->Font.SetSize(10);
    text->Font.Color = clBlack;
    text->Transparent = true;
    text->SetAlignment(taCenter);
    text->WrappedText = QStringList{"Lurns", "para CD"};
    text->SetTag(7);
    text->Clickable = true;
    shape->Left = 146315;
    shape->Top = 25400;
    shape->Brush = TBrush{clRed, bsSolid};
    shape->Pen = TPen{clBlue, psDash, 3};
    shape->ShapeType = stEllipse;
    shape->XCornerRound = 500;
    image->SetPicture(Jpeg(8, 4));
    image->Stretch = true;
    image->Center = true;
    line->Pen.Width = 2;
    line->Weight = 0.75f;
    line->LinePosition = lpBottom;
    line->LineStyle = lsDouble;
    for (TppDrawCommand* c : std::initializer_list<TppDrawCommand*>{text, shape, image, line})
      c->SetPage(&page);
  }
};

// A device that records what it was asked to draw.
class RecordingDevice : public TppDevice {
 public:
  using TppDevice::TppDevice;
  std::vector<TppDrawCommand*> drawn;
  bool RenderCommand(TppDrawCommand* c) override {
    drawn.push_back(c);
    return dynamic_cast<TppDrawShape*>(c) != nullptr;
  }
};

// Registered nowhere, and without a class name of its own.
class DeferredText : public TppDrawText {
 public:
  using TppDrawText::TppDrawText;
  bool IsDeferred() const override { return true; }
};

}  // namespace

TEST(Page, CopiesAreFaithfulAndIndependent) {
  FilledPage source;
  TppPage copy;
  copy.Assign(source.page);

  EXPECT_EQ(copy.AbsolutePageNo, 2);
  EXPECT_EQ(copy.AbsolutePageCount, 3);
  EXPECT_TRUE(copy.LastPage);
  EXPECT_EQ(copy.DocumentName, "Report");
  EXPECT_EQ(copy.PrintDateTime, source.page.PrintDateTime);
  EXPECT_TRUE(copy.PrinterSetup()->EqualTo(*source.page.PrinterSetup()));
  EXPECT_EQ(copy.PageDef().mmWidth, 297000);

  ASSERT_EQ(copy.DrawCommandCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_NE(copy.DrawCommands(i), source.page.DrawCommands(i));
    EXPECT_EQ(copy.DrawCommands(i)->ClassName(), source.page.DrawCommands(i)->ClassName());
    EXPECT_EQ(copy.DrawCommands(i)->Page(), &copy);
    EXPECT_EQ(copy.DrawCommands(i)->Owner(), &copy);
  }
  auto* text = dynamic_cast<TppDrawText*>(copy.DrawCommands(0));
  auto* shape = dynamic_cast<TppDrawShape*>(copy.DrawCommands(1));
  auto* image = dynamic_cast<TppDrawImage*>(copy.DrawCommands(2));
  auto* line = dynamic_cast<TppDrawLine*>(copy.DrawCommands(3));
  ASSERT_TRUE(text && shape && image && line);
  EXPECT_EQ(text->Left, 25400);
  EXPECT_EQ(text->Top, 173567);
  EXPECT_EQ(text->Width, 115094);
  EXPECT_EQ(text->Text, "Lurns para CD");
  EXPECT_EQ(text->Font, source.text->Font);
  EXPECT_EQ(text->Alignment(), taCenter);
  EXPECT_EQ(text->TextAlignment, taCentered);
  EXPECT_EQ(text->WrappedText, source.text->WrappedText);
  EXPECT_TRUE(text->Transparent);
  EXPECT_EQ(text->Tag(), 7);
  EXPECT_EQ(copy.ClickableCommands(), std::vector<TppDrawCommand*>{text});
  EXPECT_EQ(shape->Brush, source.shape->Brush);
  EXPECT_EQ(shape->Pen, source.shape->Pen);
  EXPECT_EQ(shape->ShapeType, stEllipse);
  EXPECT_EQ(shape->XCornerRound, 500);
  EXPECT_EQ(shape->DataType, dtGraphic);
  EXPECT_EQ(image->Picture().Width(), 8);
  EXPECT_TRUE(image->Stretch);
  EXPECT_TRUE(image->Center);
  EXPECT_EQ(line->Weight, 0.75f);
  EXPECT_EQ(line->LinePosition, lpBottom);
  EXPECT_EQ(line->LineStyle, lsDouble);
  EXPECT_EQ(line->Pen.Width, 2);

  // Changing the source afterwards leaves the copy as it was.
  source.text->Font.Name = "Courier New";
  source.text->WrappedText.clear();
  source.shape->Brush.Color = clGreen;
  source.shape->Pen.Width = 9;
  source.image->SetPicture(Png(3, 3, false));
  source.line->Pen.Color = clRed;
  source.page.PrinterSetup()->SetOrientation(poPortrait);
  EXPECT_EQ(text->Font.Name, "Arial");
  EXPECT_EQ(text->WrappedText.size(), 2);
  EXPECT_EQ(shape->Brush.Color, clRed);
  EXPECT_EQ(shape->Pen.Width, 3);
  EXPECT_EQ(image->Picture().Width(), 8);
  EXPECT_EQ(image->CachedBitmap().size(), QSize(8, 4));
  EXPECT_EQ(line->Pen.Color, clBlack);
  EXPECT_EQ(copy.PrinterSetup()->Orientation(), poLandscape);

  // And the copy outlives its source.
  auto* kept = new TppPage;
  kept->Assign(copy);
  TppPage* gone = new TppPage;
  gone->Assign(*kept);
  delete gone;
  EXPECT_EQ(kept->DrawCommandCount(), 4);
  delete kept;
}

TEST(Page, ClearFreesItsCommandsButNotDetachedOnes) {
  FilledPage f;
  TComponentRef<TppDrawCommand> text(f.text), shape(f.shape);
  f.shape->SetPage(nullptr);  // detached: the page no longer holds it
  EXPECT_EQ(f.page.DrawCommandCount(), 3);
  EXPECT_EQ(f.shape->Owner(), nullptr);
  EXPECT_EQ(f.page.ComponentCount(), 3);

  f.page.Clear();
  EXPECT_FALSE(text);
  EXPECT_TRUE(shape);
  EXPECT_EQ(f.page.DrawCommandCount(), 0);
  EXPECT_TRUE(f.page.ClickableCommands().empty());
  EXPECT_EQ(f.page.AbsolutePageNo, 2);  // Clear keeps the numbers, Reset does not

  f.shape->SetPage(&f.page);
  f.page.Reset();
  EXPECT_FALSE(shape);
  EXPECT_EQ(f.page.AbsolutePageNo, 0);
  EXPECT_EQ(f.page.AbsolutePageCount, 0);
  EXPECT_FALSE(f.page.LastPage);
  EXPECT_EQ(f.page.DocumentName, "");
}

TEST(Page, CommandsMoveBetweenPagesAndKeepTheirLists) {
  TppPage a, b;
  auto* deferred = new DeferredText;
  deferred->Clickable = true;
  deferred->SetPage(&a);
  EXPECT_EQ(a.DeferredCommands().size(), 1u);
  EXPECT_EQ(a.ClickableCommands().size(), 1u);
  deferred->SetPage(&b);
  EXPECT_TRUE(a.DeferredCommands().empty());
  EXPECT_TRUE(a.ClickableCommands().empty());
  EXPECT_EQ(a.ComponentCount(), 0);
  EXPECT_EQ(b.DeferredCommands().size(), 1u);
  EXPECT_EQ(deferred->Owner(), &b);
  delete deferred;  // a command freed on its own leaves its page
  EXPECT_EQ(b.DrawCommandCount(), 0);
  EXPECT_TRUE(b.DeferredCommands().empty());
}

TEST(Page, ACommandOfAnUnregisteredClassCannotBeCopied) {
  TppPage source, copy;
  (new DeferredText)->SetPage(&source);
  EXPECT_THROW(copy.Assign(source), Exception);
}

TEST(DrawImage, CachedBitmapByKindOfPicture) {
  QImage small(6, 5, QImage::Format_RGB32);
  small.fill(Qt::red);
  struct Case {
    const char* name;
    TPicture picture;
    QSize size;  // empty: no cached bitmap
  };
  const Case cases[] = {
      {"icon", Picture(QtEncoded(small, "ICO"), "ico"), QSize()},
      {"jpeg", Jpeg(40, 30), QSize(40, 30)},
      {"bitmap", Picture(QtEncoded(small, "BMP"), "bmp"), QSize(6, 5)},
      {"png", Png(7, 3, false), QSize(7, 3)},
      {"drawing",
       Picture("<svg xmlns='http://www.w3.org/2000/svg' width='9' height='9'><rect width='9' height='9'/></svg>", "svg"),
       QSize()},
      {"none", TPicture(), QSize()},
  };
  for (const Case& c : cases) {
    TppDrawImage image;
    image.SetPicture(c.picture);
    const QImage bitmap = image.CachedBitmap();
    EXPECT_EQ(bitmap.isNull(), c.size.isEmpty()) << c.name;
    if (!c.size.isEmpty()) {
      EXPECT_EQ(bitmap.size(), c.size) << c.name;
    }
  }
}

TEST(DrawImage, TransparentPartsOfACachedBitmapAreWhite) {
  TppDrawImage image;
  image.SetPicture(Png(4, 4, true));
  const QImage bitmap = image.CachedBitmap();
  ASSERT_EQ(bitmap.size(), QSize(4, 4));
  EXPECT_EQ(bitmap.pixelColor(1, 1).rgb(), QColor(Qt::white).rgb());
  // Made once, then kept until the picture changes.
  EXPECT_EQ(image.CachedBitmap().cacheKey(), bitmap.cacheKey());
  image.SetPicture(Jpeg(2, 2));
  EXPECT_EQ(image.CachedBitmap().size(), QSize(2, 2));
}

TEST(DrawText, LegacyAlignmentSetsTheTextAlignment) {
  const std::pair<TAlignment, TppTextAlignment> cases[] = {
      {taLeftJustify, taLeftJustified}, {taRightJustify, taRightJustified}, {taCenter, taCentered}};
  for (const auto& [legacy, alignment] : cases) {
    TppDrawText t;
    t.TextAlignment = taFullJustified;
    t.SetAlignment(legacy);
    EXPECT_EQ(t.TextAlignment, alignment) << int(legacy);
  }
}

TEST(DrawCommand, DrawsOnTheDeviceAndReachesItsComponentWhileItLives) {
  FilledPage f;
  RecordingDevice device;
  EXPECT_FALSE(f.text->DrawOn(&device));
  EXPECT_TRUE(f.shape->DrawOn(&device));
  EXPECT_EQ(device.drawn, (std::vector<TppDrawCommand*>{f.text, f.shape}));
  TppDevice plain;
  EXPECT_FALSE(f.image->DrawOn(&plain));  // the base device draws nothing

  auto* report = new TppReport;
  auto* band = new TppDetailBand(report);
  band->SetReport(report);
  auto* component = new TppComponent(report);
  component->SetBand(band);
  component->SetTag(5);
  int clicks = 0;
  component->OnDrawCommandClick = [&](TComponent* sender, TppDrawCommand* c) {
    EXPECT_EQ(sender, component);
    EXPECT_EQ(c, f.text);
    ++clicks;
  };
  component->FillDrawCommand(f.text);
  f.text->SetComponent(component);
  EXPECT_EQ(f.text->Tag(), 5);
  EXPECT_EQ(f.text->Band(), band);
  f.text->Click();
  EXPECT_EQ(clicks, 1);

  // A copied page keeps the references; once the report is gone they
  // answer null and the page still copies and clicks safely.
  TppPage copy;
  copy.Assign(f.page);
  delete report;
  EXPECT_EQ(f.text->Band(), nullptr);
  EXPECT_EQ(f.text->Component(), nullptr);
  EXPECT_EQ(copy.DrawCommands(0)->Component(), nullptr);
  copy.DrawCommands(0)->Click();
  EXPECT_EQ(clicks, 1);
}

TEST(PageDescription, PageAndPageOf) {
  TppPage page;
  page.AbsolutePageNo = 2;
  page.AbsolutePageCount = 3;
  EXPECT_EQ(page.Description(), "Página 2");
  EXPECT_EQ(page.LongDescription(), "Página 2 de 3");
}
