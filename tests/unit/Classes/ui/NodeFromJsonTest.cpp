// UI descriptions against the node trees they build: placement, element kinds, lookup by name,
// references, labels and their texts, class nodes through the factory, and what a bad file gives.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/scene/Node.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrame.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventMouse.h"
#include "engine/scene/Scene.h"
#include "engine/ui/Button.h"
#include "engine/ui/CheckBox.h"

#include "ui/FactoryNode.h"
#include "ui/FactoryNodeRegistry.h"
#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Label;
using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Sprite;
using cocos2d::Vec2;

// A class that records what it saw when the loader handed it its element.
class RecordingPanel : public FactoryNode {
public:
    static FactoryNode* create(const rapidjson::Value&) {
        auto* panel = new (std::nothrow) RecordingPanel();
        if (panel == nullptr || !panel->init()) {
            delete panel;
            return nullptr;
        }
        panel->autorelease();
        return panel;
    }
    void initWithJson(const rapidjson::Value& element) override {
        FactoryNode::initWithJson(element);
        ++calls;
        childrenAtInit = static_cast<int>(getChildrenCount());
        tagAtInit = getTag();
        rotationAtInit = getRotation();
        const auto title = element.FindMember("title");
        if (title != element.MemberEnd() && title->value.IsString()) {
            this->title = title->value.GetString();
        }
    }
    int calls = 0;
    int childrenAtInit = -1;
    int tagAtInit = -2;
    float rotationAtInit = -1.0f;
    std::string title;
};

FactoryNode* failingCreate(const rapidjson::Value&) {
    return nullptr;
}

// The node at a path of names from the root ("" is the root itself).
Node* at(Node* root, const std::string& path) {
    Node* node = root;
    size_t begin = 0;
    while (node != nullptr && begin < path.size()) {
        const size_t end = path.find('/', begin);
        const std::string name =
            path.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        node = node->getChildByName(name);
        begin = end == std::string::npos ? path.size() : end + 1;
    }
    return node;
}

enum class Kind { Absent, Plain, Factory, Recording, Sprite, Label, Button, CheckBox, Progress };

Kind kindOf(Node* node) {
    if (node == nullptr) {
        return Kind::Absent;
    }
    if (dynamic_cast<RecordingPanel*>(node)) {
        return Kind::Recording;
    }
    if (dynamic_cast<FactoryNode*>(node)) {
        return Kind::Factory;
    }
    if (dynamic_cast<Label*>(node)) {
        return Kind::Label;
    }
    if (dynamic_cast<cocos2d::ui::Button*>(node)) {
        return Kind::Button;
    }
    if (dynamic_cast<cocos2d::ui::CheckBox*>(node)) {
        return Kind::CheckBox;
    }
    if (dynamic_cast<cocos2d::ProgressTimer*>(node)) {
        return Kind::Progress;
    }
    if (dynamic_cast<Sprite*>(node)) {
        return Kind::Sprite;
    }
    return Kind::Plain;
}

const char* kindName(Kind kind) {
    switch (kind) {
        case Kind::Absent:
            return "absent";
        case Kind::Plain:
            return "plain node";
        case Kind::Factory:
            return "factory node";
        case Kind::Recording:
            return "class node";
        case Kind::Sprite:
            return "sprite";
        case Kind::Label:
            return "label";
        case Kind::Button:
            return "button";
        case Kind::CheckBox:
            return "check box";
        case Kind::Progress:
            return "progress bar";
    }
    return "?";
}

class NodeFromJsonTest : public uitest::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        writeImage("ui/T/red.png", 20, 10, cocos2d::Color4B(255, 0, 0, 255));
        writeSheet("ui/T", "Sheet", 64, 32, {{"f1.png", 0, 0, 16, 16}, {"f2.png", 16, 0, 32, 24}});
        write("texts/texts-en.xml",
              "<texts><ui><t id=\"caption\">Hello</t><t id=\"title\">Gallery</t></ui>"
              "<ConfirmationWindow><t id=\"caption\">Sure?</t></ConfirmationWindow></texts>");
        TextTable::getInstance().loadTexts("texts", "en", true);
        FactoryNodeRegistry::getInstance().registerClass("RecordingPanel", RecordingPanel::create);
        FactoryNodeRegistry::getInstance().registerClass("FailingPanel", failingCreate);
    }

    // Builds `name` from a description of folder ui/T; the result is kept alive by the test.
    RefPtr<Node> build(const std::string& json, const std::string& name = "") {
        write("ui/T/ccnode.json", json);
        JsonDocumentCache::getInstance().clear();
        NodeFromJson loader("ui/T");
        return RefPtr<Node>(loader.createNode(name));
    }
};

struct TreeCase {
    const char* what;
    const char* json;
    const char* build;  // the name given to createNode
    const char* path;   // the node checked, by names from what was built
    Kind kind;
    float x;
    float y;
};

TEST_F(NodeFromJsonTest, DescriptionsBuildTheirKindsAtTheirPlaces) {
    const TreeCase cases[] = {
        {"a child frame inside a 400 x 300 parent",
         R"({"nodes":[{"name":"P","x":0,"y":0,"w":400,"h":300,
             "nodes":[{"name":"C","x":10,"y":20,"w":100,"h":40}]}]})",
         "", "P/C", Kind::Plain, -140, 110},
        {"the parent itself against the 1280 x 810 root",
         R"({"nodes":[{"name":"P","x":0,"y":0,"w":400,"h":300}]})", "", "P", Kind::Plain, -440, 255},
        {"a full-screen element sits at the origin",
         R"({"nodes":[{"name":"Full","x":0,"y":0,"w":1280,"h":810}]})", "", "Full", Kind::Plain, 0, 0},
        {"the root of a whole description", R"({"nodes":[]})", "", "", Kind::Factory, 0, 0},
        {"a description without nodes gives an empty root", R"({"other":1})", "", "", Kind::Factory, 0, 0},
        {"a named element deep down is placed against the root frame",
         R"({"nodes":[{"name":"A","x":100,"y":100,"w":600,"h":400,"nodes":[
             {"name":"B","x":10,"y":10,"w":300,"h":300,"nodes":[
             {"name":"Deep","x":0,"y":0,"w":200,"h":100}]}]}]})",
         "Deep", "", Kind::Plain, -540, 355},
        {"an image file of the folder",
         R"({"nodes":[{"name":"img","x":100,"y":50,"w":20,"h":10,"tex":"red.png"}]})", "", "img",
         Kind::Sprite, -530, 350},
        {"a frame of a sheet of the folder",
         R"({"nodes":[{"name":"fr","x":0,"y":0,"w":16,"h":16,"tex":"Sheet/f1.png"}]})", "", "fr",
         Kind::Sprite, -632, 397},
        {"an image that cannot be loaded yields nothing",
         R"({"nodes":[{"name":"img","x":0,"y":0,"w":20,"h":10,"tex":"missing.png"}]})", "", "img",
         Kind::Absent, 0, 0},
        {"a frame the sheet lacks yields nothing",
         R"({"nodes":[{"name":"fr","x":0,"y":0,"w":16,"h":16,"tex":"Sheet/nope.png"}]})", "", "fr",
         Kind::Absent, 0, 0},
        {"an image's own nodes are not built",
         R"({"nodes":[{"name":"img","x":0,"y":0,"w":20,"h":10,"tex":"red.png",
             "nodes":[{"name":"kid","x":0,"y":0,"w":1,"h":1}]}]})",
         "", "img/kid", Kind::Absent, 0, 0},
        {"label and tex together build a label",
         R"({"nodes":[{"name":"caption","x":0,"y":0,"w":200,"h":40,"tex":"red.png",
             "label":{"t":"ttf","f":"Arial","s":20}}]})",
         "", "caption", Kind::Label, -540, 385},
        {"a registered class",
         R"({"nodes":[{"name":"Panel","x":0,"y":0,"w":1280,"h":810,"class":"RecordingPanel"}]})", "", "Panel",
         Kind::Recording, 0, 0},
        {"a class whose create fails yields nothing",
         R"({"nodes":[{"name":"Panel","x":0,"y":0,"w":10,"h":10,"class":"FailingPanel"}]})", "", "Panel",
         Kind::Absent, 0, 0},
        {"a class name in another letter case is not found",
         R"({"nodes":[{"name":"Panel","x":0,"y":0,"w":10,"h":10,"class":"recordingpanel"}]})", "", "Panel",
         Kind::Absent, 0, 0},
        {"placeholders yield no node",
         R"({"nodes":[{"name":"sel","x":0,"y":0,"w":10,"h":10,"selector":1,"tag":5,"r":"90"},
                      {"name":"lst","x":0,"y":0,"w":10,"h":10,"list":true}]})",
         "", "sel", Kind::Absent, 0, 0},
        {"a label without a type yields nothing",
         R"({"nodes":[{"name":"caption","x":0,"y":0,"w":10,"h":10,"label":{"f":"Arial","s":20}}]})", "",
         "caption", Kind::Absent, 0, 0},
        {"a label of an unknown type yields nothing",
         R"({"nodes":[{"name":"caption","x":0,"y":0,"w":10,"h":10,"label":{"t":"svg","f":"Arial","s":20}}]})",
         "", "caption", Kind::Absent, 0, 0},
        {"a button", R"({"nodes":[{"name":"Yes","x":110,"y":290,"w":180,"h":64,"button":1,
             "nodes":[{"name":"normal","tex":"red.png","state":"normal"}]}]})",
         "", "Yes", Kind::Button, -440, 83},
        {"a button without parts yields nothing",
         R"({"nodes":[{"name":"Yes","x":0,"y":0,"w":10,"h":10,"button":1}]})", "", "Yes", Kind::Absent, 0, 0},
        {"a check box", R"({"nodes":[{"name":"Box","x":0,"y":0,"w":40,"h":40,"checkbox":1,
             "nodes":[{"name":"bg","tex":"Sheet/f1.png","state":"normal"}]}]})",
         "", "Box", Kind::CheckBox, -620, 385},
        {"a check box without parts yields nothing",
         R"({"nodes":[{"name":"Box","x":0,"y":0,"w":40,"h":40,"checkbox":1}]})", "", "Box", Kind::Absent, 0,
         0},
        {"a progress bar",
         R"({"nodes":[{"name":"bar","x":100,"y":50,"w":20,"h":10,"tex":"red.png","progress":1}]})", "", "bar",
         Kind::Progress, -530, 350},
        {"a progress bar whose image cannot be loaded yields nothing",
         R"({"nodes":[{"name":"bar","x":0,"y":0,"w":20,"h":10,"tex":"gone.png","progress":1}]})", "", "bar",
         Kind::Absent, 0, 0},
        {"a selector before a progress bar",
         R"({"nodes":[{"name":"bar","x":0,"y":0,"w":20,"h":10,"tex":"red.png","progress":1,"selector":1}]})",
         "", "bar", Kind::Absent, 0, 0},
        {"a label before a button", R"({"nodes":[{"name":"caption","x":0,"y":0,"w":200,"h":40,"button":1,
             "nodes":[{"name":"n","tex":"red.png","state":"normal"}],"label":{"t":"ttf","f":"Arial","s":20}}]})",
         "", "caption", Kind::Label, -540, 385},
        {"a bitmap-font label the engine cannot make yields nothing",
         R"({"nodes":[{"name":"caption","x":0,"y":0,"w":10,"h":10,"label":{"t":"bm","f":"fonts/x.fnt"}}]})",
         "", "caption", Kind::Absent, 0, 0},
    };
    for (const TreeCase& c : cases) {
        SCOPED_TRACE(c.what);
        RefPtr<Node> root = build(c.json, c.build);
        ASSERT_TRUE(root);
        Node* node = at(root, c.path);
        EXPECT_EQ(kindOf(node), c.kind) << kindName(kindOf(node)) << " instead of " << kindName(c.kind);
        if (node != nullptr) {
            EXPECT_FLOAT_EQ(node->getPositionX(), c.x);
            EXPECT_FLOAT_EQ(node->getPositionY(), c.y);
        }
    }
}

TEST_F(NodeFromJsonTest, RotationOpacityAndTagComeFromTheirKeys) {
    struct Case {
        const char* extra;
        float rotation;
        int opacity;
        int tag;
    };
    const Case cases[] = {
        {R"("r":"_90")", 90, 255, -1},
        {R"("r":"90")", 90, 255, -1},
        {R"("r":"-12.5deg")", -12.5f, 255, -1},
        {R"("r":"abc")", 0, 255, -1},
        {R"("o":0.5)", 0, 127, -1},
        {R"("o":1.0)", 0, 255, -1},
        {R"("o":0)", 0, 0, -1},
        // The low 8 bits of the product: 2.0 * 255 = 510 keeps 254.
        {R"("o":2.0)", 0, 254, -1},
        {R"("tag":42)", 0, 255, 42},
        {R"("tag":"42")", 0, 255, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.extra);
        RefPtr<Node> root =
            build(std::string(R"({"nodes":[{"name":"img","x":0,"y":0,"w":20,"h":10,"tex":"red.png",)") +
                  c.extra + "}]}");
        Node* img = at(root, "img");
        ASSERT_NE(img, nullptr);
        EXPECT_FLOAT_EQ(img->getRotation(), c.rotation);
        EXPECT_EQ(img->getOpacity(), c.opacity);
        EXPECT_EQ(img->getTag(), c.tag);
    }
}

TEST_F(NodeFromJsonTest, AnchorsLeaveFramesInPlaceWhileTheWholeDesignAreaIsShown) {
    // The game shows the whole design area (the visible origin is (0, 0)), so no anchor moves a
    // frame; the letters only matter on a cropped view.
    ASSERT_EQ(cocos2d::Director::getInstance()->getVisibleOrigin(), Vec2::ZERO);
    RefPtr<Node> root = build(
        R"({"nodes":[{"name":"none","x":100,"y":100,"w":10,"h":10},
                     {"name":"lt","x":100,"y":100,"w":10,"h":10,"anchor":"lt"},
                     {"name":"rb","x":100,"y":100,"w":10,"h":10,"anchor":"rb"}]})");
    EXPECT_EQ(at(root, "none")->getPosition(), Vec2(105 - 640, 405 - 105));
    EXPECT_EQ(at(root, "lt")->getPosition(), at(root, "none")->getPosition());
    EXPECT_EQ(at(root, "rb")->getPosition(), at(root, "none")->getPosition());
}

// On a cropped view the letters keep an element at its distance from that edge of the visible area.
// Frames are y-down, so "t" adds the origin's y and "b" subtracts it; "l" wins over "r", "t" over "b",
// and a letter counts wherever it stands in the string.
TEST_F(NodeFromJsonTest, AnchorLettersShiftTheFrameByTheVisibleOrigin) {
    struct Case {
        const char* anchor;  // the member as JSON text; null: no "anchor"
        float x;
        float y;
    };
    const Case cases[] = {
        {nullptr, 100, 100},     {R"("lt")", 130, 120}, {R"("tl")", 130, 120}, {R"("rb")", 70, 80},
        {R"("lr")", 130, 100},   {R"("tb")", 100, 120}, {R"("b")", 100, 80},   {R"("")", 100, 100},
        {R"("center")", 70, 120}, {"1", 100, 100},
    };
    const Vec2 origin(30, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.anchor != nullptr ? c.anchor : "no anchor");
        std::string json = R"({"name":"e","x":100,"y":100,"w":10,"h":40)";
        if (c.anchor != nullptr) {
            json += std::string(R"(,"anchor":)") + c.anchor;
        }
        json += "}";
        rapidjson::Document element;
        element.Parse(json.c_str());
        ASSERT_FALSE(element.HasParseError());
        EXPECT_EQ(NodeFromJson::readFrame(element, origin), cocos2d::Rect(c.x, c.y, 10, 40));
        EXPECT_EQ(NodeFromJson::readFrame(element, Vec2::ZERO), cocos2d::Rect(100, 100, 10, 40));
    }
}

TEST_F(NodeFromJsonTest, ClassNodesAreNamedAndReadTheirElementAfterTheirChildrenExist) {
    RefPtr<Node> root = build(
        R"({"nodes":[{"name":"Panel","x":0,"y":0,"w":1280,"h":810,"class":"RecordingPanel","tag":7,"r":"45",
             "title":"hello","nodes":[{"name":"a","x":0,"y":0,"w":1,"h":1},{"name":"b","x":0,"y":0,"w":1,"h":1}]}]})");
    auto* panel = dynamic_cast<RecordingPanel*>(at(root, "Panel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->calls, 1);
    EXPECT_EQ(panel->childrenAtInit, 2);
    EXPECT_FLOAT_EQ(panel->rotationAtInit, 45.0f) << "rotation comes before initWithJson";
    EXPECT_EQ(panel->tagAtInit, -1) << "the tag comes after initWithJson";
    EXPECT_EQ(panel->getTag(), 7);
    EXPECT_EQ(panel->title, "hello");
    EXPECT_NE(at(root, "Panel/b"), nullptr);
}

TEST_F(NodeFromJsonTest, AnUnregisteredClassLogsAndBuildsNeitherItNorItsChildren) {
    FactoryNodeRegistry::destroyInstance();
    captureLog();
    RefPtr<Node> root = build(
        R"({"nodes":[{"name":"Panel","x":0,"y":0,"w":10,"h":10,"class":"PictureFrame",
             "nodes":[{"name":"kid","x":0,"y":0,"w":1,"h":1}]},{"name":"after","x":0,"y":0,"w":1,"h":1}]})");
    EXPECT_EQ(root->getChildrenCount(), 1);
    EXPECT_NE(at(root, "after"), nullptr);
    EXPECT_EQ(logCount("Can't create PictureFrame"), 1);
}

TEST_F(NodeFromJsonTest, ANamedElementIsBuiltWithItsSubtreeAndNoOther) {
    const std::string json =
        R"({"nodes":[{"name":"Screen","x":0,"y":0,"w":1280,"h":810,"nodes":[
             {"name":"Window","x":480,"y":285,"w":320,"h":240,"nodes":[
               {"name":"panel","x":20,"y":90,"w":20,"h":10,"tex":"red.png"},
               {"name":"Yes","x":110,"y":190,"w":10,"h":10}]}]},
           {"name":"Other","x":0,"y":0,"w":5,"h":5}]})";
    RefPtr<Node> window = build(json, "Window");
    ASSERT_TRUE(window);
    EXPECT_EQ(window->getName(), "Window");
    EXPECT_EQ(window->getParent(), nullptr);
    EXPECT_EQ(window->getChildrenCount(), 2);
    EXPECT_EQ(kindOf(at(window, "panel")), Kind::Sprite);
    // The panel's frame measured inside the window's 320 x 240.
    EXPECT_EQ(at(window, "panel")->getPosition(), Vec2(20 + 10 - 160, 120 - (90 + 5)));

    EXPECT_FALSE(build(json, "Nobody"));
}

TEST_F(NodeFromJsonTest, ReferencesTakeTheChildrenOfTheLastDefinitionWithTheirOwnFrame) {
    const std::string json =
        R"({"nodes":[
             {"name":"Card","x":0,"y":0,"w":100,"h":100,"nodes":[{"name":"first","x":0,"y":0,"w":10,"h":10}]},
             {"name":"Slot","x":200,"y":0,"w":400,"h":200,"nodes":[
               {"name":"Card","reference":1,"x":0,"y":0,"w":200,"h":100}]},
             {"name":"Card","x":0,"y":0,"w":300,"h":300,"class":"Unknown","tex":"red.png",
              "nodes":[{"name":"second","x":0,"y":0,"w":20,"h":20}]},
             {"name":"Lonely","reference":1,"x":0,"y":0,"w":10,"h":10}]})";
    RefPtr<Node> root = build(json);
    Node* ref = at(root, "Slot/Card");
    ASSERT_EQ(kindOf(ref), Kind::Plain);
    EXPECT_EQ(ref->getPosition(), Vec2(100 - 200, 100 - 50));
    ASSERT_NE(at(ref, "second"), nullptr) << "the later definition";
    EXPECT_EQ(at(ref, "first"), nullptr);
    // Measured inside the reference's own 200 x 100, not the definition's 300 x 300.
    EXPECT_EQ(at(ref, "second")->getPosition(), Vec2(10 - 100, 50 - 10));
    EXPECT_EQ(at(root, "Lonely")->getChildrenCount(), 0) << "no definition: an empty node";

    RefPtr<Node> card = build(json, "Card");
    EXPECT_NE(at(card, "first"), nullptr) << "createNode builds the first of the name";
}

TEST_F(NodeFromJsonTest, LabelsTakeTheirTextFromTheSectionOfTheBuild) {
    const std::string json =
        R"({"nodes":[{"name":"ConfirmationWindow","x":0,"y":0,"w":400,"h":200,"nodes":[
             {"name":"caption","x":0,"y":0,"w":400,"h":50,"label":{"t":"TTF","f":"Arial","s":20}},
             {"name":"Missing_Key","x":0,"y":60,"w":400,"h":50,"label":{"t":"ttf","f":"Arial","s":20}}]}]})";
    RefPtr<Node> whole = build(json);
    auto* wholeCaption = dynamic_cast<Label*>(at(whole, "ConfirmationWindow/caption"));
    ASSERT_NE(wholeCaption, nullptr);
    EXPECT_EQ(wholeCaption->getString(), "Hello") << "section ui for the whole tree";
    EXPECT_EQ(dynamic_cast<Label*>(at(whole, "ConfirmationWindow/Missing_Key"))->getString(),
              "ui.missing_key");

    RefPtr<Node> window = build(json, "ConfirmationWindow");
    auto* caption = dynamic_cast<Label*>(at(window, "caption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->getString(), "Sure?");
    EXPECT_EQ(caption->getAnchorPoint(), Vec2(0.5f, 0.5f));
}

TEST_F(NodeFromJsonTest, LabelObjectsSetColourSizeShadowAndAlignment) {
    struct Case {
        const char* label;
        cocos2d::Color3B colour;
        float fontSize;
        bool shadow;
        cocos2d::TextHAlignment h;
        cocos2d::TextVAlignment v;
    };
    using H = cocos2d::TextHAlignment;
    using V = cocos2d::TextVAlignment;
    const cocos2d::Color3B white(255, 255, 255);
    const Case cases[] = {
        {R"({"t":"ttf","f":"Arial","s":25,"c":"255000128"})", {255, 0, 128}, 25, false, H::CENTER, V::CENTER},
        {R"({"t":"ttf","f":"Arial","s":25,"c":"255000"})", white, 25, false, H::CENTER, V::CENTER},
        {R"({"t":"ttf","f":"Arial","s":25,"c":"999000000"})", {231, 0, 0}, 25, false, H::CENTER, V::CENTER},
        {R"({"t":"ttf","f":"Arial","s":25,"fx":"shadow"})", white, 25, true, H::CENTER, V::CENTER},
        {R"({"t":"ttf","f":"Arial","s":25,"fx":"s"})", white, 25, true, H::CENTER, V::CENTER},
        {R"({"t":"ttf","f":"Arial","s":25,"fx":"glow"})", white, 25, false, H::CENTER, V::CENTER},
        {R"({"t":"ttf","f":"Arial","s":25,"ha":"l","va":"t"})", white, 25, false, H::LEFT, V::TOP},
        {R"({"t":"ttf","f":"Arial","s":25,"ha":"r","va":"b"})", white, 25, false, H::RIGHT, V::BOTTOM},
        {R"({"t":"ttf","f":"Arial","s":25,"ha":"L","va":"T"})", white, 25, false, H::CENTER, V::CENTER},
        {R"({"t":"ttf","f":"Arial","s":25.9})", white, 25, false, H::CENTER, V::CENTER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        RefPtr<Node> root =
            build(std::string(R"({"nodes":[{"name":"caption","x":0,"y":0,"w":100,"h":30,"label":)") +
                  c.label + "}]}");
        auto* label = dynamic_cast<Label*>(at(root, "caption"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->getColor(), c.colour);
        EXPECT_FLOAT_EQ(label->getTTFConfig().fontSize, c.fontSize);
        EXPECT_EQ(label->isShadowEnabled(), c.shadow);
        if (c.shadow) {
            EXPECT_EQ(label->getShadowColor(), cocos2d::Color4B(0, 0, 0, 190));
            EXPECT_EQ(label->getShadowOffset(), cocos2d::Size(2, -2));
        }
        EXPECT_EQ(label->getHorizontalAlignment(), c.h);
        EXPECT_EQ(label->getVerticalAlignment(), c.v);
    }
}

TEST_F(NodeFromJsonTest, TheTextScaleOfAnotherLanguageShrinksFontsAndTheBoxIsKept) {
    write("lang", "de");
    RefPtr<Node> root = build(
        R"({"nodes":[{"name":"caption","x":0,"y":0,"w":100,"h":30,
             "label":{"t":"ttf","f":"Arial","s":25,"w":300,"h":80}}]})");
    auto* label = dynamic_cast<Label*>(at(root, "caption"));
    ASSERT_NE(label, nullptr);
    EXPECT_FLOAT_EQ(label->getTTFConfig().fontSize, 22.0f) << "25 * 0.9 truncated";
    EXPECT_EQ(label->getDimensions(), cocos2d::Size(300, 80));
    // Sizes whose product with 0.9 is whole keep it: truncation must not lose a point to rounding.
    for (const auto& [size, expected] : {std::pair{20, 18.0f}, std::pair{10, 9.0f}, std::pair{30, 27.0f}}) {
        RefPtr<Node> sized = build(R"({"nodes":[{"name":"caption","x":0,"y":0,"w":100,"h":30,
             "label":{"t":"ttf","f":"Arial","s":)" +
                                   std::to_string(size) + "}}]}");
        auto* made = dynamic_cast<Label*>(at(sized, "caption"));
        ASSERT_NE(made, nullptr);
        EXPECT_FLOAT_EQ(made->getTTFConfig().fontSize, expected) << size;
    }
}

TEST_F(NodeFromJsonTest, AMalformedOrMissingDescriptionLogsAndGivesNull) {
    struct Case {
        const char* what;
        const char* text;  // null: no file at all
        int code;
    };
    const Case cases[] = {
        {"missing file", nullptr, 1},
        {"empty file", "", 1},
        {"truncated", R"({"nodes":[{"name":"a")", 6},
        {"garbage", "\x01\x02nodes", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ec;
        uitest::fs::remove(_root / "ui" / "Bad" / "ccnode.json", ec);
        if (c.text != nullptr) {
            write("ui/Bad/ccnode.json", c.text);
        }
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
        captureLog();
        NodeFromJson loader("ui/Bad");
        EXPECT_EQ(loader.getDocument(), nullptr);
        EXPECT_EQ(loader.createNode(""), nullptr);
        EXPECT_EQ(
            logCount("Parsing JSON document 'ui/Bad/ccnode.json' returned error: " + std::to_string(c.code)),
            1);
        EXPECT_TRUE(NodeFromJson::collectTextures("ui/Bad").empty());
        EXPECT_EQ(JsonDocumentCache::getInstance().size(), 0u) << "nothing cached";
    }
}

TEST_F(NodeFromJsonTest, SheetsNamedByAnElementAreLoadedForItsFrames) {
    RefPtr<Node> root = build(
        R"({"nodes":[{"name":"Sheet","sheet":1,"x":0,"y":0,"w":1280,"h":810,"nodes":[
             {"name":"pic","x":0,"y":0,"w":32,"h":24,"tex":"Sheet/f2.png"}]}]})");
    EXPECT_NE(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("f1.png"), nullptr);
    auto* pic = dynamic_cast<Sprite*>(at(root, "Sheet/pic"));
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->getContentSize(), cocos2d::Size(32, 24));
}

TEST_F(NodeFromJsonTest, CollectTexturesListsSheetImagesAndEveryTexValue) {
    write("ui/T/ccnode.json",
          R"({"nodes":[
               {"name":"Sheet","sheet":1,"x":0,"y":0,"w":1,"h":1,"nodes":[{"name":"hidden","tex":"inner.png"}]},
               {"name":"box","x":0,"y":0,"w":1,"h":1,"nodes":[
                 {"name":"a","tex":"red.png"},{"name":"b","tex":"Sheet/f1.png"},{"name":"c","tex":"red.png"}]},
               {"name":"top","tex":"bar.png","progress":1}]})");
    const std::unordered_set<std::string> textures = NodeFromJson::collectTextures("ui/T");
    EXPECT_EQ(textures, (std::unordered_set<std::string>{"ui/T/Sheet_atlas.png", "ui/T/red.png",
                                                         "ui/T/Sheet/f1.png", "ui/T/bar.png"}));
}

TEST_F(NodeFromJsonTest, LoadersShareOneParseAndDestroyingOneEmptiesTheCache) {
    write("ui/T/ccnode.json", R"({"nodes":[{"name":"old","x":0,"y":0,"w":1,"h":1}]})");
    JsonDocumentCache& cache = JsonDocumentCache::getInstance();
    auto first = std::make_unique<NodeFromJson>("ui/T");
    auto second = std::make_unique<NodeFromJson>("ui/T");
    ASSERT_NE(first->getDocument(), nullptr);
    EXPECT_EQ(first->getDocument(), second->getDocument()) << "one parse, shared";
    EXPECT_EQ(cache.size(), 1u);

    // The file changes on disk; while the cache holds it, a third loader still sees the old parse.
    write("ui/T/ccnode.json", R"({"nodes":[{"name":"new","x":0,"y":0,"w":1,"h":1}]})");
    EXPECT_EQ(NodeFromJson("ui/T").getDocument(), first->getDocument());
    // ...and that third loader's end emptied the cache: the next request reads the file again.
    EXPECT_EQ(cache.size(), 0u);
    NodeFromJson fresh("ui/T");
    EXPECT_NE(fresh.getDocument(), first->getDocument());
    EXPECT_TRUE(RefPtr<Node>(fresh.createNode("new")));

    // A living loader's own document outlives the emptying.
    second.reset();
    EXPECT_EQ(cache.size(), 0u);
    RefPtr<Node> old(first->createNode("old"));
    EXPECT_TRUE(old);
}

TEST_F(NodeFromJsonTest, ButtonsTakeTheirImagesTitleAndPartsFromTheirNodes) {
    using cocos2d::ui::Button;
    write("texts/texts-en.xml", "<texts><ui><t id=\"btn_yes\">Yes please</t></ui></texts>");
    TextTable::getInstance().loadTexts("texts", "en", true);
    writeImage("ui/T/grey.png", 30, 12, cocos2d::Color4B(90, 90, 90, 255));
    RefPtr<Node> root = build(R"({"nodes":[
        {"name":"Plain","x":0,"y":0,"w":200,"h":60,"button":1,"nodes":[
          {"name":"n","tex":"red.png","state":"normal"},
          {"name":"d","tex":"grey.png","state":"disabled"},
          {"name":"odd","tex":"grey.png","state":"hover"},
          {"name":"btn_yes","label":{"t":"ttf","f":"Arial","s":28,"c":"255247226","fx":"s"}},
          {"name":"part","x":10,"y":5,"w":20,"h":20,"nodes":[{"name":"inner","x":0,"y":0,"w":200,"h":60}]}]},
        {"name":"Pressed","x":0,"y":0,"w":200,"h":60,"button":1,"nodes":[
          {"name":"n","tex":"Sheet/f2.png","state":"normal"},
          {"name":"s","tex":"Sheet/f1.png","state":"selected"}]}]})");

    auto* plain = dynamic_cast<Button*>(at(root, "Plain"));
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(plain->isTouchEnabled());
    EXPECT_EQ(plain->getContentSize(), cocos2d::Size(20, 10)) << "the normal image's size";
    EXPECT_FLOAT_EQ(plain->getZoomScale(), -0.1f) << "no pressed image: shrinks to 0.9";
    EXPECT_EQ(plain->getTitleText(), "Yes please");
    EXPECT_FLOAT_EQ(plain->getTitleFontSize(), 28.0f);
    EXPECT_EQ(plain->getTitleColor(), cocos2d::Color3B(255, 247, 226));
    ASSERT_NE(plain->getTitleRenderer(), nullptr);
    EXPECT_EQ(plain->getChildByName("btn_yes"), nullptr) << "the title label itself is not kept";
    Node* part = plain->getChildByName("part");
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->getPosition(), Vec2(110, 25));
    // Its own children measure against the button's frame, not the part's.
    ASSERT_NE(part->getChildByName("inner"), nullptr);
    EXPECT_EQ(part->getChildByName("inner")->getPosition(), Vec2(0, 0));
    plain->setEnabled(false);
    ASSERT_NE(plain->getShownImage(), nullptr);
    EXPECT_EQ(plain->getShownImage()->getContentSize(), cocos2d::Size(30, 12)) << "the disabled image";

    auto* pressed = dynamic_cast<Button*>(at(root, "Pressed"));
    ASSERT_NE(pressed, nullptr);
    EXPECT_EQ(pressed->getContentSize(), cocos2d::Size(32, 24)) << "a sheet frame";
    EXPECT_FLOAT_EQ(pressed->getZoomScale(), 0.1f) << "the engine's default with a pressed image";
}

TEST_F(NodeFromJsonTest, CheckBoxesTakeBackgroundAndCrossAndBuildOtherMembersAsPlainParts) {
    using cocos2d::ui::CheckBox;
    RefPtr<Node> root = build(R"({"nodes":[{"name":"Box","x":0,"y":0,"w":200,"h":60,"checkbox":1,"nodes":[
        {"name":"bg","tex":"Sheet/f2.png","state":"normal"},
        {"name":"cross","tex":"red.png","state":"selected"},
        {"name":"caption","x":10,"y":5,"w":20,"h":20,"label":{"t":"ttf","f":"Arial","s":20}}]}]})");
    auto* box = dynamic_cast<CheckBox*>(at(root, "Box"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getContentSize(), cocos2d::Size(32, 24));
    EXPECT_FLOAT_EQ(box->getZoomScale(), 0.1f) << "no zoom set for check boxes";
    Node* caption = box->getChildByName("caption");
    ASSERT_EQ(kindOf(caption), Kind::Plain) << "a label member of a check box is a plain part";
    EXPECT_EQ(caption->getPosition(), Vec2(110, 25));
}

TEST_F(NodeFromJsonTest, ButtonsTintUnderThePointerLongAfterTheirLoaderIsGone) {
    RefPtr<cocos2d::Scene> scene = cocos2d::Scene::create();
    cocos2d::Director::getInstance()->runWithScene(scene);
    write("ui/T/ccnode.json", R"({"nodes":[
        {"name":"A","x":100,"y":100,"w":20,"h":10,"button":1,"nodes":[{"name":"n","tex":"red.png","state":"normal"}]},
        {"name":"B","x":400,"y":100,"w":20,"h":10,"button":1,"nodes":[{"name":"n","tex":"red.png","state":"normal"}]},
        {"name":"Box","x":700,"y":100,"w":20,"h":10,"checkbox":1,"nodes":[{"name":"n","tex":"red.png","state":"normal"}]}]})");
    {
        NodeFromJson loader("ui/T");
        Node* built = loader.createNode("");
        // Screens stand their description's root at the visible centre.
        built->setPosition(visibleCenter());
        scene->addChild(built);
    }
    // Other loaders come and go meanwhile; nothing of theirs is reached by the handlers.
    for (int i = 0; i < 3; ++i) {
        NodeFromJson("ui/T").createNode("A");
    }
    cocos2d::Director::getInstance()->stepFrame(1.0f / 60.0f);
    Node* root = scene->getChildren().at(0);
    Node* a = root->getChildByName("A");
    Node* b = root->getChildByName("B");
    Node* box = root->getChildByName("Box");
    ASSERT_TRUE(a && b && box);
    dynamic_cast<cocos2d::ui::Button*>(b)->setEnabled(false);

    auto move = [](Vec2 designPoint) {
        cocos2d::EventMouse event(cocos2d::EventMouse::MouseEventType::MOUSE_MOVE);
        event.setCursorPosition(designPoint.x, designPoint.y);
        cocos2d::Director::getInstance()->getEventDispatcher()->dispatchEvent(&event);
    };
    const cocos2d::Color3B tint(220, 220, 220);
    // A's frame (100, 100, 20, 10) in y-down design pixels: its centre is (110, 810 - 105).
    move(Vec2(110, 705));
    EXPECT_EQ(a->getColor(), tint);
    EXPECT_EQ(b->getColor(), cocos2d::Color3B::WHITE);
    move(Vec2(410, 705));
    EXPECT_EQ(a->getColor(), cocos2d::Color3B::WHITE) << "moving off restores white";
    EXPECT_EQ(b->getColor(), tint) << "a disabled button tints too";
    move(Vec2(710, 705));
    EXPECT_EQ(box->getColor(), cocos2d::Color3B::WHITE) << "check boxes get no tint";
    // Just outside A's right edge.
    move(Vec2(121, 705));
    EXPECT_EQ(a->getColor(), cocos2d::Color3B::WHITE);
}

TEST_F(NodeFromJsonTest, ProgressBarsGrowFromTheLeftOverTheirImageAndStartEmpty) {
    RefPtr<Node> root = build(
        R"({"nodes":[{"name":"bar","x":100,"y":50,"w":20,"h":10,"tex":"Sheet/f2.png","o":0.5,"progress":1,"tag":3}]})");
    auto* bar = dynamic_cast<cocos2d::ProgressTimer*>(at(root, "bar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->getType(), cocos2d::ProgressTimer::Type::BAR);
    EXPECT_EQ(bar->getMidpoint(), Vec2(0, 0));
    EXPECT_EQ(bar->getBarChangeRate(), Vec2(1, 0));
    EXPECT_FLOAT_EQ(bar->getPercentage(), 0.0f) << "the engine's initial percentage until the owner sets one";
    EXPECT_EQ(bar->getContentSize(), cocos2d::Size(32, 24));
    EXPECT_EQ(bar->getTag(), 3);
    ASSERT_NE(bar->getSprite(), nullptr);
    EXPECT_EQ(bar->getSprite()->getOpacity(), 127) << "the image keeps its opacity";
    EXPECT_EQ(bar->getSprite()->getParent(), nullptr) << "the image is added nowhere";
    EXPECT_EQ(bar->getSprite()->getName(), "bar");
}

}  // namespace
