// The built resource tree read by the game's own readers: the text table, the pack reader, the
// preload walk of the UI descriptions, the sprite-frame cache, SDL2_mixer and SDL2_ttf. The
// contract checks in ResourceTreeTest read the files with their own small readers; these tests
// show that the game reads the same files the same way, so what those checks prove holds in play.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <SDL2/SDL_ttf.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "../engine/HeadlessEngine.h"
#include "ResourceChecks.h"
#include "ResourceContract.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrame.h"
#include "engine/scene/SpriteFrameCache.h"

#include "CountryProgress.h"
#include "DataPackReader.h"
#include "PictureProgress.h"
#include "Profile.h"
#include "StringHelpers.h"
#include "TextTable.h"
#include "ui/NodeFromJson.h"

namespace {

using restest::Problems;
using restest::Tree;
namespace fs = std::filesystem;

const Tree& tree() {
    static const Tree t(fs::path(KESTROVA_RESOURCE_DIR) / "res");
    return t;
}

std::string full(const std::string& rel) {
    return (tree().res() / rel).string();
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The resource root and search paths as the game sets them at start, over a headless director.
class ResourceTreeGameReadersTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        ::TextTable::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        files->addSearchPath("src");
        files->addSearchPath("res");
    }
    void TearDown() override {
        cocos2d::SpriteFrameCache::destroyInstance();
        ::TextTable::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
        HeadlessEngine::TearDown();
    }

    // The texts as the game holds them after start: texts/ first, then the pack's texts.
    static Profile loadLikeTheGame() {
        ::TextTable::getInstance().loadTexts("texts", "en", true);
        Profile profile;
        DataPackReader::getInstance().load("Scenes", "en", profile);
        return profile;
    }
};

TEST_F(ResourceTreeGameReadersTest, AFreshProfileOpensOnlyTheFirstPictureAndNoCountry) {
    const Profile profile = loadLikeTheGame();
    ASSERT_EQ(profile.packs.size(), 1u);
    const PackInfo& pack = profile.packs[0];
    EXPECT_EQ(pack.packVersion, "1");
    EXPECT_EQ(pack.messages.size(), 8u);

    std::vector<std::string> order;
    for (const PackCountry& c : pack.countries) order.push_back(c.path);
    EXPECT_EQ(order, restest::countries());
    ASSERT_EQ(profile.world.countries.size(), restest::countries().size());
    for (const auto& [path, record] : profile.world.countries) {
        EXPECT_EQ(record.state, static_cast<int32_t>(CountryState::Locked)) << path << " must wait for its purchase";
    }
    ASSERT_EQ(profile.world.pictures.size(), 14u);
    for (const auto& [path, record] : profile.world.pictures) {
        const auto expected = path == "HarborDawn" ? PictureState::Unlocked : PictureState::Locked;
        EXPECT_EQ(record.state, static_cast<int32_t>(expected)) << path;
    }
}

// Every text the contract checks read with the test's reader is the text the game shows, and no
// key the code or the content looks up falls back to showing itself.
TEST_F(ResourceTreeGameReadersTest, TheGamesTextTableShowsEveryTextAsTheChecksReadIt) {
    const Profile profile = loadLikeTheGame();
    const ::TextTable& game = ::TextTable::getInstance();
    Problems ignored;
    const restest::TextTable checked = restest::loadTexts(tree(), ignored);
    size_t count = 0;
    for (const auto& [section, ids] : checked.sections) {
        for (const auto& [id, text] : ids) {
            EXPECT_EQ(game.getText(section, id), text) << section << "/" << id;
            ++count;
        }
    }
    EXPECT_GT(count, 150u);

    std::vector<std::string> keys = restest::codeTextKeys();
    for (const PackCountry& c : profile.packs.at(0).countries) {
        keys.push_back("Country/" + c.path);
        for (const PackPicture& pic : c.pictures) {
            keys.push_back("Picture/" + pic.path);
            keys.push_back("FunFacts/" + pic.path);
            keys.push_back("Authors/" + pic.authorId);
            if (!pic.evidence.empty()) keys.push_back("Cabinet/evidence_" + pic.evidence + "_message");
        }
    }
    for (const PackMessage& m : profile.packs.at(0).messages) keys.push_back("ProgressMessages/" + m.messageId);
    for (std::string key : keys) {
        key[key.find('/')] = '.';
        const std::string shown = game.lookup(key);
        EXPECT_NE(shown, toLowerCase(key)) << key << " shows its own key";
        EXPECT_FALSE(shown.empty()) << key;
    }
}

// What the loading screen hands the texture cache for the four screens it preloads.
TEST_F(ResourceTreeGameReadersTest, ThePreloadWalkNamesOnlyFilesThatExist) {
    for (const std::string& folder : restest::preloadFolders()) {
        const auto textures = NodeFromJson::collectTextures(folder);
        EXPECT_FALSE(textures.empty()) << folder;
        for (const std::string& path : textures) {
            EXPECT_TRUE(cocos2d::FileUtils::getInstance()->isFileExist(path)) << folder << " preloads " << path;
        }
    }
}

// Each frame list loaded on its own by the sprite-frame cache, as the level loads its sheets (the
// image named by the list's metadata): the same frames at the same rectangles as the checks read,
// on a texture of the image's size.
TEST_F(ResourceTreeGameReadersTest, TheSpriteFrameCacheReadsEveryFrameListAsTheChecksDo) {
    size_t lists = 0;
    for (const std::string& rel : tree().files()) {
        if (!endsWith(rel, "_atlas.xml") && !endsWith(rel, "/icons.xml") && !endsWith(rel, ".plist")) continue;
        if (rel.rfind("particles/", 0) == 0) continue;
        Problems p;
        const auto list = restest::loadFrameList(tree(), rel, p);
        ASSERT_TRUE(list) << p.text();
        const std::string folder = rel.substr(0, rel.rfind('/') + 1);
        const auto image = restest::imageInfo(tree(), folder + list->textureFileName, p);
        ASSERT_TRUE(image) << p.text();

        cocos2d::SpriteFrameCache::destroyInstance();
        cocos2d::SpriteFrameCache* cache = cocos2d::SpriteFrameCache::getInstance();
        cache->addSpriteFramesWithFile(rel);
        EXPECT_EQ(cache->getSpriteFrameCount(), list->frames.size()) << rel;
        for (const auto& [name, f] : list->frames) {
            const cocos2d::SpriteFrame* frame = cache->getSpriteFrameByName(name);
            ASSERT_NE(frame, nullptr) << rel << ": " << name;
            const cocos2d::Rect& r = frame->getRect();
            EXPECT_EQ(r.origin.x, f.x) << rel << ": " << name;
            EXPECT_EQ(r.origin.y, f.y) << rel << ": " << name;
            EXPECT_EQ(r.size.width, f.w) << rel << ": " << name;
            EXPECT_EQ(r.size.height, f.h) << rel << ": " << name;
            EXPECT_FALSE(frame->isRotated()) << rel << ": " << name;
            EXPECT_EQ(frame->getOriginalSize().width, f.w) << rel << ": " << name;
            EXPECT_EQ(frame->getOriginalSize().height, f.h) << rel << ": " << name;
            ASSERT_NE(frame->getTexture(), nullptr) << rel << ": " << name;
            EXPECT_EQ(frame->getTexture()->getPixelsWide(), image->width) << rel;
            EXPECT_EQ(frame->getTexture()->getPixelsHigh(), image->height) << rel;
        }
        director()->getTextureCache()->removeAllTextures();
        ++lists;
    }
    EXPECT_EQ(lists, 64u);
}

// Effects decode whole into chunks and music opens as a stream, on SDL's dummy audio driver.
TEST(ResourceTreeSoundTest, EverySoundDecodesWithTheMixer) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024), 0) << Mix_GetError();
    int rate = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_NE(Mix_QuerySpec(&rate, &format, &channels), 0);
    const double bytesPerSecond = rate * channels * (SDL_AUDIO_BITSIZE(format) / 8.0);
    for (const std::string& name : restest::effectNames()) {
        const std::string file = full("audio/" + name + ".mp3");
        Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
        ASSERT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
        const double seconds = chunk->alen / bytesPerSecond;
        EXPECT_GT(seconds, 0.05) << name;
        EXPECT_LT(seconds, 2.2) << name;
        Mix_FreeChunk(chunk);
    }
    for (const std::string& name : restest::musicNames()) {
        const std::string file = full("audio/" + name + ".mp3");
        Mix_Music* music = Mix_LoadMUS(file.c_str());
        ASSERT_NE(music, nullptr) << name << ": " << Mix_GetError();
        EXPECT_GT(Mix_MusicDuration(music), 60.0) << name;
        Mix_FreeMusic(music);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Every character of every text has a glyph in the UI font, as SDL2_ttf sees it.
TEST(ResourceTreeFontTest, TheUiFontOpensAndDrawsEveryCharacterOfTheTexts) {
    ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
    TTF_Font* font = TTF_OpenFont(full("fonts/Arial.ttf").c_str(), 24);
    ASSERT_NE(font, nullptr) << TTF_GetError();
    Problems ignored;
    const restest::TextTable texts = restest::loadTexts(tree(), ignored);
    std::set<char32_t> used;
    for (const auto& [section, ids] : texts.sections) {
        for (const auto& [id, text] : ids) {
            std::vector<char32_t> cps;
            ASSERT_TRUE(restest::decodeUtf8(text, cps)) << section << "/" << id;
            used.insert(cps.begin(), cps.end());
        }
    }
    used.erase(U'\n');
    ASSERT_FALSE(used.empty());
    for (char32_t c : used) {
        EXPECT_TRUE(TTF_GlyphIsProvided32(font, static_cast<Uint32>(c))) << "U+" << std::hex << static_cast<unsigned>(c);
    }
    TTF_CloseFont(font);
    TTF_Quit();
}

}  // namespace
