#pragma once

// A temporary resource root for UI-description tests, with real files: descriptions, PNG images
// written through the engine's own encoder, frame lists, the staged UI font and a text file; and a
// fresh director over a windowless view with the game's design resolution.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLView.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"

#include "Settings.h"
#include "TextTable.h"
#include "ui/FactoryNodeRegistry.h"
#include "ui/JsonDocumentCache.h"

namespace uitest {

namespace fs = std::filesystem;

class UiFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kestrova-ui-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        _root = pattern;
        resetServices();
        cocos2d::FileUtils::getInstance()->setResourceRoot(_root.string() + "/");
        startDirector(1280, 810, cocos2d::ResolutionPolicy::SHOW_ALL);
        const fs::path font = fs::path(KESTROVA_RESOURCE_DIR) / "res" / "fonts" / "Arial.ttf";
        fs::create_directories(_root / "fonts");
        fs::copy_file(font, _root / "fonts" / "Arial.ttf");
        write("lang", "en");
    }

    void TearDown() override {
        cocos2d::setLogSink({});
        cocos2d::Director::destroyInstance();
        resetServices();
        cocos2d::FileUtils::destroyInstance();
        std::error_code ec;
        fs::remove_all(_root, ec);
    }

    static void resetServices() {
        cocos2d::SpriteFrameCache::destroyInstance();
        JsonDocumentCache::destroyInstance();
        FactoryNodeRegistry::destroyInstance();
        TextTable::destroyInstance();
        Settings::destroyInstance();
    }

    static void startDirector(float width, float height, cocos2d::ResolutionPolicy policy) {
        cocos2d::Director::destroyInstance();
        cocos2d::GLView* view = cocos2d::GLView::createHeadless(width, height);
        view->setDesignResolutionSize(1280, 810, policy);
        cocos2d::Director::getInstance()->setOpenGLView(view);
    }

    // A file under the resource root, folders made as needed.
    void write(const std::string& relative, const std::string& text) {
        const fs::path path = _root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    // A PNG of one colour.
    void writeImage(const std::string& relative, int width, int height, cocos2d::Color4B colour) {
        std::vector<unsigned char> pixels(static_cast<size_t>(width * height * 4));
        for (size_t i = 0; i < pixels.size(); i += 4) {
            pixels[i] = colour.r;
            pixels[i + 1] = colour.g;
            pixels[i + 2] = colour.b;
            pixels[i + 3] = colour.a;
        }
        cocos2d::RefPtr<cocos2d::Image> image = cocos2d::Image::create();
        ASSERT_TRUE(image->initWithRawData(pixels.data(), pixels.size(), width, height));
        const fs::path path = _root / relative;
        fs::create_directories(path.parent_path());
        ASSERT_TRUE(image->saveToFile(path.string()));
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    struct Frame {
        std::string name;
        int x, y, w, h;
    };
    // A sheet "<folder>/<sheet>_atlas.png" of width x height with its frame list.
    void writeSheet(const std::string& folder, const std::string& sheet, int width, int height,
                    const std::vector<Frame>& frames) {
        writeImage(folder + "/" + sheet + "_atlas.png", width, height, cocos2d::Color4B(0, 0, 255, 255));
        std::string xml =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
            "version=\"1.0\">\n<dict>\n<key>frames</key>\n<dict>\n";
        for (const Frame& f : frames) {
            const std::string size = "{" + std::to_string(f.w) + "," + std::to_string(f.h) + "}";
            xml += "<key>" + f.name + "</key>\n<dict>\n<key>frame</key><string>{{" + std::to_string(f.x) +
                   "," + std::to_string(f.y) + "}," + size + "}</string>\n<key>sourceSize</key><string>" +
                   size + "</string>\n</dict>\n";
        }
        xml += "</dict>\n<key>metadata</key>\n<dict>\n<key>textureFileName</key><string>" + sheet +
               "_atlas.png</string>\n</dict>\n</dict>\n</plist>\n";
        write(folder + "/" + sheet + "_atlas.xml", xml);
    }

    // Log lines from now until the test ends.
    std::vector<std::string>& captureLog() {
        _log.clear();
        cocos2d::setLogSink([this](cocos2d::LogLevel, const std::string& line) { _log.push_back(line); });
        return _log;
    }

    int logCount(const std::string& part) const {
        int count = 0;
        for (const std::string& line : _log) {
            count += line.find(part) != std::string::npos ? 1 : 0;
        }
        return count;
    }

    std::string path(const std::string& relative) const { return (_root / relative).string(); }

    fs::path _root;
    std::vector<std::string> _log;
};

}  // namespace uitest
