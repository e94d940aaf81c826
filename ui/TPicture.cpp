#include "ui/TPicture.h"

#include <cairo.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace dbinst {

namespace {

// Larger pictures than any layout needs would cost hundreds of megabytes to decode.
constexpr uint32_t kMaxPictureSide = 8192;

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("picture: " + what); }

uint32_t BigEndian32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

void CheckSize(uint32_t width, uint32_t height, const char* kind) {
  if (width == 0 || height == 0) Fail(std::string(kind) + " has no pixels");
  if (width > kMaxPictureSide || height > kMaxPictureSide) {
    Fail(std::string(kind) + " of " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels is larger than " + std::to_string(kMaxPictureSide) + " x " +
         std::to_string(kMaxPictureSide));
  }
}

struct TPngReader {
  std::string_view bytes;
  size_t position = 0;
};

cairo_status_t ReadPngBytes(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<TPngReader*>(closure);
  if (reader->bytes.size() - reader->position < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->bytes.data() + reader->position, length);
  reader->position += length;
  return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* DecodePng(std::string_view bytes) {
  // The header chunk comes first: its size is checked before anything is decoded.
  if (bytes.size() < 33 || bytes.substr(12, 4) != "IHDR") Fail("PNG file without its header");
  CheckSize(BigEndian32(bytes, 16), BigEndian32(bytes, 20), "PNG picture");
  TPngReader reader{bytes};
  cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(ReadPngBytes, &reader);
  const cairo_status_t status = cairo_surface_status(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    Fail(std::string("broken or truncated PNG file (") + cairo_status_to_string(status) + ")");
  }
  return surface;
}

struct TJpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
  char message[JMSG_LENGTH_MAX + 32];
};

void JpegErrorExit(j_common_ptr info) {
  auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
  char reason[JMSG_LENGTH_MAX];
  errors->manager.format_message(info, reason);
  std::snprintf(errors->message, sizeof errors->message, "broken or truncated: %s", reason);
  std::longjmp(errors->escape, 1);
}

// libjpeg only warns about a truncated or corrupt stream and fills the rest with grey; a
// picture with a hole is broken for us.
void JpegMessage(j_common_ptr info, int level) {
  if (level < 0) JpegErrorExit(info);
}

void CopyRgbRow(const JSAMPLE* rgb, unsigned char* row, JDIMENSION width) {
  auto* pixels = reinterpret_cast<uint32_t*>(row);
  for (JDIMENSION x = 0; x < width; ++x) {
    pixels[x] = 0xFF000000u | (uint32_t{rgb[3 * x]} << 16) | (uint32_t{rgb[3 * x + 1]} << 8) |
                uint32_t{rgb[3 * x + 2]};
  }
}

// Only plain C objects live here: longjmp leaves this function from inside libjpeg.
cairo_surface_t* DecodeJpegOrNull(const unsigned char* data, unsigned long size,
                                  TJpegErrors& errors) {
  jpeg_decompress_struct info;
  cairo_surface_t* volatile surface = nullptr;
  JSAMPLE* volatile rowBuffer = nullptr;
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JpegErrorExit;
  errors.manager.emit_message = JpegMessage;
  errors.message[0] = 0;
  if (setjmp(errors.escape)) {
    jpeg_destroy_decompress(&info);
    std::free(rowBuffer);
    if (surface) cairo_surface_destroy(surface);
    return nullptr;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxPictureSide ||
      info.image_height > kMaxPictureSide) {
    std::snprintf(errors.message, sizeof errors.message,
                  "of %u x %u pixels is empty or larger than %u x %u",
                  static_cast<unsigned>(info.image_width), static_cast<unsigned>(info.image_height),
                  kMaxPictureSide, kMaxPictureSide);
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(info.output_width),
                                       static_cast<int>(info.output_height));
  rowBuffer = static_cast<JSAMPLE*>(std::malloc(size_t{info.output_width} * 3));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || !rowBuffer) {
    std::snprintf(errors.message, sizeof errors.message, "out of memory for a JPEG picture");
    std::longjmp(errors.escape, 1);
  }
  unsigned char* pixels = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = rowBuffer;
    const JDIMENSION y = info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
    CopyRgbRow(rowBuffer, pixels + static_cast<size_t>(y) * stride, info.output_width);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::free(rowBuffer);
  cairo_surface_mark_dirty(surface);
  return surface;
}

cairo_surface_t* DecodeJpeg(std::string_view bytes) {
  TJpegErrors errors;
  cairo_surface_t* surface =
      DecodeJpegOrNull(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), errors);
  if (!surface) Fail(std::string("JPEG file ") + errors.message);
  return surface;
}

}  // namespace

std::shared_ptr<const TPicture> TPicture::Decode(std::string_view fileBytes) {
  cairo_surface_t* surface = nullptr;
  if (fileBytes.substr(0, kPngSignature.size()) == kPngSignature) {
    surface = DecodePng(fileBytes);
  } else if (fileBytes.size() >= 3 && fileBytes.substr(0, 3) == "\xFF\xD8\xFF") {
    surface = DecodeJpeg(fileBytes);
  } else {
    Fail("not a PNG or JPEG file");
  }
  return std::shared_ptr<const TPicture>(new TPicture(surface));
}

TPicture::~TPicture() { cairo_surface_destroy(surface_); }

int TPicture::Width() const { return cairo_image_surface_get_width(surface_); }

int TPicture::Height() const { return cairo_image_surface_get_height(surface_); }

}  // namespace dbinst
