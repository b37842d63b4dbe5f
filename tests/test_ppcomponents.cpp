// SPDX-License-Identifier: GPL-3.0-or-later
// The printable components: the draw commands labels, shapes and images
// make on a page, and how labels and images size themselves.
#include "support/QtPrint.h"
#include "support/ReportFixtures.h"
#include "support/ScriptedPrinters.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

namespace {

int Mm(int screenPixels) {
  return UnitsToMMThousandths(utScreenPixels, dirHorizontal, nullptr, float(screenPixels));
}
int Px(int mm) { return ppTrunc(MMThousandthsToUnits(mm, utScreenPixels, dirHorizontal)); }

// Generates the report and answers the commands of its one page.
std::vector<TppDrawCommand*> Commands(TppReport* report, TCaptureDevice& device) {
  device.AttachPublisher(report->Publisher());
  report->GenerateToDevices();
  device.AttachPublisher(nullptr);
  std::vector<TppDrawCommand*> out;
  if (device.Pages.empty()) return out;
  TppPage& page = *device.Pages.back();
  for (int i = 0; i < page.DrawCommandCount(); ++i) out.push_back(page.DrawCommands(i));
  return out;
}

TPicture Jpeg(int width, int height) {
  JpegSpec s;
  s.width = width;
  s.height = height;
  s.pixel = [](int, int, unsigned char* px) { px[0] = px[1] = px[2] = 0; };
  TPicture p;
  p.LoadFromData(EncodeJpeg(s), "jpg");
  return p;
}

}  // namespace

class Components : public ScriptedPrintersTest {};

TEST_F(Components, ShapesKeepTheirOutlineInsideAndCentreSquaresAndCircles) {
  Install({});
  const struct {
    TShapeType shape;
    int pen, w, h;                       // screen pixels
    int left, top, right, bottom, corner;  // expected, screen pixels
    TShapeType drawn;
  } cases[] = {
      {stRectangle, 1, 100, 60, 0, 0, 100, 60, 15, stRectangle},
      {stRectangle, 4, 100, 60, 2, 2, 98, 58, 15, stRectangle},
      {stCircle, 1, 120, 80, 20, 0, 100, 80, 20, stEllipse},
      {stSquare, 1, 80, 120, 0, 20, 80, 100, 20, stRectangle},
      {stRoundSquare, 4, 120, 80, 22, 2, 98, 78, 20, stRoundRect},
      {stRoundRect, 1, 100, 60, 0, 0, 100, 60, 15, stRoundRect},
      {stEllipse, 0, 50, 50, 0, 0, 50, 50, 12, stEllipse},
  };
  for (const auto& c : cases) {
    TComponent owner;
    TestReport r(&owner);
    auto* shape = new TppShape(&owner);
    shape->SetBand(r.band);
    shape->SetmmLeft(10000);
    shape->SetmmTop(20000);
    shape->SetmmWidth(Mm(c.w));
    shape->SetmmHeight(Mm(c.h));
    shape->SetShape(c.shape);
    TPen pen;
    pen.Width = c.pen;
    shape->SetPen(pen);
    TCaptureDevice device;
    const auto commands = Commands(r.report, device);
    ASSERT_EQ(commands.size(), 1u);
    auto* cmd = dynamic_cast<TppDrawShape*>(commands[0]);
    ASSERT_NE(cmd, nullptr);
    // The component prints at its band place plus the page's margins.
    const int x0 = 6350 + 10000, y0 = 6350 + 20000;
    EXPECT_EQ(shape->PrintRect().Left, x0);
    EXPECT_EQ(shape->PrintRect().Top, y0);
    SCOPED_TRACE(c.shape);
    EXPECT_EQ(cmd->Left, x0 + Mm(c.left));
    EXPECT_EQ(cmd->Top, y0 + Mm(c.top));
    EXPECT_EQ(cmd->Width, Mm(c.right) - Mm(c.left));
    EXPECT_EQ(cmd->Height, Mm(c.bottom) - Mm(c.top));
    EXPECT_EQ(cmd->XCornerRound, Mm(c.corner));
    EXPECT_EQ(cmd->YCornerRound, Mm(c.corner));
    EXPECT_EQ(cmd->ShapeType, c.drawn);
    EXPECT_EQ(cmd->Pen, pen);
  }
}

TEST_F(Components, AClearBrushMakesAShapeTransparent) {
  Install({});
  TppShape shape;
  EXPECT_FALSE(shape.Transparent());
  EXPECT_EQ(shape.mmWidth(), 13229);  // 50 screen pixels
  TBrush clear;
  clear.Style = bsClear;
  shape.SetBrush(clear);
  EXPECT_TRUE(shape.Transparent());
  shape.SetBrush(TBrush());
  EXPECT_FALSE(shape.Transparent());
}

// Measured on the screen without a printer, and with the fonts of a
// 300-pixels-per-inch printer.
class LabelSizing : public ScriptedPrintersTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LabelSizing, ARightAlignedAutoSizedLabelKeepsItsRightEdge) {
  if (GetParam()) {
    TScriptedPrinter p = TScriptedPrinter::Standard("P");
    p.PixelsPerInchX = p.PixelsPerInchY = 300;
    Install({p});
  } else {
    Install({});
  }
  TComponent owner;
  TestReport r(&owner);
  auto* label = new TppLabel(&owner);
  label->SetBand(r.band);
  label->SetmmLeft(Mm(300));
  TFont f;
  f.Name = "DejaVu Sans";
  f.SetSize(12);
  label->SetFont(f);
  label->SetTextAlignment(taRightJustified);
  label->SetCaption("ab");
  const int right = Px(label->mmLeft()) + Px(label->mmWidth());
  const int narrow = Px(label->mmWidth());
  label->SetCaption("abcdefghijk");
  EXPECT_GT(Px(label->mmWidth()), narrow * 3);
  EXPECT_NEAR(Px(label->mmLeft()) + Px(label->mmWidth()), right, 1);
  // One line high, whatever the device measured with.
  EXPECT_NEAR(Px(label->mmHeight()), 19, 3);

  // Without AutoSize only the height follows the text.
  label->SetAutoSize(false);
  label->SetmmHeight(Mm(100));
  const int left = label->mmLeft(), width = label->mmWidth();
  label->SetFont(f);
  TFont bigger = f;
  bigger.SetSize(24);
  label->SetFont(bigger);
  EXPECT_EQ(label->mmLeft(), left);
  EXPECT_EQ(label->mmWidth(), width);
  EXPECT_NEAR(Px(label->mmHeight()), 38, 5);
}

INSTANTIATE_TEST_SUITE_P(Devices, LabelSizing, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Printer" : "Screen"; });

TEST_F(Components, LabelsMakeTextCommandsWithTheirTextAndFont) {
  Install({});
  TComponent owner;
  TestReport r(&owner);
  auto* label = new TppLabel(&owner);
  label->SetName("ppLabel1");
  EXPECT_EQ(label->UserName(), "Label1");
  EXPECT_EQ(label->Caption(), "Label1");  // a caption that repeats the user name follows it
  label->SetUserName("Titulo");
  EXPECT_EQ(label->Caption(), "Titulo");
  label->SetCaption("Capa");
  label->SetUserName("Outro");
  EXPECT_EQ(label->Caption(), "Capa");
  EXPECT_EQ(label->Description(), "Etiqueta");

  label->SetBand(r.band);
  label->SetTextAlignment(taFullJustified);  // memos only
  EXPECT_EQ(label->TextAlignment(), taLeftJustified);
  label->SetTextAlignment(taCentered);
  // A white, transparent text still makes its command.
  TFont f;
  f.Color = clWhite;
  label->SetFont(f);
  label->SetTransparent(true);
  label->OnGetText = [](TComponent*, QString& text) { text += " 1"; };
  TCaptureDevice device;
  const auto commands = Commands(r.report, device);
  ASSERT_EQ(commands.size(), 1u);
  auto* text = dynamic_cast<TppDrawText*>(commands[0]);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Text, "Capa 1");
  EXPECT_EQ(text->TextAlignment, taCentered);
  EXPECT_EQ(text->Alignment(), taCenter);
  EXPECT_TRUE(text->Transparent);
  EXPECT_TRUE(text->AutoSize);
  EXPECT_EQ(text->Font.Color, clWhite);
  EXPECT_EQ(text->Left, 6350 + label->mmLeft());
  EXPECT_EQ(text->Width, label->mmWidth());
  EXPECT_EQ(text->TextComponent(), label);
  EXPECT_TRUE(text->WrappedText.isEmpty());
}

TEST_F(Components, WordWrappedTextIsBrokenAtThePrintWidth) {
  Install({});
  TComponent owner;
  TestReport r(&owner);
  auto* label = new TppLabel(&owner);
  label->SetBand(r.band);
  TFont f;
  f.Name = "DejaVu Sans";
  f.SetSize(10);
  label->SetFont(f);
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetmmWidth(Mm(60));
  label->SetmmHeight(Mm(200));
  label->SetCaption("um dois tres quatro cinco seis supercalifragilistico");
  TCaptureDevice device;
  auto commands = Commands(r.report, device);
  ASSERT_EQ(commands.size(), 1u);
  auto* text = dynamic_cast<TppDrawText*>(commands[0]);
  ASSERT_GT(text->WrappedText.size(), 2);
  EXPECT_EQ(text->WrappedText.last(), "supercalifragilistico");  // a long word stays whole
  label->SetCharWrap(true);
  TCaptureDevice again;
  commands = Commands(r.report, again);
  text = dynamic_cast<TppDrawText*>(commands[0]);
  EXPECT_NE(text->WrappedText.last(), "supercalifragilistico");
  EXPECT_TRUE(text->WrappedText.join("").endsWith("supercalifragilistico"));
}

TEST_F(Components, AnAutoSizedImageTakesThePictureSizeInScreenPixels) {
  Install({});
  TComponent owner;
  TestReport r(&owner);
  auto* image = new TppImage(&owner);
  image->SetBand(r.band);
  EXPECT_TRUE(image->Center());
  const int side = image->mmWidth();
  image->SetAutoSize(true);
  EXPECT_EQ(image->mmWidth(), side);  // no picture: no size to take
  image->SetPicture(Jpeg(300, 200));
  EXPECT_EQ(image->mmWidth(), Mm(300));
  EXPECT_EQ(image->mmHeight(), Mm(200));
  image->SetStretch(true);
  image->SetTransparent(true);
  TCaptureDevice device;
  const auto commands = Commands(r.report, device);
  ASSERT_EQ(commands.size(), 1u);
  auto* cmd = dynamic_cast<TppDrawImage*>(commands[0]);
  ASSERT_NE(cmd, nullptr);
  EXPECT_TRUE(cmd->Stretch);
  EXPECT_TRUE(cmd->Center);
  EXPECT_TRUE(cmd->Transparent);
  EXPECT_EQ(cmd->Picture().Width(), 300);
  EXPECT_EQ(cmd->Width, Mm(300));
  EXPECT_EQ(cmd->DataType, dtGraphic);
}

TEST_F(Components, ClickListenersMakeClickableCommands) {
  Install({});
  TComponent owner;
  TestReport r(&owner);
  TppShape* plain = r.Square(0, 0, 1000, &owner);
  TppShape* clickable = r.Square(2000, 0, 1000, &owner);
  int clicks = 0;
  clickable->OnDrawCommandClick = [&](TComponent*, TppDrawCommand*) { ++clicks; };
  int created = 0;
  plain->OnDrawCommandCreate = [&](TComponent*, TppDrawCommand* c) {
    ++created;
    EXPECT_EQ(c->PagePrintableRect, (TppRect{6350, 6350, 210000 - 6350, 297000 - 6350}));
  };
  TCaptureDevice device;
  const auto commands = Commands(r.report, device);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(created, 1);
  EXPECT_FALSE(commands[0]->Clickable);
  EXPECT_TRUE(commands[1]->Clickable);
  EXPECT_EQ(device.Pages.back()->ClickableCommands().size(), 1u);
  commands[1]->Click();
  EXPECT_EQ(clicks, 1);
}
