// Shows that the resource checks catch real faults: each case copies the built tree, breaks
// one thing the game depends on, and expects the check to name the file and the reference.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "ResourceChecks.h"

namespace {

using namespace restest;

const fs::path& builtRes() {
    static const fs::path r = fs::path(KESTROVA_RESOURCE_DIR) / "res";
    return r;
}

// A copy of the built tree in a fresh temporary folder, removed afterwards.
class TreeCopy {
public:
    explicit TreeCopy(bool withAudio) {
        std::random_device rd;
        _root = fs::temp_directory_path() / ("kestrova_res_" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(_root / "res");
        fs::create_directories(_root / "src");
        for (const auto& e : fs::directory_iterator(builtRes())) {
            if (!withAudio && e.path().filename() == "audio") continue;
            fs::copy(e.path(), _root / "res" / e.path().filename(), fs::copy_options::recursive);
        }
    }
    ~TreeCopy() {
        std::error_code ec;
        fs::remove_all(_root, ec);
    }
    TreeCopy(const TreeCopy&) = delete;
    TreeCopy& operator=(const TreeCopy&) = delete;

    Tree tree() const { return Tree(_root / "res"); }
    const fs::path& root() const { return _root; }
    std::string read(const std::string& rel) const { return *tree().read(rel); }
    void write(const std::string& rel, const std::string& bytes) const {
        fs::create_directories((_root / "res" / rel).parent_path());
        std::ofstream(_root / "res" / rel, std::ios::binary | std::ios::trunc) << bytes;
    }
    // Replaces the first occurrence of `from`; the case fails if it is not there.
    void replace(const std::string& rel, const std::string& from, const std::string& to) const {
        std::string s = read(rel);
        auto at = s.find(from);
        ASSERT_NE(at, std::string::npos) << rel << " no longer holds " << from;
        s.replace(at, from.size(), to);
        write(rel, s);
    }

private:
    fs::path _root;
};

TextTable textsOf(const Tree& t) {
    Problems ignored;
    return loadTexts(t, ignored);
}

struct BreakCase {
    const char* what;
    bool audio;
    std::function<void(const TreeCopy&)> breakIt;
    std::function<void(const TreeCopy&, Problems&)> check;
    const char* expected;
};

// Test names and failure messages show what was broken.
void PrintTo(const BreakCase& c, std::ostream* os) { *os << c.what; }

class ResourceChecksTest : public ::testing::TestWithParam<BreakCase> {};

TEST_P(ResourceChecksTest, ReportsTheBrokenReference) {
    const BreakCase& c = GetParam();
    TreeCopy copy(c.audio);
    c.breakIt(copy);
    Problems p;
    c.check(copy, p);
    EXPECT_TRUE(p.mentions(c.expected)) << "expected a report containing: " << c.expected << "\ngot:\n" << p.text();
}

const BreakCase kCases[] = {
    {"a damage frame the board takes by name", false,
     [](const TreeCopy& t) { t.replace("ui/Game/UI_atlas.xml", "<key>blot_2.png</key>", "<key>blot_two.png</key>"); },
     [](const TreeCopy& t, Problems& p) { checkSheets(t.tree(), p); },
     "ui/Game/UI_atlas.xml: has no frame 'blot_2.png'"},
    {"a tex naming a frame the sheet lacks", false,
     [](const TreeCopy& t) { t.replace("ui/Game/ccnode.json", "UI/game_btn_options.png", "UI/game_btn_opts.png"); },
     [](const TreeCopy& t, Problems& p) { checkUiDescription(t.tree(), "ui/Game", p); },
     "frame 'game_btn_opts.png' is not in ui/Game/UI_atlas.xml"},
    {"an element code finds under its parent", false,
     [](const TreeCopy& t) { t.replace("ui/Game/ccnode.json", "\"hint_label\"", "\"hintLabel\""); },
     [](const TreeCopy& t, Problems& p) { checkLookups(t.tree(), p); },
     "\"hint_label\" is not a direct child of \"hint\""},
    {"an image whose size differs from its element", false,
     [](const TreeCopy& t) { t.replace("ui/Chat/ccnode.json", "\"w\": 160, \"h\": 200", "\"w\": 150, \"h\": 200"); },
     [](const TreeCopy& t, Problems& p) { checkUiDescription(t.tree(), "ui/Chat", p); },
     "is 160x200"},
    {"a static label without its text", false,
     [](const TreeCopy& t) { t.replace("texts/texts-en.xml", "<t id=\"btn_finish\">", "<t id=\"btn_finished\">"); },
     [](const TreeCopy& t, Problems& p) { checkUiTexts(t.tree(), textsOf(t.tree()), p); },
     "label \"btn_finish\" of createNode(\"UI\") has no text ui/btn_finish"},
    {"a slide bubble without its text", false,
     [](const TreeCopy& t) { t.replace("intro/frame5/ccnode.json", "\"f5_b1\"", "\"f5_b9\""); },
     [](const TreeCopy& t, Problems& p) { checkSlides(t.tree(), textsOf(t.tree()), p); },
     "intro/frame5/ccnode.json: bubble \"f5_b9\" has no text intro/f5_b9"},
    {"a missing slide folder", false,
     [](const TreeCopy& t) { fs::remove_all(t.root() / "res" / "intro" / "frame7"); },
     [](const TreeCopy& t, Problems& p) { checkSlides(t.tree(), textsOf(t.tree()), p); },
     "intro/frame7/ccnode.json: is missing"},
    {"a country element without its icon", false,
     [](const TreeCopy& t) { t.replace("ui/Map/ccnode.json", "{\"name\": \"USA_icon\"", "{\"name\": \"USA_flag\""); },
     [](const TreeCopy& t, Problems& p) { checkLookups(t.tree(), p); },
     "\"USA_icon\" is not a direct child of \"USA\""},
    {"a second message container in the cabinet", false,
     [](const TreeCopy& t) { t.replace("ui/Cabinet/ccnode.json", "\"name\": \"foto_place\"", "\"name\": \"message_container\""); },
     [](const TreeCopy& t, Problems& p) { checkScreenLayouts(t.tree(), p); },
     "ui/Cabinet/ccnode.json: needs exactly one \"message_container\", a child of \"message_place\" (found 2)"},
    {"a picture list holder off its place", false,
     [](const TreeCopy& t) { t.replace("ui/Gallery/ccnode.json", "{\"name\": \"PicturesList\", \"x\": 0, \"y\": 0", "{\"name\": \"PicturesList\", \"x\": 0, \"y\": 40"); },
     [](const TreeCopy& t, Problems& p) { checkScreenLayouts(t.tree(), p); },
     "\"PicturesList\" must lie at"},
    {"a drop lane the cart cannot reach", false,
     [](const TreeCopy& t) { t.replace("Minigames/DropsPuzzle/ccnode.json", "{\"name\": \"drop_3\", \"x\": 940", "{\"name\": \"drop_3\", \"x\": 1210"); },
     [](const TreeCopy& t, Problems& p) { checkScreenLayouts(t.tree(), p); },
     "lane 3's drops fall past the cart's catch zone"},
    {"a minigame tile frame the game takes by name", false,
     [](const TreeCopy& t) { t.replace("Minigames/TwoMatch/Tiles_atlas.xml", "<key>tile_2.png</key>", "<key>tile_two.png</key>"); },
     [](const TreeCopy& t, Problems& p) { checkSheets(t.tree(), p); },
     "Minigames/TwoMatch/Tiles_atlas.xml: has no frame 'tile_2.png'"},
    {"a painting left out of the jigsaw cycle", false,
     [](const TreeCopy& t) {
         std::string s = t.read("minigamelevels/JigsawPuzzle.xml");
         const std::string from = "Scenes/Spain/PlazaNoon/", to = "Scenes/Spain/OrangeGrove/";
         for (auto at = s.find(from); at != std::string::npos; at = s.find(from)) s.replace(at, from.size(), to);
         t.write("minigamelevels/JigsawPuzzle.xml", s);
     },
     [](const TreeCopy& t, Problems& p) { checkMinigameLevels(t.tree(), p); },
     "painting 'Scenes/Spain/PlazaNoon/background.jpg' is in no level of the cycle"},
    {"an evidence picture without its touch area", false,
     [](const TreeCopy& t) { t.replace("ui/Cabinet/ccnode.json", "\"tex\": \"Evidence/ev_ring.png\", \"tag\": 7", "\"tex\": \"Evidence/ev_ring.png\", \"tag\": 8"); },
     [](const TreeCopy& t, Problems& p) { checkPacks(t.tree(), textsOf(t.tree()), p); },
     "\"evidence_ring\" needs a holder tagged 6 with its picture tagged 7"},
    {"a gap in the unlock chain", false,
     [](const TreeCopy& t) { t.replace("Scenes/pack.xml", "unlockorder=\"1\" path=\"PrairieWind\"", "unlockorder=\"2\" path=\"PrairieWind\""); },
     [](const TreeCopy& t, Problems& p) { checkPacks(t.tree(), textsOf(t.tree()), p); },
     "picture \"PrairieWind\" has unlockorder 2; the chain needs 1"},
    {"a duplicated evidence item", false,
     [](const TreeCopy& t) { t.replace("Scenes/pack.xml", "evidence=\"letter\"", "evidence=\"ticket\""); },
     [](const TreeCopy& t, Problems& p) { checkPacks(t.tree(), textsOf(t.tree()), p); },
     "evidence \"ticket\" appears twice"},
    {"a level item without its frame", false,
     [](const TreeCopy& t) { t.replace("Scenes/demo/Vesquino/ccnode.json", "vesquino_teacup.png", "vesquino_cup.png"); },
     [](const TreeCopy& t, Problems& p) { checkLevel(t.tree(), "Scenes/demo/Vesquino", 3, {"kestrova", "headphones"}, p); },
     "item \"teacup\": frame 'vesquino_cup.png' is not in textures_atlas.xml"},
    {"overlapping level items", false,
     [](const TreeCopy& t) { t.replace("Scenes/demo/Vesquino/ccnode.json", "\"name\": \"teacup\", \"tex\": \"vesquino_teacup.png\", \"restoreitem\": 1, \"x\": 250", "\"name\": \"teacup\", \"tex\": \"vesquino_teacup.png\", \"restoreitem\": 1, \"x\": 400"); },
     [](const TreeCopy& t, Problems& p) { checkLevel(t.tree(), "Scenes/demo/Vesquino", 3, {}, p); },
     "overlap"},
    {"a mask that is not opaque", false,
     [](const TreeCopy& t) {
         Problems q;
         auto masks = loadFrameList(t.tree(), "Scenes/demo/Vesquino/masks_atlas.xml", q);
         auto px = decodePng(t.tree(), "Scenes/demo/Vesquino/masks_atlas.png", q);
         ASSERT_TRUE(masks && px);
         const Frame& f = masks->frames.at("vesquino_teacup_.png");
         px->rgba[(static_cast<std::size_t>(f.y + 1) * px->width + f.x + 1) * 4 + 3] = 0;
         t.write("Scenes/demo/Vesquino/masks_atlas.png", encodePngBytes(*px));
     },
     [](const TreeCopy& t, Problems& p) { checkLevel(t.tree(), "Scenes/demo/Vesquino", 3, {}, p); },
     "mask 'vesquino_teacup_.png' is not fully opaque"},
    {"a mask frame that is not half the item's size", false,
     [](const TreeCopy& t) {
         std::string s = t.read("Scenes/demo/Vesquino/masks_atlas.xml");
         auto at = s.find("<key>vesquino_teacup_.png</key>");
         ASSERT_NE(at, std::string::npos);
         for (const char* from : {",{35,28}}", "{35,28}</string>\n    </dict>"}) {
             auto f = s.find(from, at);
             ASSERT_NE(f, std::string::npos);
             std::string to = std::string(from) == ",{35,28}}" ? ",{35,27}}" : "{35,27}</string>\n    </dict>";
             s.replace(f, std::string(from).size(), to);
         }
         t.write("Scenes/demo/Vesquino/masks_atlas.xml", s);
     },
     [](const TreeCopy& t, Problems& p) { checkLevel(t.tree(), "Scenes/demo/Vesquino", 3, {}, p); },
     "mask 'vesquino_teacup_.png' is 35x27, not half of 70x56"},
    {"a preloaded path that names no file", false,
     [](const TreeCopy& t) { t.replace("ui/Game/ccnode.json", "\"tex\": \"game_backdrop.jpg\"", "\"tex\": \"UI/game_panel_score.png\""); },
     [](const TreeCopy& t, Problems& p) { checkPreload(t.tree(), p); },
     "preloads 'ui/Game/UI/game_panel_score.png', which names no file"},
    {"an in-level tutorial with two steps", false,
     [](const TreeCopy& t) { t.replace("tutorials/tutorial_3.xml", "</Items>", "  <step x=\"1\" y=\"1\" alignx=\"l\" aligny=\"t\" dir=\"d\" textid=\"\"/>\n</Items>"); },
     [](const TreeCopy& t, Problems& p) { checkTutorials(t.tree(), textsOf(t.tree()), p); },
     "tutorials/tutorial_3.xml: an in-level tutorial advances once per game event and needs exactly one step"},
    {"the spray's tutorial without the step that shows where to spray", false,
     [](const TreeCopy& t) { t.write("tutorials/tutorial_1.xml", "<Items>\n  <step x=\"115\" y=\"178\" alignx=\"r\" aligny=\"t\" dir=\"r\" textid=\"1\"/>\n</Items>\n"); },
     [](const TreeCopy& t, Problems& p) { checkTutorials(t.tree(), textsOf(t.tree()), p); },
     "tutorials/tutorial_1.xml: the spray's tutorial advances on choosing the spray and on the first hit and needs exactly two steps"},
    {"a malformed XML file", false,
     [](const TreeCopy& t) { t.write("minigamelevels/DropsPuzzle_4.xml", "<Level time=\"40\"><Lane falltime=\"1\"</Level>"); },
     [](const TreeCopy& t, Problems& p) { checkParsing(t.tree(), p); },
     "minigamelevels/DropsPuzzle_4.xml: XML does not parse"},
    {"a language file with a trailing newline", false,
     [](const TreeCopy& t) { t.write("lang", "en\n"); },
     [](const TreeCopy& t, Problems& p) { checkParsing(t.tree(), p); },
     "lang: must hold exactly the two bytes \"en\""},
    {"a truncated sound", true,
     [](const TreeCopy& t) { std::string s = t.read("audio/btnDown.mp3"); t.write("audio/btnDown.mp3", s.substr(0, s.size() - 100)); },
     [](const TreeCopy& t, Problems& p) { checkAudio(t.tree(), p); },
     "audio/btnDown.mp3: not a valid MP3"},
    {"a file shadowing res from src", false,
     [](const TreeCopy& t) { std::ofstream(t.root() / "src" / "lang") << "de"; },
     [](const TreeCopy& t, Problems& p) { checkLayout(t.root(), p); },
     "src/lang: src/ must stay empty"},
    {"an image whose name differs from the looked-up name only in case", false,
     [](const TreeCopy& t) { fs::rename(t.root() / "res/ui/Gallery/gallery_bg_3.jpg", t.root() / "res/ui/Gallery/Gallery_bg_3.jpg"); },
     [](const TreeCopy& t, Problems& p) { checkUiDescription(t.tree(), "ui/Gallery", p); },
     "image 'gallery_bg_3.jpg' is not a file of ui/Gallery"},
    {"two files whose names differ only in case", false,
     [](const TreeCopy& t) { t.write("ui/Game/ui_atlas.png", t.read("ui/Game/UI_atlas.png")); },
     [](const TreeCopy& t, Problems& p) { checkLayout(t.root(), p); },
     "only in letter case"},
    {"a country picture short of the items its story levels need", false,
     [](const TreeCopy& t) {
         rapidjson::Document d;
         d.Parse(t.read("Scenes/USA/HarborDawn/ccnode.json").c_str());
         ASSERT_TRUE(d.IsObject() && d["nodes"].IsArray() && !d["nodes"].Empty());
         d["nodes"].PopBack();
         rapidjson::StringBuffer out;
         rapidjson::Writer<rapidjson::StringBuffer> w(out);
         d.Accept(w);
         t.write("Scenes/USA/HarborDawn/ccnode.json", out.GetString());
     },
     [](const TreeCopy& t, Problems& p) { checkLevels(t.tree(), p); },
     "Scenes/USA/HarborDawn/ccnode.json: has 24 items, must have 25"},
    {"a cabinet place for an evidence item the pack does not have", false,
     [](const TreeCopy& t) { t.replace("ui/Cabinet/ccnode.json", "\"eplace_ring\"", "\"eplace_rung\""); },
     [](const TreeCopy& t, Problems& p) { checkPacks(t.tree(), textsOf(t.tree()), p); },
     "the \"eplace_\" elements must be exactly the pack's 13 evidence ids"},
    {"a text the code looks up", false,
     [](const TreeCopy& t) { t.replace("texts/texts-en.xml", "<t id=\"skip\">", "<t id=\"skipp\">"); },
     [](const TreeCopy& t, Problems& p) { checkTextRules(t.tree(), textsOf(t.tree()), p); },
     "texts/texts-en.xml: has no text ui/skip"},
    {"a sound the code plays", true,
     [](const TreeCopy& t) { fs::remove(t.root() / "res/audio/Minigames/CP_coint.mp3"); },
     [](const TreeCopy& t, Problems& p) { checkAudio(t.tree(), p); },
     "audio/Minigames/CP_coint.mp3: missing"},
    {"a shader that tints by the key colour", false,
     [](const TreeCopy& t) { t.replace("Shaders/example_Plasma.fsh", "* v_fragmentColor.a;", "* v_fragmentColor.rgb.r;"); },
     [](const TreeCopy& t, Problems& p) { checkShaders(t.tree(), p); },
     "must not tint by the node colour"},
};

INSTANTIATE_TEST_SUITE_P(BrokenTrees, ResourceChecksTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BreakCase>& param) {
                             std::string n;
                             for (const char* c = param.param.what; *c; ++c) n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return n;
                         });

// The MP3 scanner on hand-made frames: a clean stream, a tag at the end, and garbage inside.
TEST(Mp3ScanTest, CountsFramesAndRejectsGarbage) {
    // MPEG-1 Layer III, 96 kbit/s, 44.1 kHz, mono: 313-byte frames.
    std::string frame(313, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x70';
    frame[3] = '\xC4';
    std::string stream;
    for (int i = 0; i < 10; ++i) stream += frame;
    std::string error;
    auto info = mp3InfoBytes(stream, error);
    ASSERT_TRUE(info) << error;
    EXPECT_EQ(info->frames, 10);
    EXPECT_EQ(info->channels, 1);
    EXPECT_EQ(info->bitrates, std::set<int>{96});
    EXPECT_NEAR(info->seconds, 10 * 1152.0 / 44100.0, 1e-9);

    auto tagged = mp3InfoBytes(stream + "TAG" + std::string(125, ' '), error);
    ASSERT_TRUE(tagged) << error;
    EXPECT_TRUE(tagged->id3v1);

    std::string broken = stream.substr(0, 313 * 4) + "garbage!" + stream.substr(313 * 4);
    EXPECT_FALSE(mp3InfoBytes(broken, error));
    EXPECT_NE(error.find("offset 1252"), std::string::npos) << error;
    EXPECT_FALSE(mp3InfoBytes(std::string(), error));
}

// The PNG reader round-trips what the fixture writer makes, and refuses truncated files.
TEST(PngReadTest, RoundTripAndTruncation) {
    Pixels px;
    px.width = 3;
    px.height = 2;
    px.rgba = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    std::string bytes = encodePngBytes(px), error;
    auto back = decodePngBytes(bytes, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->rgba, px.rgba);
    EXPECT_FALSE(decodePngBytes(bytes.substr(0, bytes.size() - 20), error));
    EXPECT_FALSE(decodePngBytes("\x89PNG", error));
}

}  // namespace
