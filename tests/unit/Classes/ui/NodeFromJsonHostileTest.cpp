// Hostile UI descriptions: truncated and mutated real files, wrong value types, absurd nesting,
// references that lead back to themselves, and references that multiply a small file enormously.
// Each must log and return without crashing, and without building forever.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "engine/scene/Node.h"

#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Node;
using cocos2d::RefPtr;

// Nodes in the tree, the root included.
size_t countNodes(Node* node) {
    size_t count = 1;
    for (Node* child : node->getChildren()) {
        count += countNodes(child);
    }
    return count;
}

int treeDepth(Node* node) {
    int deepest = 0;
    for (Node* child : node->getChildren()) {
        deepest = std::max(deepest, treeDepth(child));
    }
    return deepest + 1;
}

class NodeFromJsonHostileTest : public uitest::UiFixture {
protected:
    RefPtr<Node> build(const std::string& json, const std::string& name = "") {
        write("ui/H/ccnode.json", json);
        JsonDocumentCache::getInstance().clear();
        NodeFromJson loader("ui/H");
        return RefPtr<Node>(loader.createNode(name));
    }

    static std::string fixtureFolder(const std::string& name) {
        return std::string(KESTROVA_TEST_DATA_DIR) + "/ui/" + name;
    }
};

TEST_F(NodeFromJsonHostileTest, AnElementReferencingItselfIsExpandedOnceAndLeftEmptyInside) {
    captureLog();
    NodeFromJson loader(fixtureFolder("self_template"));
    RefPtr<Node> root(loader.createNode(""));
    ASSERT_TRUE(root);
    ASSERT_EQ(root->getChildrenCount(), 2);
    for (Node* card : root->getChildren()) {
        SCOPED_TRACE(card == root->getChildren().at(0) ? "the definition" : "the reference");
        ASSERT_EQ(card->getChildrenCount(), 2);
        EXPECT_NE(card->getChildByName("caption"), nullptr);
        Node* inner = card->getChildByName("Card");
        ASSERT_NE(inner, nullptr);
        EXPECT_EQ(inner->getChildrenCount(), 0);
    }
    EXPECT_EQ(logCount("reference 'Card' lies inside its own definition"), 2);

    RefPtr<Node> card(loader.createNode("Card"));
    ASSERT_TRUE(card);
    EXPECT_EQ(countNodes(card), 3u);
}

TEST_F(NodeFromJsonHostileTest, TwoElementsReferencingEachOtherStopAtTheCycle) {
    captureLog();
    NodeFromJson loader(fixtureFolder("template_cycle"));
    RefPtr<Node> root(loader.createNode(""));
    ASSERT_TRUE(root);
    ASSERT_EQ(root->getChildrenCount(), 3);
    // Front holds face and Back; Back holds pattern and an empty Front.
    Node* front = root->getChildren().at(0);
    ASSERT_NE(front->getChildByName("Back"), nullptr);
    EXPECT_NE(front->getChildByName("Back")->getChildByName("pattern"), nullptr);
    EXPECT_EQ(front->getChildByName("Back")->getChildByName("Front")->getChildrenCount(), 0);
    EXPECT_EQ(logCount("lies inside its own definition"), 3);
    for (Node* top : root->getChildren()) {
        EXPECT_EQ(countNodes(top), 5u);
    }
}

TEST_F(NodeFromJsonHostileTest, ReferencesMultiplyingASmallFileAreBoundedWithOneLine) {
    // Each level holds ten references to the next: a million nodes from a few lines.
    std::string json = R"({"nodes":[)";
    for (int level = 0; level < 6; ++level) {
        json += R"({"name":"L)" + std::to_string(level) + R"(","x":0,"y":0,"w":1,"h":1,"nodes":[)";
        for (int i = 0; i < 10; ++i) {
            json += (i ? "," : "") + std::string(R"({"name":"L)") + std::to_string(level + 1) +
                    R"(","reference":1,"x":0,"y":0,"w":1,"h":1})";
        }
        json += "]},";
    }
    json += R"({"name":"L6","x":0,"y":0,"w":1,"h":1}]})";
    captureLog();
    RefPtr<Node> root = build(json);
    ASSERT_TRUE(root);
    EXPECT_LE(countNodes(root), NodeFromJson::kMaxNodesPerBuild + 1);
    EXPECT_EQ(logCount("expands to more than"), 1);
}

TEST_F(NodeFromJsonHostileTest, AbsurdNestingIsRefusedWithOneLineAndNeverExhaustsTheStack) {
    // Nested in the file: the description is refused as it is parsed.
    std::string deep;
    const int levels = 500;
    for (int i = 0; i < levels; ++i) {
        deep += R"({"name":"n","x":0,"y":0,"w":1,"h":1,"nodes":[)";
    }
    for (int i = 0; i < levels; ++i) {
        deep += "]}";
    }
    captureLog();
    EXPECT_FALSE(build(R"({"nodes":[)" + deep + "]}"));
    EXPECT_FALSE(build(R"({"nodes":[)" + deep + "]}", "absent"));
    EXPECT_TRUE(NodeFromJson::collectTextures("ui/H").empty());
    EXPECT_EQ(logCount("Parsing JSON document 'ui/H/ccnode.json' returned error: 16"), 3);

    // A million open brackets: the parser fails without recursing.
    write("ui/H/ccnode.json", std::string(1000000, '['));
    JsonDocumentCache::getInstance().clear();
    captureLog();
    EXPECT_EQ(NodeFromJson::getDocument("ui/H/ccnode.json"), nullptr);
    EXPECT_EQ(logCount("Parsing JSON document 'ui/H/ccnode.json' returned error"), 1);

    // Nested through references, in a flat file: each definition holds a reference to the next, and
    // the build stops at its own bound.
    const int chain = NodeFromJson::kMaxDepth + 20;
    std::string json = R"({"nodes":[)";
    for (int i = 0; i < chain; ++i) {
        json += (i ? "," : "") + std::string(R"({"name":"D)") + std::to_string(i) +
                R"(","x":0,"y":0,"w":1,"h":1,"nodes":[{"name":"D)" + std::to_string(i + 1) +
                R"(","reference":1,"x":0,"y":0,"w":1,"h":1}]})";
    }
    json += "]}";
    captureLog();
    RefPtr<Node> root = build(json, "D0");
    ASSERT_TRUE(root);
    EXPECT_LE(treeDepth(root), NodeFromJson::kMaxDepth + 2);
    EXPECT_GT(treeDepth(root), NodeFromJson::kMaxDepth / 2);
    EXPECT_EQ(logCount("deeper than"), 1);
}

TEST_F(NodeFromJsonHostileTest, ValuesOfTheWrongTypeBuildWhatTheyCanAndNeverCrash) {
    const char* cases[] = {
        R"([1,2,3])",
        R"("text")",
        R"(42)",
        R"({"nodes":5})",
        R"({"nodes":{"name":"a"}})",
        R"({"nodes":[1,"x",null,[],true]})",
        R"({"nodes":[{"name":5,"x":"a","y":null,"w":[],"h":{}}]})",
        R"({"nodes":[{"name":"a","x":1e308,"y":-1e308,"w":1e308,"h":1e308}]})",
        R"({"nodes":[{"name":"a","r":7,"tag":"x","anchor":3}]})",
        R"({"nodes":[{"name":"a","r":"_","tag":1.5,"anchor":"ltrb"}]})",
        R"({"nodes":[{"name":"a","tag":4294967296}]})",
        R"({"nodes":[{"name":"a","tex":7}]})",
        R"({"nodes":[{"name":"a","tex":"/"}]})",
        R"({"nodes":[{"name":"a","tex":"///"}]})",
        R"({"nodes":[{"name":"a","tex":""}]})",
        R"({"nodes":[{"name":"a","tex":"../../../../etc/passwd"}]})",
        R"({"nodes":[{"name":"a","tex":"x/y","o":1e308}]})",
        R"({"nodes":[{"name":"a","class":7}]})",
        R"({"nodes":[{"name":"a","class":""}]})",
        R"({"nodes":[{"name":"a","sheet":1}]})",
        R"({"nodes":[{"name":"../x","sheet":1,"nodes":7}]})",
        R"({"nodes":[{"name":"a","label":5}]})",
        R"({"nodes":[{"name":"a","label":{"t":5}}]})",
        R"({"nodes":[{"name":"a","label":{"t":"ttf"}}]})",
        R"({"nodes":[{"name":"a","label":{"t":"ttf","f":"Arial","s":1e308}}]})",
        R"({"nodes":[{"name":"a","label":{"t":"ttf","f":"Arial","s":-5}}]})",
        R"({"nodes":[{"name":"a","label":{"t":"ttf","f":"Arial","s":20,"w":1e9,"h":-1,"c":7,"fx":[]}}]})",
        R"({"nodes":[{"name":"a","label":{"t":"ttf","f":"NoSuchFont","s":20}}]})",
        R"({"nodes":[{"name":"a","label":{"t":"ttf","f":"Arial","s":20,"c":"abcdefghi"}}]})",
        R"({"nodes":[{"name":"a","reference":1},{"name":"a","reference":1}]})",
        R"({"nodes":[{"reference":1},{"nodes":[]}]})",
        R"({"nodes":[{"name":"a","button":1,"nodes":[{"tex":5,"state":7}]}]})",
        R"({"nodes":[{"name":"a","checkbox":1,"nodes":"x"}]})",
        R"({"nodes":[{"name":"a","progress":1,"tex":null}]})",
        "{\"nodes\":[{\"name\":\"a\\u0000b\",\"tex\":\"r\\u0000ed.png\"}]}",
    };
    for (const char* json : cases) {
        SCOPED_TRACE(json);
        RefPtr<Node> root = build(json);
        ASSERT_TRUE(root) << "a parsed description always gives its root";
        build(json, "a");
        NodeFromJson::collectTextures("ui/H");
    }
}

TEST_F(NodeFromJsonHostileTest, EveryTruncationOfARealDescriptionLogsAndGivesNull) {
    const std::string real = [] {
        std::ifstream file(std::string(KESTROVA_RESOURCE_DIR) + "/res/ui/Confirmation/ccnode.json");
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }();
    ASSERT_GT(real.size(), 100u);
    // The last byte that closes the document, so that every shorter prefix is unfinished.
    const size_t complete = real.find_last_of('}') + 1;
    std::vector<std::string>& log = captureLog();
    for (size_t length = 0; length < complete; ++length) {
        write("ui/H/ccnode.json", real.substr(0, length));
        JsonDocumentCache::getInstance().clear();
        log.clear();
        NodeFromJson loader("ui/H");
        ASSERT_EQ(loader.createNode(""), nullptr) << "prefix of " << length << " bytes";
        ASSERT_EQ(logCount("Parsing JSON document 'ui/H/ccnode.json' returned error: "), 1);
    }
}

TEST_F(NodeFromJsonHostileTest, MutatedRealDescriptionsNeverCrashTheBuild) {
    const std::string folder = std::string(KESTROVA_RESOURCE_DIR) + "/res/ui/Confirmation";
    std::string real;
    {
        std::ifstream file(folder + "/ccnode.json");
        real.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    // The real sheet beside the mutated description ("Confirmation/<frame>" names it), so that the
    // images and labels are built too.
    for (const char* name : {"Confirmation_atlas.png", "Confirmation_atlas.xml"}) {
        uitest::fs::create_directories(_root / "ui" / "H");
        uitest::fs::copy_file(folder + "/" + name, _root / "ui" / "H" / name);
    }
    std::mt19937 random(20240611);
    const std::string alphabet = "{}[]\":,0123456789-.eE \\/nulltruefalse\x01\xff";
    captureLog();
    int built = 0;
    for (int round = 0; round < 300; ++round) {
        std::string mutated = real;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = random() % mutated.size();
            switch (random() % 3) {
                case 0:
                    mutated[at] = alphabet[random() % alphabet.size()];
                    break;
                case 1:
                    mutated.erase(at, 1 + random() % 8);
                    break;
                default:
                    mutated.insert(at, 1, alphabet[random() % alphabet.size()]);
                    break;
            }
        }
        RefPtr<Node> root = build(mutated);
        built += root ? 1 : 0;
        build(mutated, "ConfirmationWindow");
    }
    // Some mutations still parse, so the builders really ran on odd values.
    EXPECT_GT(built, 10);
}

}  // namespace
