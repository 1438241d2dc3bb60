#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../HeadlessEngine.h"
#include "engine/2d/ParticleSystem.h"
#include "engine/2d/ParticleSystemQuad.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Color4F;
using cocos2d::ParticleSystem;
using cocos2d::ParticleSystemQuad;
using cocos2d::RefPtr;
using cocos2d::Vec2;

std::string particleFile(const std::string& entries, const std::string& texture = "dot.png") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
           "  <key>texture</key><string>" +
           texture + "</string>\n" + entries + "</dict>\n</plist>\n";
}

// Exposes where each particle is drawn, in the system's node space.
class ProbeSystem : public ParticleSystemQuad {
public:
    static ProbeSystem* create(const Settings& settings, cocos2d::Texture2D* texture) {
        auto* probe = new ProbeSystem();
        probe->initWithSettings(settings, texture);
        probe->autorelease();
        return probe;
    }
    std::vector<Vec2> positions() const {
        std::vector<Vec2> out;
        for (const Particle& p : _particles) {
            out.push_back(drawPosition(p, getWorldToNodeTransform(), getParentToNodeTransform()));
        }
        return out;
    }
};

class ParticleSystemTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        root = fs::temp_directory_path() / ("kestrova-particles-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "particles");
        std::vector<unsigned char> rgba(8 * 8 * 4, 255);
        cocos2d::Image dot;
        ASSERT_TRUE(dot.initWithRawData(rgba.data(), rgba.size(), 8, 8, false));
        ASSERT_TRUE(dot.saveToFile(path("particles/dot.png")));
        scene = cocos2d::Scene::create();
        director()->runWithScene(scene);
        step();
    }
    void TearDown() override {
        HeadlessEngine::TearDown();
        fs::remove_all(root);
    }
    std::string path(const std::string& relative) const { return (root / relative).string(); }
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(path("particles/" + name), std::ios::binary) << text;
        return path("particles/" + name);
    }
    cocos2d::Texture2D* dotTexture() {
        return director()->getTextureCache()->addImage(path("particles/dot.png"));
    }

    fs::path root;
    cocos2d::Scene* scene = nullptr;
};

TEST_F(ParticleSystemTest, FileSettingsAndTheirDefaults) {
    const std::string full = write("full.plist", particleFile(R"(
  <key>maxParticles</key><integer>40</integer>
  <key>emissionRate</key><real>60.0</real>
  <key>duration</key><real>0.6</real>
  <key>emitterMode</key><integer>1</integer>
  <key>positionType</key><integer>2</integer>
  <key>life</key><real>0.7</real>
  <key>startColor</key><string>{1,0.92,0.55,1}</string>
  <key>endColor</key><string>{1, 0.75, 0.25, 0}</string>
  <key>startRadius</key><real>4</real>
  <key>endRadius</key><real>93.0</real>
  <key>gravity</key><string>{0,-18}</string>
  <key>blendSrc</key><integer>1</integer>
  <key>blendDst</key><integer>1</integer>
)"));
    RefPtr<ParticleSystemQuad> system = ParticleSystemQuad::create(full);
    ASSERT_TRUE(system);
    EXPECT_EQ(system->getTotalParticles(), 40);
    EXPECT_EQ(system->getEmissionRate(), 60.0f);
    EXPECT_FLOAT_EQ(system->getDuration(), 0.6f);
    EXPECT_EQ(system->getEmitterMode(), ParticleSystem::Mode::RADIUS);
    EXPECT_EQ(system->getPositionType(), ParticleSystem::PositionType::GROUPED);
    EXPECT_EQ(system->getStartColor(), Color4F(1, 0.92f, 0.55f, 1));
    EXPECT_EQ(system->getEndColor(), Color4F(1, 0.75f, 0.25f, 0));
    EXPECT_EQ(system->getStartRadius(), 4.0f);
    EXPECT_EQ(system->getEndRadius(), 93.0f);
    EXPECT_EQ(system->getSettings().gravity, Vec2(0, -18));
    EXPECT_EQ(system->getBlendFunc(), (cocos2d::BlendFunc{1, 1}));
    EXPECT_EQ(system->getTexture(), dotTexture()) << "through the texture cache";

    RefPtr<ParticleSystemQuad> bare = ParticleSystemQuad::create(write("bare.plist", particleFile("")));
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->getTotalParticles(), 50);
    EXPECT_EQ(bare->getEmissionRate(), 50.0f) << "maxParticles / life";
    EXPECT_EQ(bare->getDuration(), ParticleSystem::DURATION_INFINITY);
    EXPECT_EQ(bare->getEmitterMode(), ParticleSystem::Mode::GRAVITY);
    EXPECT_EQ(bare->getPositionType(), ParticleSystem::PositionType::FREE);
    EXPECT_EQ(bare->getSettings().endSize, ParticleSystem::START_SIZE_EQUAL_TO_END_SIZE);
    EXPECT_EQ(bare->getSettings().speed, 100.0f);
    EXPECT_EQ(bare->getBlendFunc(), cocos2d::BlendFunc::ALPHA_PREMULTIPLIED);
    EXPECT_EQ(bare->getEndColor(), Color4F(1, 1, 1, 0));
}

TEST_F(ParticleSystemTest, BadFilesGiveNullAndOneLineNamingTheFile) {
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"empty", ""},
        {"not XML", "\x01\x02garbage<<<"},
        {"truncated", particleFile("<key>life</key><real>1</real>").substr(0, 70)},
        {"root not a dict", "<plist><array/></plist>"},
        {"no texture", "<plist><dict><key>life</key><real>1</real></dict></plist>"},
        {"texture file missing", particleFile("", "missing.png")},
        {"life as string", particleFile("<key>life</key><string>1</string>")},
        {"life not a number", particleFile("<key>life</key><real>soon</real>")},
        {"negative life", particleFile("<key>life</key><real>-2</real>")},
        {"infinite rate", particleFile("<key>emissionRate</key><real>inf</real>")},
        {"no particles", particleFile("<key>maxParticles</key><integer>0</integer>")},
        {"a billion particles", particleFile("<key>maxParticles</key><integer>1000000000</integer>")},
        {"fractional count", particleFile("<key>maxParticles</key><real>2.5</real>")},
        {"emitter mode 2", particleFile("<key>emitterMode</key><integer>2</integer>")},
        {"position type 9", particleFile("<key>positionType</key><integer>9</integer>")},
        {"colour above 1", particleFile("<key>startColor</key><string>{2,0,0,1}</string>")},
        {"colour of three", particleFile("<key>endColor</key><string>{1,0,0}</string>")},
        {"bad point", particleFile("<key>gravity</key><string>{0,nan}</string>")},
        {"bad blend factor", particleFile("<key>blendSrc</key><integer>12345</integer>")},
        {"blend factor beyond any int", particleFile("<key>blendDst</key><real>1e300</real>")},
        {"huge size", particleFile("<key>startSize</key><real>1e30</real>")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = write("bad.plist", c.text);
        auto& log = captureLog();
        EXPECT_EQ(ParticleSystemQuad::create(file), nullptr);
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(log[0].find("bad.plist"), std::string::npos) << log[0];
    }
    auto& log = captureLog();
    EXPECT_EQ(ParticleSystemQuad::create("particles/none.plist"), nullptr);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("particles/none.plist"), std::string::npos);
}

TEST_F(ParticleSystemTest, EmitsOnlyWhileRunningAndPausesWithNodeAndDirector) {
    ParticleSystem::Settings settings;
    settings.maxParticles = 100;
    settings.emissionRate = 10;
    settings.life = 100;
    RefPtr<ParticleSystemQuad> system = ParticleSystemQuad::createWithSettings(settings, dotTexture());
    step(30);
    EXPECT_EQ(system->getParticleCount(), 0) << "nothing before it enters";
    scene->addChild(system);
    step(60);
    EXPECT_NEAR(system->getParticleCount(), 10, 1);
    const int running = system->getParticleCount();
    director()->pause();
    step(60);
    EXPECT_EQ(system->getParticleCount(), running);
    director()->resume();
    step(30);
    EXPECT_NEAR(system->getParticleCount(), running + 5, 1);
    system->pause();
    const int paused = system->getParticleCount();
    step(60);
    EXPECT_EQ(system->getParticleCount(), paused);
    system->resume();
    // Off stage and back: emission goes on where it was.
    system->removeFromParentAndCleanup(false);
    step(30);
    EXPECT_EQ(system->getParticleCount(), paused);
    scene->addChild(system);
    step(30);
    EXPECT_NEAR(system->getParticleCount(), paused + 5, 1);
    // A full pool stops emission without saving emissions up.
    settings.maxParticles = 5;
    RefPtr<ParticleSystemQuad> small = ParticleSystemQuad::createWithSettings(settings, dotTexture());
    scene->addChild(small);
    step(120);
    EXPECT_EQ(small->getParticleCount(), 5);
}

TEST_F(ParticleSystemTest, AFinishedSystemRemovesItselfOnceItsParticlesAreGone) {
    const std::string file = write("burst.plist", particleFile(R"(
  <key>maxParticles</key><integer>30</integer>
  <key>emissionRate</key><real>60</real>
  <key>duration</key><real>0.25</real>
  <key>life</key><real>0.5</real>
)"));
    RefPtr<ParticleSystemQuad> burst = ParticleSystemQuad::create(file);
    ASSERT_TRUE(burst);
    burst->setAutoRemoveOnFinish(true);
    scene->addChild(burst);
    step(15);  // 0.25 s: emitting still
    EXPECT_TRUE(burst->isActive());
    EXPECT_GT(burst->getParticleCount(), 10);
    step(2);
    EXPECT_FALSE(burst->isActive());
    EXPECT_EQ(burst->getParent(), scene);
    step(31);  // the last particles, born at 0.25 s, die at 0.75 s
    EXPECT_EQ(burst->getParticleCount(), 0);
    EXPECT_EQ(burst->getParent(), nullptr);
    EXPECT_EQ(burst->getReferenceCount(), 1u) << "only this test holds it";

    // Without auto-removal it stays; a continuous system never finishes until stopped.
    RefPtr<ParticleSystemQuad> kept = ParticleSystemQuad::create(file);
    scene->addChild(kept);
    step(120);
    EXPECT_EQ(kept->getParent(), scene);
    RefPtr<ParticleSystemQuad> endless = ParticleSystemQuad::create(write("endless.plist", particleFile(R"(
  <key>duration</key><real>-1</real><key>life</key><real>0.2</real>)")));
    endless->setAutoRemoveOnFinish(true);
    scene->addChild(endless);
    step(300);
    EXPECT_EQ(endless->getParent(), scene);
    EXPECT_TRUE(endless->isActive());
    endless->stopSystem();
    step(20);
    EXPECT_EQ(endless->getParent(), nullptr);
    // A duration set by the code (a one-second coin burst) replaces the file's.
    RefPtr<ParticleSystemQuad> coin = ParticleSystemQuad::create(write("coin.plist", particleFile("")));
    coin->setDuration(1.0f);
    scene->addChild(coin);
    step(59);
    EXPECT_TRUE(coin->isActive());
    step(2);
    EXPECT_FALSE(coin->isActive());
    coin->resetSystem();
    EXPECT_TRUE(coin->isActive());
    EXPECT_EQ(coin->getParticleCount(), 0);
}

TEST_F(ParticleSystemTest, RadiusModeSetByCodeUsesTheFilesRadiiAndGoesFromStartToEnd) {
    ParticleSystem::Settings settings;
    settings.life = 1.0f;
    settings.emissionRate = 30;
    settings.startRadius = 50;  // the file's; the code sets the end radius only
    settings.rotatePerSecond = 90;
    ProbeSystem* system = ProbeSystem::create(settings, dotTexture());
    system->setEmitterMode(ParticleSystem::Mode::RADIUS);
    system->setEndRadius(93);
    system->setPositionType(ParticleSystem::PositionType::GROUPED);
    scene->addChild(system);
    step(1);
    step(1);
    std::vector<Vec2> young = system->positions();
    ASSERT_FALSE(young.empty());
    for (const Vec2& p : young) {
        EXPECT_NEAR(std::hypot(p.x, p.y), 50.0f, 2.0f);
    }
    step(57);
    // The oldest particle, a second old next frame at most, is near the end radius.
    float widest = 0;
    for (const Vec2& p : system->positions()) {
        widest = std::max(widest, std::hypot(p.x, p.y));
    }
    EXPECT_NEAR(widest, 93.0f, 2.0f);
}

TEST_F(ParticleSystemTest, PositionTypesDecideWhatTheParticlesFollow) {
    ParticleSystem::Settings settings;
    settings.life = 10.0f;
    settings.emissionRate = 60;
    settings.maxParticles = 1;  // one particle, emitted on the first step
    settings.speed = 0;
    struct Case {
        ParticleSystem::PositionType type;
        Vec2 afterEmitterMoves;  // the particle in the emitter's space after the emitter moves by (10, 0)
        Vec2 afterParentMoves;   // ... and then the parent moves by (0, 20)
    };
    const Case cases[] = {
        {ParticleSystem::PositionType::FREE, Vec2(-10, 0), Vec2(-10, -20)},
        {ParticleSystem::PositionType::RELATIVE, Vec2(-10, 0), Vec2(-10, 0)},
        {ParticleSystem::PositionType::GROUPED, Vec2(0, 0), Vec2(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        cocos2d::Node* parent = cocos2d::Node::create();
        parent->setPosition(100, 100);
        scene->addChild(parent);
        ProbeSystem* system = ProbeSystem::create(settings, dotTexture());
        system->setPositionType(c.type);
        system->setPosition(50, 50);
        parent->addChild(system);
        step(2);
        ASSERT_EQ(system->positions().size(), 1u);
        EXPECT_NEAR(system->positions()[0].x, 0, 1e-3);
        system->setPosition(60, 50);
        EXPECT_NEAR(system->positions()[0].x, c.afterEmitterMoves.x, 1e-3);
        EXPECT_NEAR(system->positions()[0].y, c.afterEmitterMoves.y, 1e-3);
        parent->setPosition(100, 120);
        EXPECT_NEAR(system->positions()[0].x, c.afterParentMoves.x, 1e-3);
        EXPECT_NEAR(system->positions()[0].y, c.afterParentMoves.y, 1e-3);
        parent->removeFromParent();
    }
}

TEST_F(ParticleSystemTest, EveryParticleFileOfTheResourceTreeLoads) {
    const fs::path folder = fs::path(KESTROVA_RESOURCE_DIR) / "res" / "particles";
    if (!fs::exists(folder)) {
        GTEST_SKIP() << "the resource tree is not staged in this build";
    }
    // As the game resolves them: "particles/..." under the search path "res".
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    const std::string previousRoot = files->getResourceRoot();
    const std::vector<std::string> previousPaths = files->getSearchPaths();
    files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
    files->setSearchPaths({"res"});
    auto& log = captureLog();
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".plist") {
            continue;
        }
        ++count;
        const std::string name = "particles/" + entry.path().filename().string();
        EXPECT_NE(ParticleSystemQuad::create(name), nullptr) << name;
    }
    files->setResourceRoot(previousRoot);
    files->setSearchPaths(previousPaths);
    EXPECT_GE(count, 5);
    EXPECT_TRUE(log.empty()) << log.front();
}

}  // namespace
