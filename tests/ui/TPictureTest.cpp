#include "ui/TPicture.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace dbinst {
namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// A PNG of the given size: opaque red on the left half, half-transparent blue on the right.
std::string MakePng(int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgba(cr, 1, 0, 0, 1);
  cairo_rectangle(cr, 0, 0, width / 2.0, height);
  cairo_fill(cr);
  cairo_set_source_rgba(cr, 0, 0, 1, 0.5);
  cairo_rectangle(cr, width / 2.0, 0, width / 2.0, height);
  cairo_fill(cr);
  cairo_destroy(cr);
  std::string bytes;
  cairo_surface_write_to_png_stream(surface, AppendBytes, &bytes);
  cairo_surface_destroy(surface);
  return bytes;
}

// A JPEG of one colour, written with libjpeg.
std::string MakeJpeg(int width, int height, unsigned char r, unsigned char g, unsigned char b) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::string row;
  for (int x = 0; x < width; ++x)
    row += {static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
  while (info.next_scanline < info.image_height) {
    JSAMPROW line = reinterpret_cast<JSAMPROW>(row.data());
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

uint32_t PixelOf(const TPicture& picture, int x, int y) {
  cairo_surface_flush(picture.Surface());
  const unsigned char* row = cairo_image_surface_get_data(picture.Surface()) +
                             y * cairo_image_surface_get_stride(picture.Surface());
  return reinterpret_cast<const uint32_t*>(row)[x];
}

std::string ErrorOf(std::string_view bytes) {
  try {
    TPicture::Decode(bytes);
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "no error";
}

TEST(TPictureTest, PngKeepsItsSizeColoursAndTransparency) {
  const auto picture = TPicture::Decode(MakePng(8, 5));
  EXPECT_EQ(picture->Width(), 8);
  EXPECT_EQ(picture->Height(), 5);
  EXPECT_EQ(PixelOf(*picture, 1, 1), 0xFFFF0000u);
  const uint32_t blue = PixelOf(*picture, 6, 3);
  EXPECT_NEAR(static_cast<int>(blue >> 24), 128, 1);
  EXPECT_NEAR(static_cast<int>(blue & 0xFF), 128, 1);  // premultiplied
}

TEST(TPictureTest, JpegDecodesToOpaquePixelsOfItsColour) {
  const auto picture = TPicture::Decode(MakeJpeg(40, 20, 0x2F, 0x6F, 0xB0));
  EXPECT_EQ(picture->Width(), 40);
  EXPECT_EQ(picture->Height(), 20);
  const uint32_t pixel = PixelOf(*picture, 20, 10);
  EXPECT_EQ(pixel >> 24, 0xFFu);
  EXPECT_NEAR(static_cast<int>((pixel >> 16) & 0xFF), 0x2F, 4);
  EXPECT_NEAR(static_cast<int>((pixel >> 8) & 0xFF), 0x6F, 4);
  EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 0xB0, 4);
}

TEST(TPictureTest, TruncatedFilesAreClearErrors) {
  const std::string png = MakePng(64, 64);
  const std::string jpeg = MakeJpeg(64, 64, 200, 100, 50);
  EXPECT_NE(ErrorOf(png.substr(0, png.size() / 2)).find("PNG"), std::string::npos);
  EXPECT_NE(ErrorOf(png.substr(0, 20)).find("PNG"), std::string::npos);
  EXPECT_NE(ErrorOf(jpeg.substr(0, jpeg.size() / 2)).find("JPEG"), std::string::npos);
  EXPECT_NE(ErrorOf(jpeg.substr(0, 3)).find("JPEG"), std::string::npos);
}

TEST(TPictureTest, GarbageAndEmptyBytesAreNotPictures) {
  EXPECT_NE(ErrorOf("").find("not a PNG or JPEG"), std::string::npos);
  EXPECT_NE(ErrorOf("GIF89a garbage").find("not a PNG or JPEG"), std::string::npos);
  std::string corruptJpeg = MakeJpeg(32, 32, 1, 2, 3);
  for (size_t i = 200; i < corruptJpeg.size() - 2; ++i) corruptJpeg[i] = static_cast<char>(0xFF);
  EXPECT_NE(ErrorOf(corruptJpeg).find("JPEG"), std::string::npos);
  std::string corruptPng = MakePng(32, 32);
  corruptPng[40] ^= 0x55;  // inside the header chunk: its checksum no longer fits
  EXPECT_NE(ErrorOf(corruptPng).find("PNG"), std::string::npos);
}

TEST(TPictureTest, PicturesLargerThanTheLimitAreRefusedBeforeDecoding) {
  std::string png = MakePng(4, 4);
  png[16] = 0;  // width 0x00010000 = 65536
  png[17] = 1;
  EXPECT_NE(ErrorOf(png).find("larger than 8192 x 8192"), std::string::npos);
  EXPECT_NE(ErrorOf(MakeJpeg(8193, 1, 0, 0, 0)).find("larger than 8192 x 8192"), std::string::npos);
  EXPECT_EQ(TPicture::Decode(MakeJpeg(8192, 1, 0, 0, 0))->Width(), 8192);
}

}  // namespace
}  // namespace dbinst
