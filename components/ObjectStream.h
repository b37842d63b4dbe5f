// The serialized form of a cover object, as Copiar puts it on the clipboard
// and Colar reads it back.
//
// A stream holds the object's class name and every stored property whose
// value differs from that of a freshly made object of the class: bounds,
// caption, font, angle, effects, alignment, the picture's bytes with their
// format, the Hint holding the picture's file name, and so on.  It never
// holds the object's name (the editor gives a pasted object a new one) nor
// its handlers (they belong to the main window).
//
// Byte layout, all integers little-endian:
//
//   header   8 bytes  magic "LurnsObj"
//            2 bytes  version (1)
//            4 bytes  length of the body that follows (the stream's exact rest)
//   body     u8 n + n bytes   class name (ASCII letters, digits, '_')
//            u16              number of properties
//            per property:
//              u8 n + n bytes   property name (ASCII letters, digits, '_')
//              u8               kind (see TStreamKind)
//              u32              payload length in bytes
//              payload          bool: 1 byte 0/1; integer and colour: 4 bytes;
//                               string: the UTF-8 bytes; rectangle: left, top,
//                               width, height as 4 signed 32-bit; font: u16 n +
//                               n UTF-8 bytes name, u8 charset, u32 colour,
//                               u8 style, i32 height, i32 pixels per inch;
//                               picture: u8 n + n bytes format (a picture file
//                               extension), u32 n + n bytes of picture data
//
// Reading treats the bytes as untrusted (the clipboard is shared with every
// other program): every length is checked against what is left before
// anything is allocated from it, values are checked against the limits
// below, an unknown class, property or kind, a property given twice and
// bytes after the end are refused, and the picture is decoded before any
// object exists.  On any error no object is created.
#pragma once

#include "platform/Graphics.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <variant>
#include <vector>

class QWidget;

// The clipboard format the editor puts a copied object under.
inline constexpr char ObjectMimeType[] = "application/x-lurns-object";

inline constexpr char ObjectStreamMagic[8] = {'L', 'u', 'r', 'n', 's', 'O', 'b', 'j'};
inline constexpr std::uint16_t ObjectStreamVersion = 1;

// Limits of what a stream may hold.  A picture object carries its whole
// picture file, so the stream is as large as that file plus a little.
inline constexpr qsizetype MaxObjectPictureBytes = 64 * 1024 * 1024;
inline constexpr qsizetype MaxObjectStreamBytes = MaxObjectPictureBytes + 1024 * 1024;
inline constexpr qsizetype MaxObjectStringBytes = 64 * 1024;  // caption, hint
inline constexpr qsizetype MaxObjectFontNameBytes = 255;
inline constexpr qsizetype MaxObjectNameBytes = 64;  // class and property names
inline constexpr int MaxObjectProperties = 64;
inline constexpr int MaxObjectCoordinate = 32767;  // |Left|, |Top|
inline constexpr int MaxObjectExtent = 32767;      // Width, Height (0 upwards)

// Serializes object: its class must be registered.  Returns an empty array
// when it is not, or when a value lies outside the limits that reading
// enforces (so that nothing is written that could not be read back).
QByteArray WriteObject(const QWidget* object);

// Recreates an object from a stream, as a child of parent (which may be
// null), with every property of the stream and the class default for the
// others.  It is shown when its Visible property is on and it has a parent.
// Returns nullptr on any error, with a sentence for the user in *error
// (when error is given); then nothing was created.  The caller names the
// new object and gives it its handlers.
QWidget* ReadObject(const QByteArray& bytes, QWidget* parent, QString* error = nullptr);

// ---------------------------------------------------------------------------
// The class registry.  TProLabel and TProImage are registered from the
// start; another class can be added with its factory and the list of its
// stored properties.

enum class TStreamKind : std::uint8_t {
  Bool = 1,
  Int = 2,
  Colour = 3,
  String = 4,
  Rect = 5,
  Font = 6,
  Picture = 7,
};

using TStreamValue = std::variant<bool, std::int32_t, std::uint32_t, QString, QRect, TFont, TPicture>;

struct TObjectProperty {
  QString name;
  TStreamKind kind;
  std::function<TStreamValue(const QWidget*)> get;
  std::function<void(QWidget*, const TStreamValue&)> set;
  // Why a value is not acceptable, or an empty string.  The kind's own
  // limits (lengths, bytes that decode) are checked before this.
  std::function<QString(const TStreamValue&)> check;
  // Whether the object stores the property at all just now (for example
  // Color only while ParentColor is off).  Unset: always.  A property that
  // is not stored is neither written nor, when absent, set on reading.
  std::function<bool(const QWidget*)> stored;
  // Also set before every other property, for properties that others
  // depend on (the bounds, which the picture's opacity is judged by).
  bool early = false;
};

using TObjectFactory = std::function<QWidget*(QWidget* parent)>;

// Registers (or replaces) a class.  The properties are set on reading in
// the order given here, whatever their order in the stream, so a property
// that changes others on its way in (Angle switching AutoSize off) must
// come before them.
void RegisterObjectClass(const QString& className, TObjectFactory factory,
                         std::vector<TObjectProperty> properties);
bool IsObjectClassRegistered(const QString& className);
// The names of the properties a registered class stores, in setting order.
QStringList ObjectClassProperties(const QString& className);
