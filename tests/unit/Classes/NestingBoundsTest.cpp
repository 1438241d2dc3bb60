// Every reader of the game's XML and JSON files, fed a file nested exactly to its bound, reads it;
// fed one nested a level deeper, or 200000 levels deep, it refuses the file with its one line and
// the game goes on as for any other malformed file. Nothing may recurse once per level of such a file.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "ui/UiTestSupport.h"

#include "DataPackReader.h"
#include "JsonDocument.h"
#include "Profile.h"
#include "TextTable.h"
#include "XmlDocument.h"
#include "minigames/MinigameLevelFile.h"
#include "nodes/LevelNode.h"
#include "ui/NodeFromJson.h"
#include "ui/SplashScreen.h"
#include "ui/TutorialScreen.h"

#include "../RepeatedText.h"

namespace {

using cocos2d::Node;
using cocos2d::RefPtr;

// The reader's root element holding elements nested down to `levels`, the root included.
std::string nestedXml(const std::string& root, int levels) {
    return "<?xml version=\"1.0\"?>\n<" + root + ">" + repeated("<n>", levels - 1) +
           repeated("</n>", levels - 1) + "</" + root + ">";
}

struct Depths {
    const char* what;
    std::function<std::string(int levels)> nested;  // the file nested to a depth
    std::string bottomless;                         // the file nested 200000 levels, never closed
};

class NestingBoundsTest : public uitest::UiFixture {
protected:
    // Runs the reader over the file at the bound, one past it and 200000 deep: at the bound no line
    // has `refusal` in it; past it the reader logs `refusal` exactly `lines` times.
    void expectBound(const std::string& path, const Depths& file, int bound,
                     const std::function<void()>& read, const std::string& refusal, int lines = 1) {
        SCOPED_TRACE(file.what);
        write(path, file.nested(bound));
        captureLog();
        read();
        EXPECT_EQ(logCount(refusal), 0) << "at the bound";
        EXPECT_EQ(logCount("nested deeper than"), 0) << "at the bound";

        for (const std::string& deep : {file.nested(bound + 1), file.bottomless}) {
            SCOPED_TRACE(deep.size() > 100000 ? "200000 levels" : "one level past the bound");
            write(path, deep);
            captureLog();
            read();
            EXPECT_EQ(logCount(refusal), lines);
        }
    }
};

TEST_F(NestingBoundsTest, EveryXmlReaderReadsUpToItsBoundAndRefusesDeeperWithItsLine) {
    const int bound = XmlDocument::kMaxDepth;
    const std::string nested = "elements nested deeper than " + std::to_string(bound) + " levels";
    auto xml = [](const char* what, const std::string& root) {
        return Depths{what, [root](int levels) { return nestedXml(root, levels); },
                      "<" + root + ">" + repeated("<n>", 200000)};
    };

    expectBound(
        "texts/texts-en.xml", xml("texts", "texts"), bound,
        [] { TextTable::getInstance().loadTexts("texts", "en", true); },
        "LoadTexts: texts/texts-en.xml: " + nested);

    write("packs/pack.xml", R"(<pack packVersion="1"><countries><country path="A" unlockorder="0">
        <picture path="P" unlockorder="0" coins="10"/></country></countries></pack>)");
    expectBound(
        "packs/packs.xml", xml("pack list", "packs"), bound,
        [] {
            Profile profile;
            DataPackReader::getInstance().load("packs", "en", profile);
        },
        "Load packs.xml list: " + nested);

    write("packs/packs.xml", R"(<packs><pack name="main"/></packs>)");
    // Read twice: once for its version, once for its contents.
    expectBound(
        "packs/pack.xml", xml("pack file", "pack"), bound,
        [] {
            Profile profile;
            DataPackReader::getInstance().load("packs", "en", profile);
        },
        "Load pack failed: " + nested, 2);

    expectBound(
        SplashScreen::kSplashListPath, xml("splash list", "Document"), bound,
        [] { RefPtr<SplashScreen> screen(SplashScreen::create()); },
        std::string("Load ") + SplashScreen::kSplashListPath + " list: " + nested);

    expectBound(
        TutorialScreen::tutorialPath(1), xml("tutorial", "Items"), bound,
        [] {
            RefPtr<cocos2d::Scene> scene(cocos2d::Scene::create());
            RefPtr<TutorialScreen> popup(TutorialScreen::create());
            scene->addChild(popup.get());
            popup->showTutorial(1, {});
        },
        "Load " + TutorialScreen::tutorialPath(1) + " list: " + nested);

    expectBound(
        "minigamelevels/TwoMatch_0.xml", xml("minigame level", "Level"), bound,
        [] { MinigameLevelFile().load("minigamelevels/TwoMatch_0.xml", "Level"); },
        "Load minigamelevels/TwoMatch_0.xml list: " + nested);
}

// A description whose "nodes" holds, after its elements, arrays nested down to `levels` containers,
// the top object included.
std::string nestedJson(const std::string& elements, int levels) {
    const int arrays = levels - 2;  // the top object and "nodes"
    return R"({"nodes": [)" + elements + ", " + repeated("[", arrays) + repeated("]", arrays) + "]}";
}

TEST_F(NestingBoundsTest, EveryJsonReaderReadsUpToItsBoundAndRefusesDeeperWithItsLine) {
    // The issue's own file: the level's "nodes" as 200000 nested arrays.
    const std::string bottomless = R"({"nodes": )" + repeated("[", 200000) + repeated("]", 200000) + "}";
    const std::string refusal = "returned error: 16";

    const std::string element = R"({"name": "box", "x": 0, "y": 0, "w": 10, "h": 10})";
    const Depths ui{"UI description", [&](int levels) { return nestedJson(element, levels); }, bottomless};
    std::vector<bool> screensBuilt;
    expectBound(
        "ui/Deep/ccnode.json", ui, kMaxJsonDepth,
        [&] {
            JsonDocumentCache::getInstance().clear();
            NodeFromJson loader("ui/Deep");
            RefPtr<Node> root(loader.createNode(""));
            screensBuilt.push_back(root && root->getChildByName("box") != nullptr);
        },
        "Parsing JSON document 'ui/Deep/ccnode.json' " + refusal);
    EXPECT_EQ(screensBuilt, (std::vector<bool>{true, false, false}));

    writeImage("Scenes/Deep/Level/background.jpg", 64, 40, cocos2d::Color4B(90, 90, 90, 255));
    const std::string background =
        R"({"name": "background", "tex": "background.jpg", "x": 0, "y": 0, "w": 64, "h": 40})";
    const Depths level{"level description", [&](int levels) { return nestedJson(background, levels); },
                       bottomless};
    std::vector<bool> levelsBuilt;
    expectBound(
        "Scenes/Deep/Level/ccnode.json", level, kMaxJsonDepth,
        [&] {
            RefPtr<Node> parent(Node::create());
            NodeLevel* made = NodeLevel::create();
            ASSERT_NE(made, nullptr);
            levelsBuilt.push_back(made->initWithLevel(parent.get(), "Scenes/Deep/Level", 1, 0));
            made->cleanup();
        },
        "Parsing JSON document 'Scenes/Deep/Level/ccnode.json' " + refusal);
    EXPECT_EQ(levelsBuilt, (std::vector<bool>{true, false, false}));
}

}  // namespace
