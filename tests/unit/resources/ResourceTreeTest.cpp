// Validates the built resource tree (<build>/Resources) against the resource contract: every
// file, frame, node, text, sound and tutorial that the code or another file names must exist,
// with the shape and size the code relies on.
#include <gtest/gtest.h>

#include "ResourceChecks.h"

namespace {

using namespace restest;

const fs::path& root() {
    static const fs::path r = fs::path(KESTROVA_RESOURCE_DIR);
    return r;
}

const Tree& tree() {
    static const Tree t(root() / "res");
    return t;
}

const TextTable& texts() {
    static Problems ignored;
    static const TextTable t = loadTexts(tree(), ignored);
    return t;
}

TEST(ResourceTreeTest, LayoutInventoryAndParsing) {
    Problems p;
    checkLayout(root(), p);
    checkRequiredFiles(tree(), p);
    checkParsing(tree(), p);
    EXPECT_TRUE(p.empty()) << p.text();
}

TEST(ResourceTreeTest, UiDescriptionsHoldWhatCodeLooksUp) {
    Problems p;
    checkUiDescriptions(tree(), p);
    checkLookups(tree(), p);
    checkPreload(tree(), p);
    checkUiGeometry(tree(), p);
    checkScreenLayouts(tree(), p);
    EXPECT_TRUE(p.empty()) << p.text();
}

TEST(ResourceTreeTest, SheetsAndFrames) {
    Problems p;
    checkSheets(tree(), p);
    EXPECT_TRUE(p.empty()) << p.text();
}

TEST(ResourceTreeTest, TextsCoverEveryKeyAndGlyph) {
    Problems p;
    loadTexts(tree(), p);
    checkTextRules(tree(), texts(), p);
    checkUiTexts(tree(), texts(), p);
    checkGlyphs(tree(), p);
    EXPECT_TRUE(p.empty()) << p.text();
}

TEST(ResourceTreeTest, SlideshowsHoldTheirSlidesAndBubbles) {
    Problems p;
    checkSlides(tree(), texts(), p);
    EXPECT_TRUE(p.empty()) << p.text();
}

TEST(ResourceTreeTest, PacksChainEvidenceAndEconomy) {
    Problems p;
    checkPacks(tree(), texts(), p);
    checkEconomy(tree(), p);
    EXPECT_TRUE(p.empty()) << p.text();
}

TEST(ResourceTreeTest, LevelPicturesItemsAndMasks) {
    Problems p;
    checkLevels(tree(), p);
    EXPECT_TRUE(p.empty()) << p.text();
}

TEST(ResourceTreeTest, TutorialsSplashAndMinigameLevels) {
    Problems p;
    checkTutorials(tree(), texts(), p);
    checkSplash(tree(), p);
    checkMinigameLevels(tree(), p);
    EXPECT_TRUE(p.empty()) << p.text();
}

TEST(ResourceTreeTest, AudioParticlesAndShaders) {
    Problems p;
    checkAudio(tree(), p);
    checkParticles(tree(), p);
    checkShaders(tree(), p);
    EXPECT_TRUE(p.empty()) << p.text();
}

}  // namespace
