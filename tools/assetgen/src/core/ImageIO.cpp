#include "core/ImageIO.h"

#include <png.h>

#include <cstdio>
#include <cstring>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "core/Error.h"

namespace assetgen {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

// Straight RGBA bytes of one row; unpremultiplies with rounding.
void straightRow(const std::uint32_t* src, int width, unsigned char* dst) {
    for (int x = 0; x < width; ++x) {
        std::uint32_t p = src[x];
        unsigned a = p >> 24;
        unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (a != 0 && a != 255) {
            r = (r * 255 + a / 2) / a;
            g = (g * 255 + a / 2) / a;
            b = (b * 255 + a / 2) / a;
            if (r > 255) r = 255;
            if (g > 255) g = 255;
            if (b > 255) b = 255;
        } else if (a == 0) {
            r = g = b = 0;
        }
        dst[4 * x + 0] = static_cast<unsigned char>(r);
        dst[4 * x + 1] = static_cast<unsigned char>(g);
        dst[4 * x + 2] = static_cast<unsigned char>(b);
        dst[4 * x + 3] = static_cast<unsigned char>(a);
    }
}

}  // namespace

std::vector<unsigned char> encodePng(const Image& image) {
    image.flush();
    std::vector<unsigned char> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        throw GenError("libpng could not start");
    }
    std::vector<unsigned char> row(static_cast<std::size_t>(image.width()) * 4);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw GenError("libpng failed while encoding");
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y) {
        straightRow(image.row(y), image.width(), row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

namespace {

struct JpegErrorJump {
    jpeg_error_mgr base;
    jmp_buf jump;
};

void jpegFail(j_common_ptr info) {
    auto* err = reinterpret_cast<JpegErrorJump*>(info->err);
    longjmp(err->jump, 1);
}

}  // namespace

std::vector<unsigned char> encodeJpeg(const Image& image, int quality) {
    image.flush();
    jpeg_compress_struct cinfo;
    JpegErrorJump err;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = jpegFail;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<unsigned char> row(static_cast<std::size_t>(image.width()) * 3);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        throw GenError("libjpeg failed while encoding");
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const std::uint32_t* src = image.row(static_cast<int>(cinfo.next_scanline));
        for (int x = 0; x < image.width(); ++x) {
            std::uint32_t p = src[x];
            // Opaque pictures: premultiplied equals straight.
            row[3 * x + 0] = static_cast<unsigned char>((p >> 16) & 0xFF);
            row[3 * x + 1] = static_cast<unsigned char>((p >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<unsigned char>(p & 0xFF);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<unsigned char> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

}  // namespace assetgen
