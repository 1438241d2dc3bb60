#pragma once

// The rules of the resource contract, each a check that reports what it finds wrong. Every
// report names the file and the broken or missing reference, so a failing test says exactly
// what to fix.

#include <map>
#include <string>
#include <vector>

#include "ResourceFiles.h"

namespace restest {

// The merged text table the game builds from texts/ and Scenes/ (sections and ids lower-cased).
struct TextTable {
    std::map<std::string, std::map<std::string, std::string>> sections;
    bool has(const std::string& section, const std::string& id) const;
    std::string get(const std::string& section, const std::string& id) const;
};
TextTable loadTexts(const Tree& tree, Problems& p, const std::vector<std::string>& files = {"texts/texts-en.xml", "Scenes/texts-en.xml"});

// The resource root: only res/ and src/ at the top, src/ empty, and no two paths that differ
// only in letter case.
void checkLayout(const fs::path& root, Problems& p);
void checkRequiredFiles(const Tree& tree, Problems& p);
// Every XML, JSON and property-list file parses; "lang" is exactly "en".
void checkParsing(const Tree& tree, Problems& p);

// UI descriptions: schema, images and frames, sizes; the lookup table; preloaded paths;
// layout rules that code depends on; static label texts.
void checkUiDescription(const Tree& tree, const std::string& folder, Problems& p);
void checkUiDescriptions(const Tree& tree, Problems& p);
void checkLookups(const Tree& tree, Problems& p);
void checkPreload(const Tree& tree, Problems& p);
void checkUiGeometry(const Tree& tree, Problems& p);
// World screens and minigames: list holders' places, child order, tags and sizes code relies on.
void checkScreenLayouts(const Tree& tree, Problems& p);
void checkUiTexts(const Tree& tree, const TextTable& texts, Problems& p);
// The story slides: a full-screen picture each, bubble labels with their "intro" texts.
void checkSlides(const Tree& tree, const TextTable& texts, Problems& p);

// Frame lists: rectangles inside their image, untrimmed and unrotated, image present, names
// unique across sheets loaded together, the frames code takes by name.
void checkFrameList(const Tree& tree, const std::string& list, Problems& p);
void checkSheets(const Tree& tree, Problems& p);

// Level pictures: description, background, item frames and half-size opaque masks, areas.
// expectedItems < 0 skips the count check.
void checkLevel(const Tree& tree, const std::string& folder, int expectedItems, const std::vector<std::string>& mustHave,
                Problems& p);
void checkLevels(const Tree& tree, Problems& p);

// The content pack as written in Scenes/pack.xml.
struct PackPicture {
    std::string country, path, authorId, year, museumId, evidence, possibleItems, itemChance;
    int unlockOrder = 0, coins = 0;
    bool allAttributes = true;
};
struct PackData {
    std::string version;
    std::vector<std::pair<std::string, int>> countries;  // path, unlockorder, in pack order
    std::vector<PackPicture> pictures;                   // in pack order
    std::vector<std::string> messageIds;
    bool messagesComplete = true;
    int entries = 0;  // of packs.xml
};
PackData readPack(const Tree& tree, Problems& p);

void checkTextRules(const Tree& tree, const TextTable& texts, Problems& p);
void checkPacks(const Tree& tree, const TextTable& texts, Problems& p);
void checkEconomy(const Tree& tree, Problems& p);
void checkTutorials(const Tree& tree, const TextTable& texts, Problems& p);
void checkSplash(const Tree& tree, Problems& p);
void checkMinigameLevels(const Tree& tree, Problems& p);

void checkAudio(const Tree& tree, Problems& p);
void checkParticles(const Tree& tree, Problems& p);
void checkShaders(const Tree& tree, Problems& p);
void checkGlyphs(const Tree& tree, Problems& p);

}  // namespace restest
