#pragma once
// JPEG pictures decoded with libjpeg into the toolkit's RGB pixels. Needs no
// Qt at all, so any layer may load a picture.
#include <string>
#include <string_view>

#include "platform/ui/widgets.h"

namespace platform::qt {

/// A decoded picture, or an empty one with the reason it could not be read.
struct JpegResult {
  Picture picture;
  std::string error;  // empty on success
  bool Ok() const { return error.empty(); }
};

/// Decodes JPEG bytes to 8-bit RGB (grayscale and CMYK/YCCK converted).
/// A corrupt or truncated stream gives an empty picture and an error text;
/// libjpeg's fatal errors never end the process.
JpegResult DecodeJpeg(std::string_view bytes);

/// Reads and decodes the file at `path`.
JpegResult LoadJpeg(const std::string& path);

}  // namespace platform::qt
