// SPDX-License-Identifier: GPL-3.0-or-later
// Cover files (".lrn"): the reader that builds a document from a file and
// the writer that puts a document into one, with every message they have
// for the user, in order.  They show nothing themselves: the program shows
// the messages in message boxes, lurns-batch on standard error.
//
// A file is a header record followed by one 572-byte record (CoverRecord.h)
// per background and per object, sheet by sheet; pictures are not in the
// file, only their file names, and are read again from those files.  A
// relative picture name is taken from the cover file's folder, which the
// document read keeps as its picture folder.  Written back into that
// folder, the name is unchanged; written into another folder, it is
// rewritten so that it still names the same file.  Every field read is
// held to the limits of document/Limites.h, the same the clipboard reader
// refuses beyond.
//
// A picture whose file cannot be found or read stays in the document all
// the same, with its file name and its place and size but no picture: the
// editor shows it as a frame with its file name, it prints nothing, and it
// is written back as it was read.  Reading lists the files not found in one
// message.
//
// A file is a whole number of records.  One whose length is not (cut short,
// or its last record incomplete) is a read error: the whole records before
// the cut are read, the incomplete one is not.
#pragma once

#include "document/CoverRecord.h"
#include "document/Documento.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class QIODevice;

// A message of the reader or the writer.  "Função ainda não implementada."
// goes in a plain message box, the others in warnings.
struct TMensagem {
  enum TTipo { Simples, Aviso };
  TTipo Tipo = Aviso;
  QString Texto;
  bool operator==(const TMensagem&) const = default;
};

struct TLeituraCapa {
  // What was read: the whole cover, or as far as reading went when it
  // failed (empty when the file could not be opened or is no cover).
  TDocumento Documento;
  QList<TMensagem> Mensagens;
  // The whole file was read (missing pictures are only reported).
  bool Lido = false;
  // The picture files the cover names that were not found, as looked for
  // (relative names taken from the cover's folder), each once.
  QStringList ImagensEmFalta;
};

// The one message that names the picture files not found.
TMensagem MensagemImagensEmFalta(const QStringList& ficheiros);

// Reads a cover file into a new document.
TLeituraCapa LerCapa(const QString& ficheiro);
// The same from an open device holding the bytes of the cover file named
// `ficheiro` (whose folder relative picture names are taken from).
TLeituraCapa LerCapa(QIODevice& dispositivo, const QString& ficheiro);

enum class TFimGravacao {
  Gravado,      // every record written and the file in place
  NaoIniciada,  // the file could not be created or its header not written
  Falhou,       // the name is not a ".lrn" one, or a record or the file's end failed
};

struct TGravacaoCapa {
  TFimGravacao Fim = TFimGravacao::Falhou;
  QList<TMensagem> Mensagens;
};

// Writes a document to a cover file.  Only a name whose extension is
// ".lrn" (in any letter case: ".LRN" too) is written.  The records go to a file beside the old one,
// which takes its place only when everything was written: a failed save
// never destroys the last good copy.  Where no file can be made beside it
// (a folder the user may not write, holding a file the user may), the
// file is written in place instead, and put back as it was if that fails.
// A picture name that a record cannot hold whole (longer than 255
// characters, or with characters Windows-1252 lacks) is written cut, and a
// warning lists those names: their pictures will not be found again.  A
// text's caption longer than its field is written cut, and a warning lists
// those texts.
TGravacaoCapa GravarCapa(const TDocumento& documento, const QString& ficheiro);

// What writing the records of a cover needs and finds on the way.
struct TEscritaCapa {
  // The folder of the file written: relative picture names are written
  // relative to it (NomeImagemGravado).
  QString Pasta;
  // A text character had no Windows-1252 code and was written as '?'.
  bool Perdidos = false;
  // Picture names a record could not hold whole, as they should have been.
  QStringList ImagensIncompletas;
  // The names of texts whose caption the record could not hold whole (one
  // longer than its field, which only the clipboard lets in).
  QStringList TextosCortados;
};

// The records of one sheet: its background records, then one per object
// in order.  False when one could not be written.
bool GravarFolha(QIODevice& f, const TDocumento& documento, int folha, TEscritaCapa& escrita);
// What GravarCapa writes: the header record, then the records of the four
// sheets in order (GravarFolha of each), for a file in the folder
// escrita.Pasta.  False when a record could not be written.
QByteArray CabecalhoCapa();
bool GravarFolhas(QIODevice& f, const TDocumento& documento, TEscritaCapa& escrita);

// The name a picture of the document is written under in a cover file in
// the folder pasta: a full name, or any name when the document has no
// picture folder, or pasta is that folder, stays as it is; otherwise a
// relative name is made relative to pasta so that it names the same file
// (the full name when the two folders have nothing but the root in common,
// or when only the full name fits in a record).
QString NomeImagemGravado(const TDocumento& documento, const QString& nome, const QString& pasta);

// True when the name has the extension of cover files, ".lrn", in any
// letter case.
bool NomeCapaValido(const QString& ficheiro);

// True when the name is not empty and the file opens for reading.
bool ExisteFicheiro(const QString& nome);

// The file a picture name of a cover stands for: a relative name is taken
// from the folder of the cover file.
QString CaminhoImagem(const QString& nome, const QString& ficheiroCapa);

// Applies the records of a cover file, one by one, to a document.
class TLeitorCapa {
 public:
  // ficheiroCapa: the cover file, whose folder relative picture names are
  // taken from.  Messages are appended to mensagens.
  TLeitorCapa(TDocumento& documento, const QString& ficheiroCapa, QList<TMensagem>& mensagens);

  // One record, by its kind: a text object, a picture (background or
  // object) or a colour; any other kind is ignored.
  void LerRegisto(const TCoverRecord& r);

  // The picture files named by the records read that were not found, each
  // once, in the order they were met.
  const QStringList& ImagensEmFalta() const { return emFalta_; }

 private:
  // False, with the picture left empty, when the file is not there (it is
  // listed) or cannot be decoded (the loader's message, once per file).
  bool LerImagem(const QString& nome, TPicture& imagem);

  TDocumento& doc_;
  QString capa_;
  QList<TMensagem>& mensagens_;
  // A picture file named by several records is decoded once, and one that
  // failed is not tried again.
  QHash<QString, TPicture> imagens_;
  QSet<QString> falhadas_;
  QStringList emFalta_;
};
