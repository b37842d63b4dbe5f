// SPDX-License-Identifier: GPL-3.0-or-later
// Audio files made by the tests themselves: a short tone written as WAV,
// encoded with the Debian tools the project installs (flac, oggenc,
// opusenc, lame) with their tags, and an M4A file (a minimal MP4
// container holding one AAC audio track of the tone's length, no samples)
// whose tags TagLib writes.  Nothing is downloaded.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <cmath>

#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/tag.h>
#include <taglib/wavfile.h>

namespace audio {

struct TTags {
  QString title, artist, album;
  int track = 0, disc = 0;
};

// A mono 16-bit WAV file of `seconds` of a 440 Hz tone at 8000 Hz.
inline bool WriteWav(const QString& path, double seconds) {
  const int rate = 8000;
  const int n = int(std::lround(seconds * rate));
  QByteArray data(n * 2, '\0');
  for (int i = 0; i < n; ++i)
    qToLittleEndian<qint16>(qint16(8000 * std::sin(2 * M_PI * 440 * i / rate)), data.data() + 2 * i);
  QByteArray h("RIFF");
  auto u32 = [&](quint32 v) { char b[4]; qToLittleEndian(v, b); h.append(b, 4); };
  auto u16 = [&](quint16 v) { char b[2]; qToLittleEndian(v, b); h.append(b, 2); };
  u32(quint32(36 + data.size()));
  h.append("WAVEfmt ");
  u32(16); u16(1); u16(1); u32(rate); u32(rate * 2); u16(2); u16(16);
  h.append("data");
  u32(quint32(data.size()));
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(h + data) == h.size() + data.size();
}

inline bool Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// `path` by its extension (flac, ogg, opus, mp3, m4a or wav), `seconds`
// long, with the tags given (the empty ones left out).
inline bool Make(const QString& path, double seconds, const TTags& t) {
  const QString ext = path.section(QLatin1Char('.'), -1).toLower();
  const QString wav = path + QStringLiteral(".tone.wav");
  if (!WriteWav(ext == QLatin1String("wav") ? path : wav, seconds)) return false;
  QStringList a;
  auto opt = [&](const char* name, const QString& v) {
    if (!v.isEmpty()) a << QString::fromLatin1(name) << v;
  };
  const QString track = t.track ? QString::number(t.track) : QString();
  bool ok = true;
  if (ext == QLatin1String("flac")) {
    if (!t.title.isEmpty()) a << "-T" << "TITLE=" + t.title;
    if (!t.artist.isEmpty()) a << "-T" << "ARTIST=" + t.artist;
    if (!t.album.isEmpty()) a << "-T" << "ALBUM=" + t.album;
    if (t.track) a << "-T" << "TRACKNUMBER=" + track;
    if (t.disc) a << "-T" << "DISCNUMBER=" + QString::number(t.disc);
    ok = Run("flac", QStringList{"-s", "-f"} << a << "-o" << path << wav);
  } else if (ext == QLatin1String("ogg")) {
    opt("-t", t.title); opt("-a", t.artist); opt("-l", t.album); opt("-N", track);
    if (t.disc) a << "-c" << "DISCNUMBER=" + QString::number(t.disc);
    ok = Run("oggenc", QStringList{"-Q"} << a << "-o" << path << wav);
  } else if (ext == QLatin1String("opus")) {
    opt("--title", t.title); opt("--artist", t.artist); opt("--album", t.album);
    opt("--tracknumber", track);
    if (t.disc) a << "--comment" << "DISCNUMBER=" + QString::number(t.disc);
    ok = Run("opusenc", QStringList{"--quiet"} << a << wav << path);
  } else if (ext == QLatin1String("mp3")) {
    opt("--tt", t.title); opt("--ta", t.artist); opt("--tl", t.album); opt("--tn", track);
    if (t.disc) a << "--tv" << "TPOS=" + QString::number(t.disc);
    ok = Run("lame", QStringList{"--quiet", "--add-id3v2"} << a << wav << path);
  } else if (ext == QLatin1String("m4a")) {
    // ftyp, then moov: mvhd and one sound track (tkhd, mdia: mdhd, hdlr,
    // minf: smhd, stbl: stsd with an mp4a entry) with the tone's length.
    auto box = [](const char* type, const QByteArray& body) {
      QByteArray b(4, '\0');
      qToBigEndian<quint32>(quint32(8 + body.size()), b.data());
      return b + QByteArray(type, 4) + body;
    };
    auto be32 = [](quint32 v) { QByteArray b(4, '\0'); qToBigEndian(v, b.data()); return b; };
    auto be16 = [](quint16 v) { QByteArray b(2, '\0'); qToBigEndian(v, b.data()); return b; };
    const quint32 scale = 1000, length = quint32(std::lround(seconds * 1000));
    const QByteArray matrix = be32(0x10000) + be32(0) + be32(0) + be32(0) + be32(0x10000) +
                              be32(0) + be32(0) + be32(0) + be32(0x40000000);
    const QByteArray mvhd = box("mvhd", be32(0) + be32(0) + be32(0) + be32(scale) + be32(length) +
                                            be32(0x10000) + be16(0x100) + QByteArray(10, '\0') +
                                            matrix + QByteArray(24, '\0') + be32(2));
    const QByteArray tkhd = box("tkhd", be32(7) + be32(0) + be32(0) + be32(1) + be32(0) + be32(length) +
                                            QByteArray(8, '\0') + be16(0) + be16(0) + be16(0x100) +
                                            be16(0) + matrix + be32(0) + be32(0));
    const QByteArray mdhd = box("mdhd", be32(0) + be32(0) + be32(0) + be32(8000) +
                                            be32(quint32(std::lround(seconds * 8000))) + be16(0x55C4) + be16(0));
    const QByteArray hdlr = box("hdlr", be32(0) + be32(0) + QByteArray("soun", 4) + QByteArray(12, '\0') +
                                            QByteArray("\0", 1));
    const QByteArray mp4a = box("mp4a", QByteArray(6, '\0') + be16(1) + QByteArray(8, '\0') + be16(1) +
                                            be16(16) + be16(0) + be16(0) + be32(8000u << 16));
    const QByteArray stbl = box("stbl", box("stsd", be32(0) + be32(1) + mp4a) +
                                            box("stts", be32(0) + be32(0)) + box("stsc", be32(0) + be32(0)) +
                                            box("stsz", be32(0) + be32(0) + be32(0)) + box("stco", be32(0) + be32(0)));
    const QByteArray minf = box("minf", box("smhd", be32(0) + be16(0) + be16(0)) + stbl);
    const QByteArray moov = box("moov", mvhd + box("trak", tkhd + box("mdia", mdhd + hdlr + minf)));
    const QByteArray ftyp = box("ftyp", QByteArray("M4A ", 4) + be32(0) + QByteArray("M4A mp42isom", 12));
    QFile f(path);
    ok = f.open(QIODevice::WriteOnly) && f.write(ftyp + moov) > 0;
    f.close();
    if (ok) {
      TagLib::MP4::File m(QFile::encodeName(path).constData());
      if (!m.isValid()) return false;
      TagLib::Tag* tag = m.tag();
      tag->setTitle(TagLib::String(t.title.toStdString(), TagLib::String::UTF8));
      tag->setArtist(TagLib::String(t.artist.toStdString(), TagLib::String::UTF8));
      tag->setAlbum(TagLib::String(t.album.toStdString(), TagLib::String::UTF8));
      tag->setTrack(unsigned(t.track));
      ok = m.save();
    }
  } else if (ext == QLatin1String("wav")) {
    TagLib::RIFF::WAV::File w(QFile::encodeName(path).constData());
    if (!w.isValid()) return false;
    TagLib::Tag* tag = w.tag();
    tag->setTitle(TagLib::String(t.title.toStdString(), TagLib::String::UTF8));
    tag->setArtist(TagLib::String(t.artist.toStdString(), TagLib::String::UTF8));
    tag->setAlbum(TagLib::String(t.album.toStdString(), TagLib::String::UTF8));
    tag->setTrack(unsigned(t.track));
    ok = w.save();
  } else {
    return false;
  }
  QFile::remove(wav);
  return ok;
}

}  // namespace audio
