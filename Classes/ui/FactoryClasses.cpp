#include "FactoryClasses.h"

#include "FactoryNodeRegistry.h"
#include "gameBoard/FlaskLiquid.h"
#include "nodes/ChooseUserScreen.h"
#include "nodes/CountryListItemNode.h"
#include "nodes/LevelStatistic.h"
#include "nodes/MuseumStatistic.h"
#include "nodes/NewUserPopup.h"
#include "nodes/OptionsScreen.h"
#include "nodes/PictureDetails.h"
#include "nodes/PictureFrame.h"
#include "nodes/RestoreToolSelector.h"

// Each class is registered under its own class name with a creator that ignores the element and
// returns what the class's create returns, in this order: CountryListItemNode, PictureFrame,
// PictureDetails, LevelStatistic, RestoreToolSelector, OptionsScreen, FlaskLiquid, MuseumStatistic,
// NewUserPopup, ChooseUserScreen. A line is added here as each class lands, for example
//     registry.registerClass("PictureFrame", createPictureFrame);
void registerFactoryClasses() {
    [[maybe_unused]] FactoryNodeRegistry& registry = FactoryNodeRegistry::getInstance();
    registry.registerClass("CountryListItemNode", [](const rapidjson::Value&) -> FactoryNode* {
        return CountryListItemNode::create();
    });
    registry.registerClass("LevelStatistic", [](const rapidjson::Value&) -> FactoryNode* {
        return LevelStatistic::create();
    });
    registry.registerClass("RestoreToolSelector", [](const rapidjson::Value&) -> FactoryNode* {
        return RestoreToolSelector::create();
    });
    registry.registerClass("FlaskLiquid", [](const rapidjson::Value&) -> FactoryNode* {
        return FlaskLiquid::create();
    });
    registry.registerClass("OptionsScreen", [](const rapidjson::Value&) -> FactoryNode* {
        return OptionsScreen::create();
    });
    registry.registerClass("NewUserPopup", [](const rapidjson::Value&) -> FactoryNode* {
        return NewUserPopup::create();
    });
    registry.registerClass("ChooseUserScreen", [](const rapidjson::Value&) -> FactoryNode* {
        return ChooseUserScreen::create();
    });
    registry.registerClass("PictureFrame", [](const rapidjson::Value&) -> FactoryNode* {
        return PictureFrame::create();
    });
    registry.registerClass("PictureDetails", [](const rapidjson::Value&) -> FactoryNode* {
        return PictureDetails::create();
    });
    registry.registerClass("MuseumStatistic", [](const rapidjson::Value&) -> FactoryNode* {
        return MuseumStatistic::create();
    });
}
