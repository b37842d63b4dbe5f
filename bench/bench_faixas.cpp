// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the track list of a folder of 500 audio files (FLAC and MP3 made
// by the Debian encoders from a short tone, each retagged with its own
// title and number by TagLib) and prints how long it takes, and how long
// placing its lines on the back inlay takes (the aim: under a second for
// the whole import).  Runs without a display; needs flac and lame.
#include "document/TiposDeLetra.h"
#include "tracks/ColocacaoFaixas.h"
#include "tracks/Faixas.h"
#include "support/AudioFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <vector>

#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  PrepararTiposDeLetra();
  QTextStream out(stdout);
  QTemporaryDir dir;
  const QString wav = dir.filePath("tone.wav");
  if (!audio::WriteWav(wav, 1.0) || !audio::Run("flac", {"-s", "-o", dir.filePath("tone.flac"), wav}) ||
      !audio::Run("lame", {"--quiet", wav, dir.filePath("tone.mp3")})) {
    out << "flac and lame are needed (scripts/install-deps.sh installs them)\n";
    return 1;
  }
  QDir().mkpath(dir.filePath("album"));
  const int count = 500;
  for (int i = 1; i <= count; ++i) {
    const QString ext = i % 2 ? QStringLiteral("flac") : QStringLiteral("mp3");
    const QString path = dir.filePath(QStringLiteral("album/%1.%2").arg(i, 3, 10, QLatin1Char('0')).arg(ext));
    QFile::copy(dir.filePath("tone." + ext), path);
    TagLib::FileRef f(QFile::encodeName(path).constData());
    f.tag()->setTitle(TagLib::String(QStringLiteral("Faixa número %1").arg(i).toStdString(), TagLib::String::UTF8));
    f.tag()->setArtist("Lurns");
    f.tag()->setTrack(unsigned(i));
    f.save();
  }
  std::vector<double> reading, placing;
  size_t tracks = 0;
  for (int run = 0; run < 7; ++run) {
    QElapsedTimer t;
    t.start();
    const TLeituraFaixas r = LerPastaAudio(dir.filePath("album"));
    reading.push_back(t.nsecsElapsed() / 1e6);
    tracks = r.Lista.Faixas.size();
    // The first 60 lines placed, as much as fits a back inlay in small letters.
    QStringList linhas = LinhasDeFaixas(r.Lista, QString::fromUtf8(FormatoFaixaPadrao)).mid(0, 60);
    TColocacaoFaixas c;
    c.Fonte.Nome = QStringLiteral("Arial");
    c.Fonte.Tamanho = 6;
    t.restart();
    const TTextosColocados colocados = ColocarFaixas(linhas, c);
    placing.push_back(t.nsecsElapsed() / 1e6);
    if (!colocados.Erro.isEmpty()) out << colocados.Erro << '\n';
  }
  out << QStringLiteral("Track list of a folder of %1 audio files (%2 read), median of 7, in ms\n").arg(count).arg(tracks);
  out << QStringLiteral("reading the files' tags and lengths   %1\n").arg(Median(reading), 8, 'f', 1);
  out << QStringLiteral("placing 60 lines on the back inlay    %1\n").arg(Median(placing), 8, 'f', 1);
  out << QStringLiteral("Whole import: %1 ms (aim: under 1000 ms)\n").arg(Median(reading) + Median(placing), 0, 'f', 1);
  return 0;
}
