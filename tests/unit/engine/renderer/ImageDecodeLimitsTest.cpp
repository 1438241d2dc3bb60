// The engine's image decoding reads the size from the header before it decodes: a picture that no
// texture could hold, or that would take more memory decoded than any picture of the game, is refused
// at once with its reason, whatever format it comes in; so are a JPEG cut short and other formats.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../../support/ImageBytes.h"
#include "engine/base/Log.h"
#include "engine/renderer/Image.h"
#include "platform/sdl/ImageCodec.h"

namespace {

using imagebytes::Bytes;

struct Refusal {
    const char* what;
    Bytes bytes;
    const char* reason;  // a part of the error
};

std::string decodeError(const Bytes& bytes, const std::string& name) {
    cocos2d::Image image;
    std::string error;
    EXPECT_FALSE(image.initWithImageData(bytes.data(), bytes.size(), name, &error));
    EXPECT_EQ(image.getWidth(), 0);
    return error;
}

TEST(ImageDecodeLimitsTest, AnImageTooLargeForATextureOrForMemoryIsRefusedFromItsHeader) {
    const int maxSide = cocos2d::imagecodec::maxTextureSide();
    ASSERT_GE(maxSide, 4096);
    const std::vector<Refusal> cases = {
        {"a JPEG claiming 65500 x 65500", imagebytes::jpegClaiming(65500, 65500), "claims 65500x65500 pixels"},
        {"a JPEG one pixel wider than a texture", imagebytes::jpegClaiming(maxSide + 1, 16),
         "more than the largest texture"},
        {"a JPEG within the side but over the memory cap", imagebytes::jpegClaiming(12000, 12000), "MiB decoded"},
        {"a PNG claiming 65500 x 65500", imagebytes::pngClaiming(65500, 65500), "claims 65500x65500 pixels"},
        {"a PNG claiming 2^31 x 1", imagebytes::pngClaiming(2147483648u, 1), "more than the largest texture"},
        {"a PNG within the side but over the memory cap", imagebytes::pngClaiming(12000, 12000), "MiB decoded"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string error = decodeError(c.bytes, "pictures/huge.img");
        // The reasons are those of the header checks: nothing the size of the claim was decoded.
        EXPECT_EQ(error.rfind("Image: [pictures/huge.img] cannot be decoded: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(ImageDecodeLimitsTest, ACutJpegAndOtherFormatsAreRefusedWithTheirReason) {
    const Bytes whole = imagebytes::jpeg(96, 96);
    ASSERT_GT(whole.size(), 2000u);
    const Bytes smallPng = imagebytes::png(8, 8);
    const Bytes wholePng = imagebytes::png(96, 96);
    const std::vector<Refusal> cases = {
        {"a JPEG cut in its coded data", Bytes(whole.begin(), whole.begin() + static_cast<long>(whole.size() * 3 / 5)),
         "truncated"},
        {"a JPEG cut in its header", Bytes(whole.begin(), whole.begin() + 40), ""},
        {"a PNG cut in its header", Bytes(smallPng.begin(), smallPng.begin() + 20), "header chunk"},
        {"a PNG cut in its pixel data", Bytes(wholePng.begin(), wholePng.begin() + static_cast<long>(wholePng.size() / 2)),
         "truncated"},
        {"a PNG without its end chunk", Bytes(wholePng.begin(), wholePng.end() - 12), "truncated"},
        {"a PNG whose data chunk claims more than the file holds", imagebytes::withDataChunkLength(wholePng, 0x00120B49),
         "truncated"},
        {"a PNG whose data chunk claims more than a chunk may hold", imagebytes::withDataChunkLength(wholePng, 0x80000000u),
         "claims 2147483648 bytes"},
        {"a bitmap", Bytes{'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 0x28, 0, 0, 0}, "not a PNG or JPEG"},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o'}, "not a PNG or JPEG"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string error = decodeError(c.bytes, "splash/title.jpg");
        EXPECT_EQ(error.rfind("Image: [splash/title.jpg] cannot be decoded: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

// Damage the decoder steps over, filling what is missing grey: the picture is shown as before, and
// one line names the file and the damage.
TEST(ImageDecodeLimitsTest, ADamagedJpegThatStillDecodesIsTakenWithOneLineNamingTheDamage) {
    const Bytes whole = imagebytes::jpeg(96, 96);
    Bytes cutWithEnd(whole.begin(), whole.begin() + static_cast<long>(whole.size() * 3 / 5));
    cutWithEnd.push_back(0xFF);
    cutWithEnd.push_back(0xD9);
    struct Case {
        const char* what;
        Bytes bytes;
        int height;
    };
    const std::vector<Case> cases = {
        {"data that ends early at an end marker", cutWithEnd, 96},
        {"a header claiming more rows than the data holds", imagebytes::jpegClaiming(16, 64), 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cocos2d::Image image;
        std::string line;
        ASSERT_TRUE(image.initWithImageData(c.bytes.data(), c.bytes.size(),
                                            "Scenes/USA/HarborDawn/background.jpg", &line));
        EXPECT_EQ(image.getHeight(), c.height);
        EXPECT_EQ(line.rfind("Image: [Scenes/USA/HarborDawn/background.jpg] is damaged", 0), 0u) << line;
        EXPECT_NE(line.find("Corrupt JPEG data"), std::string::npos) << line;
        // The rows the data does not hold are the decoder's grey.
        const cocos2d::Color4B bottom = image.getPixel(8, c.height - 1);
        EXPECT_NEAR(bottom.r, 128, 2);
        EXPECT_NEAR(bottom.g, 128, 2);

        // Without a place for the line, it is logged.
        std::vector<std::string> log;
        cocos2d::setLogSink([&log](cocos2d::LogLevel, const std::string& logged) { log.push_back(logged); });
        cocos2d::Image logged;
        EXPECT_TRUE(
            logged.initWithImageData(c.bytes.data(), c.bytes.size(), "Scenes/USA/HarborDawn/background.jpg"));
        cocos2d::setLogSink({});
        EXPECT_EQ(log, std::vector<std::string>{line});
    }
}

TEST(ImageDecodeLimitsTest, TheGamesOwnJpegsDecodeWithoutDamage) {
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KESTROVA_RESOURCE_DIR)) {
        if (entry.path().extension() != ".jpg") {
            continue;
        }
        std::ifstream file(entry.path(), std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        cocos2d::Image image;
        std::string line;
        EXPECT_TRUE(image.initWithImageData(bytes.data(), bytes.size(), entry.path().string(), &line))
            << line;
        EXPECT_EQ(line, "");
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

TEST(ImageDecodeLimitsTest, PicturesWithinTheLimitsDecodeToTheirSize) {
    struct Case {
        const char* what;
        Bytes bytes;
        int width;
        int height;
    };
    const std::vector<Case> cases = {
        {"a JPEG", imagebytes::jpeg(96, 40), 96, 40},
        {"a PNG", imagebytes::png(33, 7), 33, 7},
        {"a wide PNG", imagebytes::png(4096, 2), 4096, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cocos2d::Image image;
        std::string error;
        ASSERT_TRUE(image.initWithImageData(c.bytes.data(), c.bytes.size(), "good", &error)) << error;
        EXPECT_EQ(image.getWidth(), c.width);
        EXPECT_EQ(image.getHeight(), c.height);
        EXPECT_EQ(image.getPixel(0, 0).a, 255);
    }
}

}  // namespace
