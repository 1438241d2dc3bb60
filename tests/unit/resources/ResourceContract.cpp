#include "ResourceContract.h"

namespace restest {

const std::vector<Lookup>& lookups() {
    static const std::vector<Lookup> table = [] {
        std::vector<Lookup> t = {
            // Cursors and the pause icon, built by name by the always-on-top layer.
            {"ui/GeneralArt", "", "cursor_0", "T", -1},
            {"ui/GeneralArt", "", "pause_icon", "T", -1},
            // The Yes/No window and the new-player popup.
            {"ui/Confirmation", "", "ConfirmationWindow", "P", -1},
            {"ui/Confirmation", "ConfirmationWindow", "panel", "T", -1},
            {"ui/Confirmation", "ConfirmationWindow", "exit_confirmation", "L", -1},
            {"ui/Confirmation", "ConfirmationWindow", "Yes", "B", -1},
            {"ui/Confirmation", "ConfirmationWindow", "No", "B", -1},
            {"ui/Confirmation", "", "EnterNewUser", "K:NewUserPopup", -1},
            {"ui/Confirmation", "EnterNewUser", "enter_name", "L", -1},
            {"ui/Confirmation", "EnterNewUser", "text_place", "T", -1},
            {"ui/Confirmation", "EnterNewUser", "Yes", "B", -1},
            {"ui/Confirmation", "EnterNewUser", "No", "B", -1},
            // Curator chats.
            {"ui/Chat", "", "centerMessage", "P", -1},
            {"ui/Chat", "centerMessage", "message", "P", -1},
            {"ui/Chat", "", "cornerMessage", "P", -1},
            {"ui/Chat", "cornerMessage", "avatar", "P", -1},
            {"ui/Chat", "cornerMessage", "curator", "T", 1},
            {"ui/Chat", "cornerMessage", "message", "P", -1},
            // Tutorial steps.
            {"ui/Tutorials", "", "item", "P", -1},
            {"ui/Tutorials", "item", "tut_arrow", "T", -1},
            {"ui/Tutorials", "item", "text", "L", -1},
            {"ui/Tutorials", "item", "tut_back", "T", -1},
            // The loading screen.
            {"ui/Loading", "", "ui", "P", -1},
            {"ui/Loading", "ui", "loadingProgresFiller", "G", -1},
            // The level screen.
            {"ui/Game", "", "background", "P", -1},
            {"ui/Game", "background", "backdrop", "T", -1},
            {"ui/Game", "", "UI", "P", -1},
            {"ui/Game", "UI", "score", "P", 1},
            {"ui/Game", "score", "levelProgress", "T", -1},
            {"ui/Game", "score", "avatarPlace", "P", -1},
            {"ui/Game", "score", "chat_place", "P", -1},
            {"ui/Game", "score", "stars", "P", 1},
            {"ui/Game", "stars", "label", "L", -1},
            {"ui/Game", "UI", "hint", "P", 2},
            {"ui/Game", "hint", "HintBtn", "B", -1},
            {"ui/Game", "hint", "hint_label", "L", -1},
            {"ui/Game", "hint", "minigamesBtn", "B", -1},
            {"ui/Game", "UI", "finish", "P", 3},
            {"ui/Game", "finish", "paletteBtn", "B", -1},
            {"ui/Game", "UI", "options", "P", 4},
            {"ui/Game", "options", "Options", "B", -1},
            {"ui/Game", "UI", "dropsProgres", "K:FlaskLiquid", -1},
            {"ui/Game", "dropsProgres", "dropFiller", "G", -1},
            {"ui/Game", "dropsProgres", "ramka", "T", -1},
            {"ui/Game", "dropsProgres", "surface", "P", 1},
            {"ui/Game", "UI", "RestoreTools", "K:RestoreToolSelector", -1},
            {"ui/Game", "", "Parts", "PH", -1},
            {"ui/Game", "Parts", "drop", "T", -1},
            {"ui/Game", "Parts", "fly_swatter", "P", -1},
            {"ui/Game", "Parts", "fly_blot", "P", -1},
            {"ui/Game", "fly_blot", "fly_blot_eyes", "T", -1},
            {"ui/Game", "Parts", "border_side", "T", -1},
            {"ui/Game", "Parts", "border_corner", "T", -1},
            {"ui/Game", "Parts", "KestrovaLogo", "T", -1},
        };
        // The slideshow's Skip button and its slides.
        t.push_back({"ui/Intro", "", "Skip", "B", -1});
        for (const std::string& s : slideFolders()) t.push_back({s, "", "slide", "T", -1});
        for (int i = 1; i <= 5; ++i) t.push_back({"ui/GeneralArt", "", "cursor_tool_" + std::to_string(i), "T", -1});
        for (const char* k : {"USA", "UnitedKingdom", "France", "Netherlands", "Ukraine", "Spain", "Austria", "demo", "Tobbin"}) {
            t.push_back({"ui/Chat", "", std::string("avatar_") + k + "_small", "T", -1});
        }
        return t;
    }();
    return table;
}

const std::vector<BuiltTree>& builtTrees() {
    static const std::vector<BuiltTree> trees = {
        {"ui/Confirmation", "ConfirmationWindow", {"exit_confirmation"}},
        {"ui/Confirmation", "EnterNewUser", {"enter_name"}},
        {"ui/Chat", "centerMessage", {"Text"}},
        {"ui/Chat", "cornerMessage", {"Text"}},
        {"ui/Tutorials", "item", {"text"}},
        {"ui/Loading", "ui", {}},
        {"ui/Game", "UI", {"label", "hint_label", "number"}},
        {"ui/Intro", "Skip", {"skip_title"}},
    };
    return trees;
}

const std::vector<std::string>& uiFolders() {
    static const std::vector<std::string> f = [] {
        std::vector<std::string> t = {"ui/GeneralArt", "ui/Confirmation", "ui/Chat", "ui/Tutorials", "ui/Loading", "ui/Game", "ui/Intro"};
        for (const std::string& s : slideFolders()) t.push_back(s);
        return t;
    }();
    return f;
}

const std::vector<std::string>& slideFolders() {
    static const std::vector<std::string> f = {"intro/frame1", "intro/frame2", "intro/frame3", "intro/frame4", "intro/frame5",
                                               "intro/frame6", "intro/frame7", "intro/frame8", "intro/frame9", "intro/outro1"};
    return f;
}

const std::vector<std::string>& preloadFolders() {
    static const std::vector<std::string> f = {"ui/Map", "ui/Gallery", "ui/GalleryDynamic", "ui/Game"};
    return f;
}

const std::vector<std::string>& codeTextKeys() {
    static const std::vector<std::string> keys = {
        "ui/exit_game_confirm", "ui/exit_level_confirm", "ui/change_user_confirm", "ui/delete_profile",
        "ui/set_wallpaper_confirm", "ui/enter_name", "ui/new_player_name", "ui/profile_exists", "ui/add_new_player",
        "ui/statistics", "ui/set_wallpaper", "ui/pictureStatAuthor", "ui/pictureStatYear", "ui/pictureStatEstimatePrice",
        "ui/museum_stat_caption", "ui/btn_pay", "ui/stat_restoration_time", "ui/stat_artifacts_found",
        "ui/stat_wrong_moves", "ui/stat_drops_used", "ui/stat_restored_pictures", "ui/stat_museum_need",
        "ui/stat_museum_balance", "ui/stat_player_balance", "ui/level_stat_caption", "ui/fullscreen_label",
        "ui/customcursor_label", "ui/skip", "ui/CreditsText11", "Tutorials/tutorial-40_1", "Tutorials/tutorial-15_1",
        "minigames/loose_text", "minigames/win_congratulation",
        // Static texts of the screens still to be described; their descriptions will use them.
        "ui/options_title", "ui/music_caption", "ui/sound_caption", "ui/btn_profiles", "ui/btn_credits", "ui/btn_exit",
        "ui/btn_mg_skip", "ui/btn_mg_reset", "ui/btn_mg_menu", "ui/mg_select_title", "ui/btn_finish", "ui/btn_menu",
        "ui/loading_caption", "chooseuser/chooseuser_title", "levelstatistic/btn_ok", "levelstatistic/drops_caption",
        "levelstatistic/items_caption", "levelstatistic/defects_caption", "levelstatistic/flies_caption",
        "levelstatistic/time_caption", "picturedetails/btn_play",
        // The intro and closing slides' bubbles.
        "intro/f1_b1", "intro/f1_b2", "intro/f2_b1", "intro/f3_b1", "intro/f4_b1", "intro/f5_b1", "intro/f6_b1",
        "intro/f7_b1", "intro/f8_b1", "intro/f9_b1", "intro/f9_b2", "intro/o1_b1",
    };
    return keys;
}

const std::vector<std::string>& countries() {
    static const std::vector<std::string> c = {"USA", "UnitedKingdom", "France", "Netherlands", "Ukraine", "Spain", "Austria"};
    return c;
}

const std::vector<std::string>& countriesWithArt() { return countries(); }

const std::vector<std::string>& effectNames() {
    static const std::vector<std::string> n = {
        "btnDown", "exit_confirmation", "confirm", "MM_transition", "gallery_scroll", "FlyStars", "Message1",
        "unlock_picture", "evidence_click", "cage", "HO_Win", "stat_stars_fly", "tool_wrong", "wrong", "reagent_miss",
        "drop", "defect_paint", "defect_rub", "defect_tear", "item_colect_particles", "hint", "star1", "star2", "slap",
        "time_end", "tool_eraser", "tool_painting", "tool_scraper", "tool_needle", "Minigames/MG_LooseSound",
        "Minigames/MG_WinSound", "Minigames/TM_match_made", "Minigames/TM_clear_row", "Minigames/TM_tumbler_tripped",
        "Minigames/CP_conveyor", "Minigames/CP_correct", "Minigames/CP_wrong", "Minigames/CP_coint", "Minigames/DP_catch",
        "Minigames/DP_falls", "Minigames/CM_appear", "Minigames/CM_hit", "Minigames/JP_pipetake"};
    return n;
}

const std::vector<std::string>& loopNames() {
    static const std::vector<std::string> n = {"time_end", "tool_eraser", "tool_painting", "tool_scraper", "tool_needle",
                                               "Minigames/CP_conveyor"};
    return n;
}

const std::vector<std::string>& musicNames() {
    static const std::vector<std::string> n = {"Music/theme_1", "Music/theme_2", "Music/theme_3", "Music/theme_4",
                                               "Music/theme_5"};
    return n;
}

const std::vector<RequiredFrame>& requiredFrames() {
    static const std::vector<RequiredFrame> f = [] {
        std::vector<RequiredFrame> t;
        for (int i = 1; i <= 3; ++i) {
            t.push_back({"ui/Game/UI_atlas.xml", "blot_" + std::to_string(i) + ".png", 96, 96});
            t.push_back({"ui/Game/UI_atlas.xml", "scrape_" + std::to_string(i) + ".png", 120, 64});
            t.push_back({"ui/Game/UI_atlas.xml", "cut_" + std::to_string(i) + ".png", 120, 40});
        }
        t.push_back({"ui/Game/UI_atlas.xml", "blot_tex.png", 256, 256});
        t.push_back({"ui/Game/UI_atlas.xml", "scrape_tex.png", 256, 256});
        t.push_back({"ui/Game/UI_atlas.xml", "cut_tutor.png", 0, 0});
        for (int i = 0; i <= 3; ++i) t.push_back({"fly/fly.plist", "Fly_" + std::to_string(i) + ".png", 0, 0});
        t.push_back({"fly/fly.plist", "FlyEyes.png", 0, 0});
        return t;
    }();
    return f;
}

const std::vector<std::string>& requiredFiles() {
    static const std::vector<std::string> f = [] {
        std::vector<std::string> t = {
            "lang", "icon.png", "fonts/Arial.ttf", "Scenes/packs.xml", "Scenes/pack.xml", "Scenes/texts-en.xml",
            "texts/texts-en.xml", "splash/splashdata.xml", "Shaders/example_Blur.fsh", "Shaders/alphaRect.fsh",
            "Shaders/example_Plasma.fsh", "fly/fly.plist", "fly/fly.png", "particles/reagentdrop.plist",
            "particles/stars_in_stats.plist", "particles/item_collected.plist", "particles/particle_liquid.plist",
            "particles/twomatchmatch.plist", "ui/Game/eraser_mask.png", "ui/Game/eraser_knife.png",
            "ui/Game/eraser_needle.png", "Scenes/demo/Vesquino/ccnode.json"};
        for (const auto& u : uiFolders()) t.push_back(u + "/ccnode.json");
        return t;
    }();
    return f;
}

}  // namespace restest
