// Any bytes as the pack list and as the pack file, each beside the game's own other file: the reader
// adds whole packs to the profile or nothing, and never crashes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "DataPackReader.h"
#include "FuzzSupport.h"
#include "Profile.h"
#include "TextTable.h"

namespace {

void load() {
    Profile profile;
    DataPackReader::getInstance().load("fuzzpacks", "en", profile);
    // A second load over the filled profile, as every start-up after the first does.
    DataPackReader::getInstance().load("fuzzpacks", "en", profile);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string staged = std::string(KESTROVA_RESOURCE_DIR) + "/res/Scenes/";
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    const std::string list = files->getStringFromFile(staged + "packs.xml");
    const std::string pack = files->getStringFromFile(staged + "pack.xml");
    TextTable::destroyInstance();

    fuzzsupport::writeResource("fuzzpacks/packs.xml", data, size);
    fuzzsupport::writeResource("fuzzpacks/pack.xml", reinterpret_cast<const uint8_t*>(pack.data()), pack.size());
    load();

    fuzzsupport::writeResource("fuzzpacks/packs.xml", reinterpret_cast<const uint8_t*>(list.data()), list.size());
    fuzzsupport::writeResource("fuzzpacks/pack.xml", data, size);
    load();
    return 0;
}
