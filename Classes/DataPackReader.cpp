#include "DataPackReader.h"

#include <cinttypes>
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
#include "TextTable.h"
#include "WorldProgress.h"
#include "XmlDocument.h"

namespace {

using XmlNode = rapidxml::xml_node<char>;

// The first value of a newly inserted picture's reserved pair.
constexpr int32_t kNewPictureReservedValue = 5;

// What a pack's numbers may be; a value outside its range is not used (it reads as the attribute
// missing would, 0), after one line.
// A picture's price (our dearest is 55000). All the prices of a pack together stay within
// kMaxPackCoins, so that what the pack can ever pay and any collection price (a country's prices
// summed) stay far inside a profile's int32 money.
constexpr int64_t kMaxPictureCoins = 1000000;
constexpr int64_t kMaxPackCoins = 1000000000;
// A place in the chain of pictures (0 to 13 in our pack) or of countries; at or below 0 it is open
// from the start. The unlocking steps from an order to order + 1.
constexpr int64_t kMaxUnlockOrder = 1000000;
// A chance in per cent.
constexpr double kMaxItemChance = 100.0;

struct PackReading {
    std::string file;
    // The prices of the pack's pictures read so far.
    int64_t coins = 0;
};

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

void readPicture(const XmlNode* element, PackCountry& country, WorldProgress& world, PackReading& reading) {
    PackPicture picture;
    picture.authorId = attributeText(element, "authorID");
    picture.evidence = attributeText(element, "evidence");
    picture.path = attributeText(element, "path");
    const std::string where = reading.file + ": picture " + quotedForLog(picture.path);
    picture.itemChance =
        static_cast<float>(std::trunc(boundedDecimal(element, "itemchance", 0.0, kMaxItemChance, where)));
    picture.museumId = attributeText(element, "museumID");
    picture.possibleItems = attributeText(element, "possibleitems");
    int64_t coins = boundedInteger(element, "coins", 0, kMaxPictureCoins, where);
    if (coins > kMaxPackCoins - reading.coins) {
        cocos2d::log("%s: coins=%s would bring the pack's prices past %" PRId64 "; not used", where.c_str(),
                     quotedForLog(attributeText(element, "coins")).c_str(), kMaxPackCoins);
        coins = 0;
    }
    reading.coins += coins;
    picture.coins = static_cast<int32_t>(coins);
    picture.unlockOrder = static_cast<int32_t>(
        boundedInteger(element, "unlockorder", -kMaxUnlockOrder, kMaxUnlockOrder, where));
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

PackCountry& readCountry(const XmlNode* element, PackInfo& pack, WorldProgress& world,
                         const PackReading& reading) {
    PackCountry country;
    country.path = attributeText(element, "path");
    country.unlockOrder =
        static_cast<int32_t>(boundedInteger(element, "unlockorder", -kMaxUnlockOrder, kMaxUnlockOrder,
                                            reading.file + ": country " + quotedForLog(country.path)));

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
        PackReading reading{packFilePath(folder)};
        for (const XmlNode* countryElement : childElements(root->first_node("countries"))) {
            PackCountry& country = readCountry(countryElement, pack, profile.world, reading);
            for (const XmlNode* pictureElement : childElements(countryElement)) {
                readPicture(pictureElement, country, profile.world, reading);
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
