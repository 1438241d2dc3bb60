// Every screen and popup description built at 1280 x 810: no label covers another label or a
// button it does not belong to. A picture of each built description is left under the test
// output folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "NodeBoxes.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "engine/ui/Button.h"

#include <rapidjson/document.h>

#include "Settings.h"
#include "TextTable.h"
#include "ui/FactoryClasses.h"
#include "ui/NodeFromJson.h"

namespace {

using testing::screenBox;
using testing::overlaps;

namespace fs = std::filesystem;
using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::Vec2;

testing::Driver& driver() {
    return testing::Driver::get();
}

// Parts of a description that its screen never shows together: two sibling nodes named here (every
// node of such a name, or of "parent/name") stand on their own, and what lies in one may overlap what
// lies in the other. The elements of a list ("list": 1) are built one by one, as screens build them.
const std::map<std::string, std::set<std::string>> kAlternatives = {
    // The details popup shows either the picture's card or its story.
    {"ui/GalleryDynamic", {"group"}},
    // The level's hint place holds either the hint or the minigames button.
    {"ui/Game", {"HintBtn", "minigamesBtn"}},
    // One evidence item or look at a time.
    {"ui/Cabinet", {"Evidences", "TobbinLook", "cage"}},
    // A chat is either in the middle or in the corner.
    {"ui/Chat", {"centerMessage", "cornerMessage"}},
    // The exit question and the new player's name are two windows.
    {"ui/Confirmation", {"ConfirmationWindow", "EnterNewUser"}},
    // The profile chooser opens in place of the options.
    {"ui/OptionsScreen", {"UI", "ChooseUser"}},
    // The reward badge waits aside and takes the statistics' place once they have flown into it.
    {"ui/LevelStatistic", {"reward", "drops", "items", "defects", "flies", "time"}},
};

bool inside(const Rect& inner, const Rect& outer) {
    return inner.getMinX() >= outer.getMinX() - 0.5f && inner.getMaxX() <= outer.getMaxX() + 0.5f &&
           inner.getMinY() >= outer.getMinY() - 0.5f && inner.getMaxY() <= outer.getMaxY() + 0.5f;
}

bool isAncestor(const Node* ancestor, const Node* node) {
    for (const Node* n = node; n != nullptr; n = n->getParent()) {
        if (n == ancestor) {
            return true;
        }
    }
    return false;
}

std::string pathOf(const Node* node, const Node* root) {
    std::string path;
    for (const Node* n = node; n != nullptr && n != root; n = n->getParent()) {
        path = "/" + (n->getName().empty() ? std::string("?") : n->getName()) + path;
    }
    return path;
}

std::string describe(const Rect& r) {
    std::ostringstream out;
    out << "(" << r.getMinX() << ", " << 810.0f - r.getMaxY() << ")-(" << r.getMaxX() << ", "
        << 810.0f - r.getMinY() << ") from the top left";
    return out.str();
}

struct Piece {
    Node* node;
    Rect box;
    std::vector<const Node*> alternatives;
};

void collect(Node* node, const std::set<std::string>& names, std::vector<const Node*> alternatives,
             std::vector<Piece>& labels, std::vector<Piece>& buttons) {
    if (!node->isVisible()) {
        return;
    }
    const std::string parent = node->getParent() != nullptr ? node->getParent()->getName() : std::string();
    if (names.count(node->getName()) != 0 || names.count(parent + "/" + node->getName()) != 0) {
        alternatives.push_back(node);
    }
    if (auto* label = dynamic_cast<cocos2d::Label*>(node)) {
        if (!label->getString().empty()) {
            labels.push_back({node, screenBox(node), alternatives});
        }
    } else if (dynamic_cast<cocos2d::ui::Button*>(node) != nullptr) {
        buttons.push_back({node, screenBox(node), alternatives});
    }
    for (Node* child : node->getChildren()) {
        collect(child, names, alternatives, labels, buttons);
    }
}

// A label lying wholly on a button that shares its parent is that button's caption.
bool isCaptionOf(const Piece& label, const Piece& button) {
    return label.node->getParent() == button.node->getParent() && inside(label.box, button.box);
}

bool apart(const Piece& a, const Piece& b) {
    for (const Node* x : a.alternatives) {
        for (const Node* y : b.alternatives) {
            if (x != y && x->getParent() == y->getParent()) {
                return true;
            }
        }
    }
    return false;
}

// The names of the elements that the description's lists hold.
std::vector<std::string> listedElements(const std::string& folder) {
    std::vector<std::string> names;
    const std::string text = cocos2d::FileUtils::getInstance()->getStringFromFile(folder + "/ccnode.json");
    rapidjson::Document document;
    document.Parse(text.c_str());
    if (document.HasParseError() || !document.IsObject() || !document.HasMember("nodes") ||
        !document["nodes"].IsArray()) {
        return names;
    }
    for (const rapidjson::Value& top : document["nodes"].GetArray()) {
        if (!top.IsObject() || !top.HasMember("list") || !top.HasMember("nodes") || !top["nodes"].IsArray()) {
            continue;
        }
        for (const rapidjson::Value& element : top["nodes"].GetArray()) {
            if (element.IsObject() && element.HasMember("name") && element["name"].IsString()) {
                names.emplace_back(element["name"].GetString());
            }
        }
    }
    return names;
}

TEST(DescriptionLayoutTest, NoLabelCoversAnotherLabelOrAButtonItDoesNotBelongTo) {
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
    files->setSearchPaths({"src", "res"});
    Settings::destroyInstance();
    TextTable::destroyInstance();
    TextTable::getInstance().loadTexts("texts", "en", true);
    registerFactoryClasses();

    std::vector<std::string> folders;
    const fs::path res = fs::path(KESTROVA_RESOURCE_DIR) / "res";
    for (const char* top : {"ui", "intro"}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(res / top)) {
            if (fs::exists(entry.path() / "ccnode.json")) {
                folders.push_back(fs::relative(entry.path(), res).string());
            }
        }
    }
    std::sort(folders.begin(), folders.end());
    ASSERT_GT(folders.size(), 10u);

    for (const std::string& folder : folders) {
        std::vector<std::string> builds = {""};
        for (const std::string& name : listedElements(folder)) {
            builds.push_back(name);
        }
        for (const std::string& element : builds) {
            SCOPED_TRACE(folder + (element.empty() ? std::string() : " element " + element));
            cocos2d::Scene* scene = cocos2d::Scene::create();
            scene->addChild(cocos2d::LayerColor::create(cocos2d::Color4B(30, 30, 30, 255), 1280, 810), -10);
            NodeFromJson loader(folder);
            Node* built = loader.createNode(element);
            ASSERT_NE(built, nullptr);
            // Built as a screen builds it: inside a layer whose origin is the centre of the view.
            Node* root = Node::create();
            root->setPosition(640.0f, 405.0f);
            root->addChild(built);
            scene->addChild(root);
            cocos2d::Director::getInstance()->replaceScene(scene);
            driver().stepFrames(3);
            std::string shot = folder + (element.empty() ? std::string() : "_" + element);
            std::replace(shot.begin(), shot.end(), '/', '_');
            driver().saveScreenshot(testing::Driver::outputPath("Layout_" + shot + ".png"));

            const auto found = kAlternatives.find(folder);
            const std::set<std::string> none;
            std::vector<Piece> labels;
            std::vector<Piece> buttons;
            collect(root, found != kAlternatives.end() ? found->second : none, {}, labels, buttons);

            for (size_t i = 0; i < labels.size(); ++i) {
                for (size_t j = i + 1; j < labels.size(); ++j) {
                    if (!apart(labels[i], labels[j]) && overlaps(labels[i].box, labels[j].box)) {
                        ADD_FAILURE()
                            << pathOf(labels[i].node, root) << " " << describe(labels[i].box) << " covers "
                            << pathOf(labels[j].node, root) << " " << describe(labels[j].box);
                    }
                }
                for (const Piece& button : buttons) {
                    if (apart(labels[i], button) || isAncestor(button.node, labels[i].node) ||
                        isCaptionOf(labels[i], button) || !overlaps(labels[i].box, button.box)) {
                        continue;
                    }
                    ADD_FAILURE() << pathOf(labels[i].node, root) << " " << describe(labels[i].box)
                                  << " covers the button " << pathOf(button.node, root) << " "
                                  << describe(button.box);
                }
            }
            cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
            driver().stepFrames(1);
        }
    }
}

}  // namespace
