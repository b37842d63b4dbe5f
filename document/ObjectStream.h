// SPDX-License-Identifier: GPL-3.0-or-later
// The serialized form of a cover object, as Copiar puts it on the clipboard
// and Colar reads it back: one document object (document/Documento.h).
//
// A stream holds the object's class name ("TProLabel" for a text object,
// "TProImage" for a picture object) and every field of the object whose
// value differs from that of a new object of its kind: for a text its
// bounds, caption, font, angle and automatic sizing; for a picture its
// bounds, the picture's bytes with their format, and its file name.  It
// never holds the object's name (the editor gives a pasted object a new
// one) nor its identity.
//
// Byte layout, all integers little-endian:
//
//   header   8 bytes  magic "LurnsObj"
//            2 bytes  version (2)
//            4 bytes  length of the body that follows (the stream's exact rest)
//   body     u8 n + n bytes   class name (ASCII letters, digits, '_')
//            u16              number of properties
//            per property:
//              u8 n + n bytes   property name (ASCII letters, digits, '_')
//              u8               kind (see TStreamKind)
//              u32              payload length in bytes
//              payload          bool: 1 byte 0/1; integer: 4 bytes; string:
//                               the UTF-8 bytes; rectangle: left, top, width,
//                               height as 4 signed 32-bit; font: u16 n + n
//                               UTF-8 bytes name, u8 charset, u32 colour, u8
//                               style, i32 size in points; picture: u8 n + n
//                               bytes format (a picture file extension), u32
//                               n + n bytes of picture data
//
// Properties:  TProLabel  Bounds (rectangle), Caption (string), Font (font),
//                         Angle (integer 0..359), AutoSize (bool)
//              TProImage  Bounds (rectangle), Picture (picture), Hint
//                         (string: the picture's file name)
//
// Version 1 streams carried the label and picture controls' own properties
// and are refused by version.
//
// Reading treats the bytes as untrusted (the clipboard is shared with every
// other program): every length is checked against what is left before
// anything is allocated from it, values are checked against the limits of
// document/Limites.h (the same the cover file reader clamps to), an unknown
// class, property or kind, a property given twice and bytes after the end
// are refused, and the picture is decoded before the object is made.  On
// any error there is no object.
#pragma once

#include "document/Documento.h"
#include "document/Limites.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The clipboard format the editor puts a copied object under.
inline constexpr char ObjectMimeType[] = "application/x-lurns-object";

inline constexpr char ObjectStreamMagic[8] = {'L', 'u', 'r', 'n', 's', 'O', 'b', 'j'};
inline constexpr std::uint16_t ObjectStreamVersion = 2;

// A picture object carries its whole picture file, so the stream is as
// large as that file plus a little.
inline constexpr qsizetype MaxObjectPictureBytes = 64 * 1024 * 1024;
inline constexpr qsizetype MaxObjectStreamBytes = MaxObjectPictureBytes + 1024 * 1024;
inline constexpr qsizetype MaxObjectNameBytes = 64;  // class and property names
inline constexpr int MaxObjectProperties = 64;

enum class TStreamKind : std::uint8_t {
  Bool = 1,
  Int = 2,
  Colour = 3,  // no property of version 2 has this kind
  String = 4,
  Rect = 5,
  Font = 6,
  Picture = 7,
};

// Serializes an object (its name and identity left out).  Returns an empty
// array when a value lies outside the limits that reading enforces, so
// that nothing is written that could not be read back, with a sentence
// for the user in *error (when error is given) saying why.
QByteArray WriteObject(const TObjecto& object, QString* error = nullptr);

// The object a stream holds, with every field of the stream and the value
// of a new object of its kind for the others, without name or identity;
// or nothing, with a sentence for the user in *error (when error is
// given).  The caller names the object and adds it to a sheet.
std::optional<TObjecto> ReadObject(const QByteArray& bytes, QString* error = nullptr);

// The class name a stream gives an object of this kind.
QString ObjectClassName(TTipoObjecto kind);
// The properties a class's streams may hold, in the order of the layout
// above (empty for a class that is no cover object).
QStringList ObjectClassProperties(const QString& className);
