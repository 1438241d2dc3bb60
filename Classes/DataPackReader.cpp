#include "DataPackReader.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/base/Log.h"

#include "CountryProgress.h"
#include "PackCountry.h"
#include "PackInfo.h"
#include "PackMessage.h"
#include "PackPicture.h"
#include "PictureProgress.h"
#include "Profile.h"
#include "StringHelpers.h"
#include "TextTable.h"
#include "WorldProgress.h"
#include "XmlDocument.h"

namespace {

using XmlNode = rapidxml::xml_node<char>;

// The first value of a newly inserted picture's reserved pair.
constexpr int32_t kNewPictureReservedValue = 5;

// The leading decimal number truncated towards zero and kept within float range; 0 when there is
// none or it is not a number.
float readWholeNumber(const std::string& text) {
    double value = leadingDecimal(text);
    if (std::isnan(value)) {
        return 0.0f;
    }
    value = std::trunc(value);
    if (value > static_cast<double>(FLT_MAX)) {
        return FLT_MAX;
    }
    if (value < -static_cast<double>(FLT_MAX)) {
        return -FLT_MAX;
    }
    return static_cast<float>(value);
}

std::string packListPath(const std::string& folder) {
    return folder + "/packs.xml";
}

std::string packFilePath(const std::string& folder) {
    return folder + "/pack.xml";
}

// Reads the pack file into document; null (with "Load pack failed: %s" logged) when the file is
// missing, malformed or has no "pack" root.
const XmlNode* readPackFile(const std::string& folder, XmlDocument& document) {
    const std::string text = readXmlFileText(packFilePath(folder));
    if (!document.parse(text)) {
        cocos2d::log("Load pack failed: %s", document.error().c_str());
        return nullptr;
    }
    const XmlNode* root = document.root("pack");
    if (root == nullptr) {
        cocos2d::log("Load pack failed: %s",
                     text.empty() ? "the file is missing or empty" : "no root element \"pack\"");
    }
    return root;
}

void readPicture(const XmlNode* element, PackCountry& country, WorldProgress& world) {
    PackPicture picture;
    picture.authorId = attributeText(element, "authorID");
    picture.evidence = attributeText(element, "evidence");
    picture.path = attributeText(element, "path");
    picture.itemChance = readWholeNumber(attributeText(element, "itemchance"));
    picture.museumId = attributeText(element, "museumID");
    picture.possibleItems = attributeText(element, "possibleitems");
    picture.coins = leadingInt32(attributeText(element, "coins"));
    picture.unlockOrder = leadingInt32(attributeText(element, "unlockorder"));
    picture.year = attributeText(element, "year");

    // Only a record this read creates gets the starting state: a player's progress in a picture the
    // profile already knows stays as it is when a new pack version lists it again.
    const auto [entry, inserted] = world.pictures.try_emplace(picture.path);
    PictureProgress& record = entry->second;
    record.path = picture.path;
    if (inserted) {
        record.state =
            static_cast<int32_t>(picture.unlockOrder > 0 ? PictureState::Locked : PictureState::Unlocked);
        record.bestStars = 0;
        record.reservedPair.first = kNewPictureReservedValue;
    }
    record.reservedRolls.push_back(std::rand() % 3 + 1);

    country.pictures.push_back(std::move(picture));
}

PackCountry& readCountry(const XmlNode* element, PackInfo& pack, WorldProgress& world) {
    PackCountry country;
    country.path = attributeText(element, "path");
    country.unlockOrder = leadingInt32(attributeText(element, "unlockorder"));

    const auto [entry, inserted] = world.countries.try_emplace(country.path);
    CountryProgress& record = entry->second;
    record.path = country.path;
    if (inserted) {
        record.state =
            static_cast<int32_t>(country.unlockOrder <= 0 ? CountryState::Opened : CountryState::Locked);
    }

    pack.countries.push_back(std::move(country));
    return pack.countries.back();
}

void readMessage(const XmlNode* element, PackInfo& pack) {
    PackMessage message;
    message.messageId = attributeText(element, "messageId");
    message.speakerId = attributeText(element, "speakerId");
    message.toCountryId = attributeText(element, "toCountryId");
    pack.messages.push_back(std::move(message));
}

}  // namespace

DataPackReader& DataPackReader::getInstance() {
    static DataPackReader reader;
    return reader;
}

void DataPackReader::load(const std::string& folder, const std::string& language, Profile& profile) {
    cocos2d::log("DataPackReader load");

    const std::string listText = readXmlFileText(packListPath(folder));
    XmlDocument list;
    const XmlNode* packs = nullptr;
    if (!list.parse(listText)) {
        cocos2d::log("Load packs.xml list: %s", list.error().c_str());
    } else {
        packs = list.root("packs");
        if (packs == nullptr) {
            cocos2d::log("Load packs.xml list: %s",
                         listText.empty() ? "the file is missing or empty" : "no root element \"packs\"");
        }
    }

    std::vector<std::string> missing;
    for (const XmlNode* entry : childElements(packs)) {
        const std::string name = attributeText(entry, "name");
        if (!isPackInstalled(folder, name, profile)) {
            missing.push_back(name);
        }
        TextTable::getInstance().loadTexts(folder, language, false);
    }

    for (const std::string& name : missing) {
        cocos2d::log("Loading pack: %s", name.c_str());
        XmlDocument document;
        const XmlNode* root = readPackFile(folder, document);
        if (root == nullptr) {
            continue;
        }
        PackInfo pack;
        pack.packVersion = attributeText(root, "packVersion");
        for (const XmlNode* countryElement : childElements(root->first_node("countries"))) {
            PackCountry& country = readCountry(countryElement, pack, profile.world);
            for (const XmlNode* pictureElement : childElements(countryElement)) {
                readPicture(pictureElement, country, profile.world);
            }
        }
        for (const XmlNode* messageElement : childElements(root->first_node("progressData"))) {
            readMessage(messageElement, pack);
        }
        profile.packs.push_back(std::move(pack));
    }

    cocos2d::log("\t DataPackReader ok");
}

bool DataPackReader::isPackInstalled(const std::string& folder, const std::string& name,
                                     const Profile& profile) {
    const std::string version = getPackVersion(folder, name);
    for (const PackInfo& pack : profile.packs) {
        if (pack.packVersion == version) {
            return true;
        }
    }
    return false;
}

std::string DataPackReader::getPackVersion(const std::string& folder, const std::string& name) {
    cocos2d::log("Loading pack: %s", name.c_str());
    XmlDocument document;
    const XmlNode* root = readPackFile(folder, document);
    return root != nullptr ? attributeText(root, "packVersion") : std::string();
}
