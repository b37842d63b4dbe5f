// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures made at test time: JPEG files encoded with libjpeg (Qt may lack
// a JPEG writer) in any colour space, progressive or not.
#pragma once

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <jpeglib.h>
#include <vector>

struct JpegSpec {
  int width = 16, height = 16;
  J_COLOR_SPACE space = JCS_RGB;  // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
  bool progressive = false;
  bool adobeMarker = true;        // for CMYK
  // Fills the samples of one pixel.
  std::function<void(int x, int y, unsigned char* px)> pixel;
};

inline QByteArray EncodeJpeg(const JpegSpec& s) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  const int comps = s.space == JCS_GRAYSCALE ? 1 : s.space == JCS_CMYK ? 4 : 3;
  c.image_width = JDIMENSION(s.width);
  c.image_height = JDIMENSION(s.height);
  c.input_components = comps;
  c.in_color_space = s.space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  if (s.space == JCS_CMYK) {
    jpeg_set_colorspace(&c, JCS_CMYK);
    c.write_Adobe_marker = s.adobeMarker ? TRUE : FALSE;
  }
  if (s.progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(size_t(s.width * comps));
  while (c.next_scanline < c.image_height) {
    for (int x = 0; x < s.width; ++x) s.pixel(x, int(c.next_scanline), &row[size_t(x * comps)]);
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
  std::free(out);
  return bytes;
}

