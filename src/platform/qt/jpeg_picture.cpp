#include "platform/qt/jpeg_picture.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

namespace platform::qt {

namespace {

/// Our pictures are a few hundred pixels wide; a header that claims more than
/// this is refused before anything is allocated for it.
constexpr uint64_t kMaxPixels = 16u * 1024 * 1024;

/// libjpeg's default error manager calls exit(); this one jumps back to the
/// decoder with the library's message instead.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnFatal(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr, int) {}  // warnings (e.g. premature end) are judged by the result

// Kept free of C++ objects with destructors between setjmp and longjmp: the
// pixels go into a buffer that outlives the jump, the raw row into libjpeg's
// image pool, which jpeg_destroy_decompress frees.
bool Decompress(const unsigned char* data, size_t size, Picture& out, ErrorManager& err) {
  jpeg_decompress_struct info;
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnFatal;
  err.base.emit_message = OnMessage;
  err.message[0] = 0;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  // Checked before jpeg_start_decompress, which for a progressive file
  // allocates whole-picture buffers and reads all of the input.
  if (uint64_t(info.image_width) * info.image_height > kMaxPixels) {
    std::snprintf(err.message, sizeof err.message, "picture too large (%u x %u)", unsigned(info.image_width),
                  unsigned(info.image_height));
    jpeg_destroy_decompress(&info);
    return false;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;  // grayscale is expanded by libjpeg
  jpeg_start_decompress(&info);
  const int width = int(info.output_width);
  const int height = int(info.output_height);
  const int components = info.output_components;
  JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                              JDIMENSION(width * components), 1);
  const unsigned char* raw = rows[0];
  out.width = width;
  out.height = height;
  out.rgb.assign(size_t(width) * height * 3, 0);
  while (info.output_scanline < info.output_height) {
    const size_t y = info.output_scanline;
    if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
    unsigned char* dst = out.rgb.data() + y * width * 3;
    for (int x = 0; x < width; ++x) {
      if (components == 4) {
        // Adobe writes CMYK inverted: the stored value is 255 - ink.
        const int k = raw[x * 4 + 3];
        for (int c = 0; c < 3; ++c) dst[x * 3 + c] = static_cast<unsigned char>(raw[x * 4 + c] * k / 255);
      } else if (components == 3) {
        for (int c = 0; c < 3; ++c) dst[x * 3 + c] = raw[x * 3 + c];
      } else {
        dst[x * 3] = dst[x * 3 + 1] = dst[x * 3 + 2] = raw[x];
      }
    }
  }
  // A stream that ends early is a warning to libjpeg (it pads with grey);
  // a picture with missing data is no picture here.
  if (err.base.num_warnings > 0) {
    std::snprintf(err.message, sizeof err.message, "%s", "the picture data is incomplete or corrupt");
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

JpegResult DecodeJpeg(std::string_view bytes) {
  JpegResult result;
  if (bytes.empty()) {
    result.error = "empty picture file";
    return result;
  }
  ErrorManager err;
  if (!Decompress(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), result.picture, err)) {
    result.picture = Picture{};
    result.error = err.message[0] ? err.message : "the picture cannot be decoded";
  }
  return result;
}

JpegResult LoadJpeg(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    JpegResult result;
    result.error = "cannot open " + path;
    return result;
  }
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  JpegResult result = DecodeJpeg(bytes);
  if (!result.Ok()) result.error = path + ": " + result.error;
  return result;
}

}  // namespace platform::qt
