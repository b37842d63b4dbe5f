// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PaginaCalibracao.h"

#include "printing/DesenhoRelatorios.h"
#include "printing/ImpressaoCapa.h"
#include "report/ppPrnDev.h"
#include "report/ppUtils.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

QList<QPointF> CrucesCalibracao() { return {{50, 50}, {160, 50}, {105, 148.5}, {50, 250}, {160, 250}}; }

namespace {

constexpr int kMargem = 6350;  // the report's margins, thousandths

int Mil(double mm) { return int(std::lround(mm * 1000)); }

// The page in code: everything placed in thousandths from the paper's
// corner, less the band's margins.
class TPagina {
 public:
  explicit TPagina(TComponent* owner) : reader_(owner) {
    report_ = desenho::Relatorio(reader_, QStringLiteral("reportCalibracao"), false);
    band_ = desenho::Banda(reader_, report_, 297000 - 2 * kMargem, phStatic);
  }
  TppReport* Report() const { return report_; }
  void Terminar() { reader_.Finish(); }
  // A black bar from (x, y), w x h millimetres.
  void Barra(double x, double y, double w, double h) {
    auto* s = reader_.Add<TppShape>(QString(), band_);
    TBrush b = s->Brush();
    b.Style = bsSolid;
    b.Color = clBlack;
    s->SetBrush(b);
    TPen p = s->Pen();
    p.Style = psClear;
    s->SetPen(p);
    s->SetMMBounds(Mil(x) - kMargem, Mil(y) - kMargem, Mil(h), Mil(w));
  }
  void Texto(double x, double y, const QString& texto, int pontos = 7) {
    auto* l = reader_.Add<TppLabel>(QString(), band_);
    TFont f;
    f.Name = QStringLiteral("Arial");
    f.Color = clBlack;
    f.SetSize(pontos);
    l->SetFont(f);
    l->SetTransparent(true);
    l->SetCaption(texto);
    l->SetAutoSize(true);
    l->SetMMBounds(Mil(x) - kMargem, Mil(y) - kMargem, Mil(pontos * 0.5), Mil(texto.size() * pontos * 0.3));
  }

 private:
  TComponentReader reader_;
  TppReport* report_ = nullptr;
  TppDetailBand* band_ = nullptr;
};

constexpr double kTraco = 0.15;  // the lines' width, mm

void Reguas(TPagina& p) {
  const double r = ReguaCalibracao;
  // Along the top: from 15 to 195 mm from the left edge.
  for (int mm = 15; mm <= 195; ++mm) {
    const double len = mm % 10 == 0 ? 6 : mm % 5 == 0 ? 4 : 2;
    p.Barra(mm - kTraco / 2, r, kTraco, len);
    if (mm % 10 == 0) p.Texto(mm - 1.5, r + 6.5, QString::number(mm));
  }
  // Down the left: from 20 to 280 mm from the top edge.
  for (int mm = 20; mm <= 280; ++mm) {
    const double len = mm % 10 == 0 ? 6 : mm % 5 == 0 ? 4 : 2;
    p.Barra(r, mm - kTraco / 2, len, kTraco);
    if (mm % 10 == 0) p.Texto(r + 7, mm - 1.5, QString::number(mm));
  }
}

void Cruzes(TPagina& p) {
  for (const QPointF& c : CrucesCalibracao()) {
    p.Barra(c.x() - 8, c.y() - kTraco / 2, 16, kTraco);
    p.Barra(c.x() - kTraco / 2, c.y() - 8, kTraco, 16);
    p.Texto(c.x() + 1.5, c.y() + 1.5,
            QStringLiteral("%1; %2 mm").arg(QLocale().toString(c.x(), 'f', 1), QLocale().toString(c.y(), 'f', 1)));
  }
}

QString Percentagem(double fraccao) { return QLocale().toString(fraccao * 100, 'f', 2) + QStringLiteral(" %"); }

}  // namespace

bool ImprimirCalibracao(const QString& impressora, const QString& ficheiro,
                        const std::optional<TPrinterCalibration>& ajuste) {
  TImpressaoCapa registos;  // the classes printing needs, the calibration's source
  QString fila = QStringLiteral("Default");
  if (ficheiro.isEmpty()) {
    fila = ResolverImpressora(impressora);
    if (fila.isEmpty())
      throw EPrintError(impressora.isEmpty() || impressora == QLatin1String("Default")
                            ? QStringLiteral("Não há nenhuma impressora instalada.")
                            : QStringLiteral("A impressora «%1» não está instalada.").arg(impressora));
  }
  TComponent dono;
  TPagina pagina(&dono);
  Reguas(pagina);
  Cruzes(pagina);
  TppReport* report = pagina.Report();

  TppPrinterDevice device;
  device.SetExclusive(true);
  if (ficheiro.isEmpty()) device.CalibrationOverride = ajuste;
  TppPrinterSetup setup;
  setup.Assign(*report->PrinterSetup());
  setup.SetPrinterName(fila);
  setup.SetDocumentName(QStringLiteral("Lurns para CD - calibração"));
  setup.SetOutputFileName(ficheiro);
  device.Printer()->ApplySetup(setup);
  report->PrinterSetup()->SetPrinterName(fila);
  report->SetDeviceType(TppPrinterDevice::DeviceName());
  if (ficheiro.isEmpty() && !device.Printer()->DC()) throw EPrintError(EngineMessage(msgPrinterSetupProblem));

  // The printer's name, the date and the calibration the page is printed
  // with (the device's for this queue).
  const QString nome = ficheiro.isEmpty() ? PrinterList()->ResolveName(fila) : QStringLiteral("ficheiro PDF");
  const TPrinterCalibration c = device.CalibrationForJob();
  pagina.Texto(45, 70, QStringLiteral("Página de calibração: %1").arg(nome), 11);
  pagina.Texto(45, 77, QLocale().toString(QDateTime::currentDateTime(), QLocale::LongFormat), 9);
  pagina.Texto(45, 83,
               c.IsIdentity() ? QStringLiteral("Impressa sem calibração.")
                              : QStringLiteral("Impressa com a calibração X %1 mm, Y %2 mm, %3, %4.")
                                    .arg(QLocale().toString(c.OffsetX, 'f', 2), QLocale().toString(c.OffsetY, 'f', 2),
                                         Percentagem(c.ScaleX), Percentagem(c.ScaleY)),
               9);
  pagina.Texto(45, 89, QStringLiteral("Meça a distância de cada cruz às margens esquerda e de cima do papel."), 9);
  pagina.Terminar();
  return PrintReports(device, {report});
}
