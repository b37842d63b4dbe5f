// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PictureLoader.h"

#include "platform/Types.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSvgRenderer>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#if defined(LURNS_HAVE_LIBWMF)
#include <libwmf/api.h>
#include <libwmf/svg.h>
#endif
#if defined(LURNS_HAVE_EMF2SVG)
#include <emf2svg.h>
#endif

namespace {

QString Quoted(const QString& name) { return QStringLiteral("\"%1\"").arg(name); }

[[noreturn]] void ThrowUnreadable(const QString& sourceName) {
  if (sourceName.isEmpty()) throw Exception(QStringLiteral("Não foi possível ler a imagem."));
  throw Exception(QStringLiteral("Não foi possível ler a imagem %1.").arg(Quoted(sourceName)));
}

[[noreturn]] void ThrowTooLarge(const QString& sourceName, long long w, long long h) {
  const QString size = QStringLiteral("%1 × %2 pontos").arg(w).arg(h);
  if (sourceName.isEmpty())
    throw Exception(QStringLiteral("A imagem é demasiado grande (%1).").arg(size));
  throw Exception(
      QStringLiteral("A imagem %1 é demasiado grande (%2).").arg(Quoted(sourceName), size));
}

void CheckSize(long long w, long long h, const QString& sourceName) {
  if (w <= 0 || h <= 0) ThrowUnreadable(sourceName);
  if (w > MaxPictureSide || h > MaxPictureSide || w * h > MaxPicturePixels)
    ThrowTooLarge(sourceName, w, h);
}

// ---------------------------------------------------------------------------
// JPEG through libjpeg.
//
// libjpeg reports errors by calling error_exit, which must not return; we
// leave with longjmp.  So that no C++ object is ever skipped by the jump,
// everything between setjmp and longjmp lives in the plain functions below
// that touch only the POD JpegJob; the C++ side allocates the image and
// throws between the calls.

struct JpegErrorManager {
  jpeg_error_mgr pub;  // first, so libjpeg's pointer is ours too
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

struct JpegJob {
  jpeg_decompress_struct cinfo;
  JpegErrorManager err;
  bool created;
  // From the header.
  unsigned width, height;
  int components;
  J_COLOR_SPACE colorSpace;
  bool adobeInverted;
};

static void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

static void JpegEmitMessage(j_common_ptr cinfo, int level) {
  // A file cut short would otherwise decode with its missing part made up
  // in grey; that is a damaged picture, not one to print.
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) JpegErrorExit(cinfo);
  if (level < 0) cinfo->err->num_warnings++;
}

static void JpegOutputMessage(j_common_ptr) {}  // no console output

void JpegInit(JpegJob* job) {
  std::memset(job, 0, sizeof *job);
  job->cinfo.err = jpeg_std_error(&job->err.pub);
  job->err.pub.error_exit = JpegErrorExit;
  job->err.pub.emit_message = JpegEmitMessage;
  job->err.pub.output_message = JpegOutputMessage;
}

// Reads the header.  Returns false on a libjpeg error (message in job->err).
bool JpegReadHeader(JpegJob* job, const unsigned char* data, unsigned long size) {
  if (setjmp(job->err.jump)) return false;
  jpeg_create_decompress(&job->cinfo);
  job->created = true;
  jpeg_mem_src(&job->cinfo, data, size);
  jpeg_read_header(&job->cinfo, TRUE);
  job->width = job->cinfo.image_width;
  job->height = job->cinfo.image_height;
  job->components = job->cinfo.num_components;
  job->colorSpace = job->cinfo.jpeg_color_space;
  job->adobeInverted = job->cinfo.saw_Adobe_marker;
  return true;
}

// Output kinds of JpegDecode.
enum JpegOut { JpegGray8, JpegRgb888, JpegCmykToRgb32 };

// Decodes into out (height rows of stride bytes).  Returns false on a
// libjpeg error.
bool JpegDecode(JpegJob* job, unsigned char* out, long stride, int kind) {
  if (setjmp(job->err.jump)) return false;
  jpeg_decompress_struct* ci = &job->cinfo;
  ci->out_color_space = kind == JpegGray8 ? JCS_GRAYSCALE : kind == JpegRgb888 ? JCS_RGB : JCS_CMYK;
  jpeg_start_decompress(ci);
  if (ci->output_width != job->width || ci->output_height != job->height ||
      ci->output_components != (kind == JpegGray8 ? 1 : kind == JpegRgb888 ? 3 : 4)) {
    std::snprintf(job->err.message, sizeof job->err.message, "unexpected output layout");
    return false;
  }
  JSAMPARRAY row = nullptr;
  if (kind == JpegCmykToRgb32)
    row = (*ci->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(ci), JPOOL_IMAGE,
                                   ci->output_width * 4, 1);
  while (ci->output_scanline < ci->output_height) {
    unsigned char* dest = out + long(ci->output_scanline) * stride;
    if (kind != JpegCmykToRgb32) {
      JSAMPROW r = dest;
      jpeg_read_scanlines(ci, &r, 1);
      continue;
    }
    jpeg_read_scanlines(ci, row, 1);
    const unsigned char* s = row[0];
    auto* d = reinterpret_cast<unsigned*>(dest);
    for (unsigned x = 0; x < ci->output_width; ++x, s += 4) {
      // Adobe writes CMYK inverted (255 = no ink); plain CMYK is not.
      unsigned c = s[0], m = s[1], y = s[2], k = s[3];
      if (!job->adobeInverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
      }
      const unsigned r = c * k / 255, g = m * k / 255, b = y * k / 255;
      d[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
  }
  jpeg_finish_decompress(ci);
  return true;
}

void JpegDestroy(JpegJob* job) {
  if (job->created) jpeg_destroy_decompress(&job->cinfo);
  job->created = false;
}

// ---------------------------------------------------------------------------
// Formats through Qt's readers.

void SetQtAllocationLimit() {
  static const bool done = [] {
    // Qt counts megabytes of image memory; four bytes a pixel at most.
    QImageReader::setAllocationLimit(int(MaxPicturePixels * 4 / (1024 * 1024)) + 1);
    return true;
  }();
  (void)done;
}

QImage DecodeWithQt(const QByteArray& bytes, const QByteArray& qtFormat, const QString& sourceName) {
  SetQtAllocationLimit();
  QBuffer buf;
  buf.setData(bytes);
  buf.open(QIODevice::ReadOnly);
  // The extension decides the format, as for every picture file: a file
  // whose content is of another kind is refused rather than guessed.
  QImageReader reader(&buf, qtFormat);
  reader.setDecideFormatFromContent(false);
  if (!reader.canRead()) ThrowUnreadable(sourceName);
  const QSize size = reader.size();
  if (size.isValid()) CheckSize(size.width(), size.height(), sourceName);
  QImage img = reader.read();
  if (img.isNull()) ThrowUnreadable(sourceName);
  CheckSize(img.width(), img.height(), sourceName);
  return img;
}

// ---------------------------------------------------------------------------
// Drawings and metafiles.

std::shared_ptr<QSvgRenderer> SvgFrom(const QByteArray& svg, const QString& sourceName) {
  auto r = std::make_shared<QSvgRenderer>(svg);
  if (!r->isValid()) ThrowUnreadable(sourceName);
  const QSize s = r->defaultSize();
  if (s.isEmpty()) ThrowUnreadable(sourceName);
  CheckSize(s.width(), s.height(), sourceName);
  return r;
}

#if defined(LURNS_HAVE_LIBWMF)
// Converts a Windows metafile to SVG with libwmf; empty on failure.
QByteArray WmfToSvg(const QByteArray& bytes) {
  wmfAPI* api = nullptr;
  wmfAPI_Options options;
  std::memset(&options, 0, sizeof options);
  options.function = wmf_svg_function;
  const unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
    if (api) wmf_api_destroy(api);
    return {};
  }
  QByteArray result;
  wmfD_Rect bbox;
  unsigned int w = 0, h = 0;
  std::memset(&bbox, 0, sizeof bbox);
  auto* data = reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.constData()));
  if (wmf_mem_open(api, data, long(bytes.size())) == wmf_E_None) {
    if (wmf_scan(api, 0, &bbox) == wmf_E_None &&
        wmf_display_size(api, &w, &h, 96, 96) == wmf_E_None && w > 0 && h > 0 &&
        (long long)w * h <= MaxPicturePixels) {
      wmf_svg_t* ddata = WMF_SVG_GetData(api);
      // A null FILE makes a memory stream; its buffer belongs to the API
      // object and goes with it, so it is copied first.
      ddata->out = wmf_stream_create(api, nullptr);
      ddata->Description = const_cast<char*>("Lurns");
      ddata->bbox = bbox;
      ddata->width = w;
      ddata->height = h;
      if (ddata->out) {
        const bool ok = wmf_play(api, 0, &bbox) == wmf_E_None;
        char* mem = nullptr;
        unsigned long memSize = 0;
        wmf_stream_destroy(api, ddata->out, &mem, &memSize);
        if (ok && mem) result = QByteArray(mem, qsizetype(memSize));
      }
    }
    wmf_mem_close(api);
  }
  wmf_api_destroy(api);
  return result;
}
#endif

#if defined(LURNS_HAVE_EMF2SVG)
// Converts an enhanced metafile to SVG; empty on failure.
QByteArray EmfToSvg(const QByteArray& bytes) {
  // The converter wants a header it can read before anything else.
  if (bytes.size() < 88) return {};
  QByteArray copy = bytes;  // the converter takes a non-const buffer
  generatorOptions options;
  std::memset(&options, 0, sizeof options);
  options.nameSpace = const_cast<char*>("svg");
  options.emfplus = true;
  options.svgDelimiter = true;
  char* out = nullptr;
  std::size_t outLen = 0;
  const int ok = emf2svg(copy.data(), std::size_t(copy.size()), &out, &outLen, &options);
  QByteArray svg;
  if (ok && out) svg = QByteArray(out, qsizetype(outLen));
  std::free(out);
  return svg;
}
#endif

QString Ext(const QString& extension) {
  QString e = extension.toLower();
  if (e.startsWith(QLatin1Char('.'))) e.remove(0, 1);
  return e;
}

const QStringList& JpegExtensions() {
  static const QStringList l = {"jpg", "jpeg", "jpe", "jfif"};
  return l;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes, const QString& sourceName) {
  if (bytes.isEmpty()) ThrowUnreadable(sourceName);
  JpegJob job;
  JpegInit(&job);
  struct Guard {
    JpegJob* j;
    ~Guard() { JpegDestroy(j); }
  } guard{&job};

  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  if (!JpegReadHeader(&job, data, static_cast<unsigned long>(bytes.size())))
    ThrowUnreadable(sourceName);
  CheckSize(job.width, job.height, sourceName);

  JpegOut kind = JpegRgb888;
  QImage::Format format = QImage::Format_RGB888;
  if (job.components == 1) {
    kind = JpegGray8;
    format = QImage::Format_Grayscale8;
  } else if (job.components == 4 || job.colorSpace == JCS_CMYK || job.colorSpace == JCS_YCCK) {
    kind = JpegCmykToRgb32;
    format = QImage::Format_RGB32;
  }
  QImage img(int(job.width), int(job.height), format);
  if (img.isNull()) ThrowTooLarge(sourceName, job.width, job.height);
  if (!JpegDecode(&job, img.bits(), long(img.bytesPerLine()), kind)) ThrowUnreadable(sourceName);
  return img;
}

QStringList PictureExtensions() {
  QStringList l = JpegExtensions();
  l << "bmp" << "ico" << "png" << "gif" << "svg";
  const MetafileSupport m = SupportedMetafiles();
  if (m.wmf) l << "wmf";
  if (m.emf) l << "emf";
  return l;
}

MetafileSupport SupportedMetafiles() {
  MetafileSupport m{false, false};
#if defined(LURNS_HAVE_LIBWMF)
  m.wmf = true;
#endif
#if defined(LURNS_HAVE_EMF2SVG)
  m.emf = true;
#endif
  return m;
}

LoadedPicture DecodePicture(const QByteArray& bytes, const QString& extension,
                            const QString& sourceName) {
  const QString ext = Ext(extension);
  LoadedPicture out;
  out.format = ext;

  if (JpegExtensions().contains(ext)) {
    out.raster = DecodeJpeg(bytes, sourceName);
  } else if (ext == QLatin1String("bmp") || ext == QLatin1String("ico") ||
             ext == QLatin1String("png") || ext == QLatin1String("gif")) {
    if (bytes.isEmpty()) ThrowUnreadable(sourceName);
    out.raster = DecodeWithQt(bytes, ext.toLatin1(), sourceName);
  } else if (ext == QLatin1String("svg")) {
    out.vector = SvgFrom(bytes, sourceName);
  } else if (ext == QLatin1String("wmf") || ext == QLatin1String("emf")) {
    QByteArray svg;
#if defined(LURNS_HAVE_LIBWMF)
    if (ext == QLatin1String("wmf") && !bytes.isEmpty()) svg = WmfToSvg(bytes);
#endif
#if defined(LURNS_HAVE_EMF2SVG)
    if (ext == QLatin1String("emf") && !bytes.isEmpty()) svg = EmfToSvg(bytes);
#endif
    const MetafileSupport m = SupportedMetafiles();
    if (!(ext == QLatin1String("wmf") ? m.wmf : m.emf))
      throw Exception(QStringLiteral("Este programa não lê imagens no formato .%1.").arg(ext));
    if (svg.isEmpty()) ThrowUnreadable(sourceName);
    out.vector = SvgFrom(svg, sourceName);
  } else if (ext.isEmpty()) {
    throw Exception(QStringLiteral("Formato de imagem desconhecido (ficheiro sem extensão)."));
  } else {
    throw Exception(QStringLiteral("Formato de imagem desconhecido (.%1).").arg(ext));
  }
  out.size = out.vector ? out.vector->defaultSize() : out.raster.size();
  return out;
}

LoadedPicture LoadPictureFile(const QString& fileName, QByteArray* bytesOut) {
  // An unknown kind is reported before the file is read.
  const QString ext = Ext(QFileInfo(fileName).suffix());
  if (!PictureExtensions().contains(ext) && ext != QLatin1String("wmf") &&
      ext != QLatin1String("emf"))
    DecodePicture(QByteArray(), ext, fileName);  // throws the unknown-format message

  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly))
    throw Exception(
        QStringLiteral("Não foi possível abrir o ficheiro de imagem %1.").arg(Quoted(fileName)));
  // Nothing legitimate comes near this; a larger file is not read into memory.
  constexpr qint64 maxFileBytes = 1LL << 30;
  if (f.size() > maxFileBytes)
    throw Exception(
        QStringLiteral("O ficheiro de imagem %1 é demasiado grande.").arg(Quoted(fileName)));
  const QByteArray bytes = f.readAll();
  LoadedPicture p = DecodePicture(bytes, ext, fileName);
  if (bytesOut) *bytesOut = bytes;
  return p;
}
