// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's message table: the built-in Portuguese texts, placeholders
// filled in order, and language modules beside the program that replace
// the texts they hold.
#include "report/ppUtils.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Points the resource manager at a folder of its own for one test.
class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ResourceManager().SetModuleDirectory(dir.path());
  }
  void TearDown() override {
    ResourceManager().SetLanguage(lgDefault);
    ResourceManager().SetModuleDirectory(QString());
  }
  void Module(const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QTemporaryDir dir;
};

}  // namespace

TEST_F(Messages, BuiltInTextsByNumber) {
  struct Case {
    int n;
    const char* text;
  };
  const Case cases[] = {
      {msgAccessingData, "A Aceder aos Dados..."},
      {msgOf, "de"},
      {msgPage, "Página"},
      {msgPrintingPage, "A Imprimir a Página <page> para o Relatório <documentname> em <printername>"},
      {msgPrintingPageOf,
       "A Imprimir a Página <page> de <pagecount> para o Relatório <documentname> em <printername>"},
      {msgPrintPositionExceedsSpace, "Posição de impressão excede espaço disponivel na página"},
      {msgPrinterSetupProblem,
       "O Windows não consegue imprimir devido a problemas com a configuração da impressora"},
      {msgCannotGenerateReport, "Impossível Gerar Relatório"},
      {msgPrintPreview, "Visualizar Impressao"},
      {msgPageRangeHint,
       "Indique os Números de Páginas e/ou Intervalos Separados por Vírgulas.  Por Exemplo: 1,3,5-12"},
      {msgNumberOfCopies, "Numero de  &cópias"},
      {msgPrinting, "A Imprimir"},
  };
  for (const Case& c : cases) EXPECT_EQ(EngineMessage(c.n), QString::fromUtf8(c.text)) << c.n;
  EXPECT_EQ(EngineMessage(9999), "");
}

TEST_F(Messages, PlaceholdersAreFilledInTheOrderTheyAppear) {
  EXPECT_EQ(EngineMessage(msgPrintingPageOf, {"2", "3", "Report", "FilePDF"}),
            "A Imprimir a Página 2 de 3 para o Relatório Report em FilePDF");
  struct Case {
    const char* text;
    QStringList values;
    const char* result;
  };
  const Case cases[] = {
      // Names do not matter, only the order.
      {"<documentname> / <page>", {"1", "2"}, "1 / 2"},
      // Missing values leave nothing; extra values are not used.
      {"<page> de <pagecount>", {"7"}, "7 de "},
      {"<page>", {"1", "2"}, "1"},
      // A value that looks like a placeholder is not filled again, and
      // other text with "<" or "%" stays as it is.
      {"<name>: <count>", {"<count>", "5"}, "<count>: 5"},
      {"<pagina> 100% <no>", {"x"}, "<pagina> 100% x"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FillMessagePlaceholders(c.text, c.values), QString::fromUtf8(c.result)) << c.text;
}

TEST_F(Messages, LanguageModulesReplaceTheTextsTheyHold) {
  Module("ppPrint.eng", "# English\n43018=Page\n43002=Accessing data...\\nplease wait\n");
  EXPECT_TRUE(ResourceManager().SetLanguage(lgEnglish));
  EXPECT_EQ(ResourceManager().LoadedModuleCount(), 1);
  EXPECT_EQ(EngineMessage(msgPage), "Page");
  EXPECT_EQ(EngineMessage(msgAccessingData), "Accessing data...\nplease wait");
  EXPECT_EQ(EngineMessage(msgOf), "de");  // not in the module: built in

  // No French module: refused, and the English texts stay in force.
  EXPECT_FALSE(ResourceManager().SetLanguage(lgFrench));
  EXPECT_EQ(ResourceManager().Language(), lgEnglish);
  EXPECT_EQ(EngineMessage(msgPage), "Page");

  EXPECT_TRUE(ResourceManager().SetLanguage(lgDefault));
  EXPECT_EQ(EngineMessage(msgPage), "Página");
}

TEST_F(Messages, AModuleThatIsNotTextIsNotLoaded) {
  Module("ppPrint.deu", QByteArray("43018=Seite\n\xff\xfe\x00", 15));
  EXPECT_FALSE(ResourceManager().SetLanguage(lgGerman));
  EXPECT_EQ(EngineMessage(msgPage), "Página");
}

TEST_F(Messages, ModulesOfOtherBaseNamesComeAfterTheEngines) {
  Module("ppPrint.esp", "43018=Página (es)\n");
  Module("ppExtra.esp", "43018=Otra\n43016=de (es)\n");
  ResourceManager().AddModule("ppExtra");
  EXPECT_TRUE(ResourceManager().SetLanguage(lgSpanish));
  EXPECT_EQ(ResourceManager().ModuleNames(), (QStringList{"ppPrint", "ppExtra"}));
  EXPECT_EQ(EngineMessage(msgPage), "Página (es)");
  EXPECT_EQ(EngineMessage(msgOf), "de (es)");
  ResourceManager().RemoveModule("ppExtra");
  EXPECT_EQ(EngineMessage(msgOf), "de");
}

TEST(LanguageExtensions, ByLanguageWithTheHighBitMasked) {
  EXPECT_EQ(LanguageExtension(lgDefault), "dft");
  EXPECT_EQ(LanguageExtension(lgEnglish), "eng");
  EXPECT_EQ(LanguageExtension(lgPortuguese), "ptg");
  EXPECT_EQ(LanguageExtension(lgCustom), "cst");
  EXPECT_EQ(LanguageExtension(0x80 | lgEnglish), "eng");
  EXPECT_EQ(LanguageExtension(14), "");
}
