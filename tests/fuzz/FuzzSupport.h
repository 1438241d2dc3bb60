#pragma once

// Shared by the fuzz targets: each input becomes a real file in a scratch resource root that is looked
// up before the staged resource tree, so the game's own reader finds it under the name it reads while
// everything else it needs (fonts, sheets, descriptions) comes from the real tree. A headless director
// stands in for the window; the log is silenced, since every rejected input logs its line.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLView.h"

namespace fuzzsupport {

// The scratch root, made once per process and removed at exit.
inline const std::string& scratchRoot() {
    static const std::string root = [] {
        const char* shm = "/dev/shm";
        const std::string base = std::filesystem::is_directory(shm) && ::access(shm, W_OK) == 0
                                     ? std::string(shm)
                                     : std::filesystem::temp_directory_path().string();
        std::string pattern = base + "/kestrova-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        static const std::string kept = pattern;
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(kept, error);
        });
        return pattern + "/";
    }();
    return root;
}

// Once per process: a quiet log, the scratch root first and the staged resource tree behind it, and a
// windowless director with the game's design resolution.
inline void startEngine() {
    cocos2d::setLogSink([](cocos2d::LogLevel, const std::string&) {});
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(scratchRoot());
    files->setSearchPaths({std::string(KESTROVA_RESOURCE_DIR) + "/res/", std::string(KESTROVA_RESOURCE_DIR) + "/src/"});
    cocos2d::Director* director = cocos2d::Director::getInstance();
    cocos2d::GLView* view = cocos2d::GLView::createHeadless(1280, 810);
    view->setDesignResolutionSize(1280, 810, cocos2d::ResolutionPolicy::SHOW_ALL);
    director->setOpenGLView(view);
}

// Puts the input under the scratch root as relative (for example "tutorials/tutorial_1.xml"), where
// it hides the staged file of that name.
inline void writeResource(const std::string& relative, const uint8_t* data, size_t size) {
    const std::filesystem::path path = scratchRoot() + relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    file.close();
    cocos2d::FileUtils::getInstance()->purgeCachedEntries();
}

inline void removeResource(const std::string& relative) {
    std::error_code error;
    std::filesystem::remove(scratchRoot() + relative, error);
    cocos2d::FileUtils::getInstance()->purgeCachedEntries();
}

// Runs the frames that follow a build, as the game would, and frees what the input's nodes left to
// the pool.
inline void stepFrames(int frames) {
    for (int i = 0; i < frames; ++i) {
        cocos2d::Director::getInstance()->stepFrame(1.0f / 60.0f);
    }
    cocos2d::AutoreleasePool::getInstance()->clear();
}

}  // namespace fuzzsupport
