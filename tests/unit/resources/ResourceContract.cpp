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
        // The map: its background layers, the country templates and the credits panels.
        for (const char* n : {"BackgroundMap", "Clouds", "TopBackgroundLight"}) t.push_back({"ui/Map", "Backgrounds", n, "T", -1});
        t.push_back({"ui/Map", "", "Backgrounds", "P", -1});
        t.push_back({"ui/Map", "Backgrounds", "faderPlace", "P", -1});
        t.push_back({"ui/Map", "Backgrounds", "ListPlace", "P", -1});
        t.push_back({"ui/Map", "", "Map", "PH", -1});
        t.push_back({"ui/Map", "", "Icons", "PH", -1});
        t.push_back({"ui/Map", "Map", "Credits", "P", -1});
        t.push_back({"ui/Map", "Credits", "panel", "P", 1});
        t.push_back({"ui/Map", "Credits", "panel", "P", 2});
        t.push_back({"ui/Map", "panel", "lbl", "L", -1});
        for (const std::string& c : countries()) {
            t.push_back({"ui/Map", "Map", c, "K:CountryListItemNode", -1});
            t.push_back({"ui/Map", c, "Ribbon", "P", -1});
            t.push_back({"ui/Map", c, "caption", "L", -1});
            t.push_back({"ui/Map", c, c + "_icon", "T", -1});
        }
        // The gallery screen.
        for (int i = 1; i <= 7; ++i) t.push_back({"ui/Gallery", "", "background_" + std::to_string(i), "T", -1});
        t.push_back({"ui/Gallery", "", "shadeTex", "T", -1});
        t.push_back({"ui/Gallery", "", "UI", "P", -1});
        for (const char* n : {"PicturesList", "Statistics", "shadeLeft", "shadeRight", "avatarPlace", "progres", "chat_place"}) {
            t.push_back({"ui/Gallery", "UI", n, "P", -1});
        }
        for (const char* n : {"Cabinet", "Options", "Arrow_left", "Arrow_right", "Map"}) t.push_back({"ui/Gallery", "UI", n, "B", -1});
        t.push_back({"ui/Gallery", "UI", "newEvidancePlace", "T", -1});
        t.push_back({"ui/Gallery", "UI", "newCountryNotification", "T", -1});
        t.push_back({"ui/Gallery", "Statistics", "btn", "B", -1});
        t.push_back({"ui/Gallery", "Statistics", "label", "L", -1});
        t.push_back({"ui/Gallery", "progres", "progresFiller", "G", -1});
        t.push_back({"ui/Gallery", "progres", "prograsLabel", "L", -1});
        // The gallery's templates: picture frames, the details popup, the close group, the coin.
        t.push_back({"ui/GalleryDynamic", "", "GalleryDynamic", "PH", -1});
        t.push_back({"ui/GalleryDynamic", "GalleryDynamic", "closeGroup", "P", -1});
        t.push_back({"ui/GalleryDynamic", "closeGroup", "CloseButton", "B", -1});
        t.push_back({"ui/GalleryDynamic", "GalleryDynamic", "PictureFrame", "K:PictureFrame", -1});
        for (const char* n : {"frame", "iconPlace", "price"}) t.push_back({"ui/GalleryDynamic", "PictureFrame", n, "P", -1});
        t.push_back({"ui/GalleryDynamic", "PictureFrame", "levelclosed", "T", -1});
        t.push_back({"ui/GalleryDynamic", "PictureFrame", "finished", "T", 9});
        t.push_back({"ui/GalleryDynamic", "price", "priceLabel", "L", -1});
        for (int i = 1; i <= 3; ++i) {
            t.push_back({"ui/GalleryDynamic", "PictureFrame", "Star", "P", i});
            t.push_back({"ui/GalleryDynamic", "frame", "style_" + std::to_string(i), "T", i});
            t.push_back({"ui/GalleryDynamic", "PictureDetails", "group", "P", i});
        }
        t.push_back({"ui/GalleryDynamic", "Star", "levelstare", "T", -1});
        t.push_back({"ui/GalleryDynamic", "GalleryDynamic", "PictureDetails", "K:PictureDetails", -1});
        t.push_back({"ui/GalleryDynamic", "PictureDetails", "closeGroup", "P", -1});
        t.push_back({"ui/GalleryDynamic", "PictureDetails", "setWallpaper", "B", -1});
        t.push_back({"ui/GalleryDynamic", "PictureDetails", "Play", "B", -1});
        t.push_back({"ui/GalleryDynamic", "group", "picture", "P", -1});
        t.push_back({"ui/GalleryDynamic", "GalleryDynamic", "OnePictureCoin", "T", -1});
        // The level's result panel.
        t.push_back({"ui/LevelStatistic", "", "LevelStatistic", "K:LevelStatistic", -1});
        for (const char* n : {"level_stat_caption", "header", "fun_facts"}) t.push_back({"ui/LevelStatistic", "LevelStatistic", n, "L", -1});
        for (const char* n : {"drops", "items", "defects", "flies", "time", "reward", "reward_place", "statStars"}) {
            t.push_back({"ui/LevelStatistic", "LevelStatistic", n, "P", -1});
        }
        for (const char* n : {"drops", "items", "defects", "flies", "time", "reward"}) t.push_back({"ui/LevelStatistic", n, "lbl", "L", -1});
        t.push_back({"ui/LevelStatistic", "LevelStatistic", "ok_btn", "B", -1});
        for (int i = 1; i <= 3; ++i) t.push_back({"ui/LevelStatistic", "statStars", "StatStar", "P", i});
        t.push_back({"ui/LevelStatistic", "StatStar", "lit", "T", 1});
        // The options panel and the profile chooser.
        t.push_back({"ui/OptionsScreen", "", "UI", "K:OptionsScreen", -1});
        for (const char* n : {"CloseButton", "profiles", "credits", "exit"}) t.push_back({"ui/OptionsScreen", "UI", n, "B", -1});
        for (const char* n : {"music", "sound", "full_sceen", "custom_cursor"}) t.push_back({"ui/OptionsScreen", "UI", n, "P", -1});
        t.push_back({"ui/OptionsScreen", "music", "slider", "P", -1});
        t.push_back({"ui/OptionsScreen", "sound", "slider", "P", -1});
        t.push_back({"ui/OptionsScreen", "slider", "sond_volume_filler", "G", -1});
        t.push_back({"ui/OptionsScreen", "music", "plusMusicBtn", "B", -1});
        t.push_back({"ui/OptionsScreen", "music", "minusMusicBtn", "B", -1});
        t.push_back({"ui/OptionsScreen", "sound", "plusBtn", "B", -1});
        t.push_back({"ui/OptionsScreen", "sound", "minusSoundBtn", "B", -1});
        t.push_back({"ui/OptionsScreen", "full_sceen", "check_box_fullscreen", "C", -1});
        t.push_back({"ui/OptionsScreen", "full_sceen", "label", "L", -1});
        t.push_back({"ui/OptionsScreen", "custom_cursor", "check_box_customcursor", "C", -1});
        t.push_back({"ui/OptionsScreen", "custom_cursor", "label", "L", -1});
        t.push_back({"ui/OptionsScreen", "", "ChooseUser", "K:ChooseUserScreen", -1});
        t.push_back({"ui/OptionsScreen", "ChooseUser", "CloseButton", "B", -1});
        for (int i = 1; i <= 4; ++i) t.push_back({"ui/OptionsScreen", "ChooseUser", "slot", "P", i});
        t.push_back({"ui/OptionsScreen", "slot", "user", "B", -1});
        t.push_back({"ui/OptionsScreen", "slot", "delete", "B", -1});
        // The museum's statistic.
        t.push_back({"ui/MuseumStatistic", "", "MuseumStatUI", "K:MuseumStatistic", -1});
        t.push_back({"ui/MuseumStatistic", "MuseumStatUI", "CloseButton", "B", -1});
        t.push_back({"ui/MuseumStatistic", "MuseumStatUI", "pay", "B", -1});
        t.push_back({"ui/MuseumStatistic", "MuseumStatUI", "museum_stat_caption", "L", -1});
        for (int i = 1; i <= 7; ++i) t.push_back({"ui/MuseumStatistic", "MuseumStatUI", "stat_" + std::to_string(i), "L", -1});
        t.push_back({"ui/MuseumStatistic", "MuseumStatUI", "icons", "P", -1});
        t.push_back({"ui/MuseumStatistic", "icons", "coin_icon", "T", 7});
        t.push_back({"ui/MuseumStatistic", "MuseumStatUI", "back", "T", -1});
        t.push_back({"ui/MuseumStatistic", "MuseumStatUI", "country_icon", "P", -1});
        // The cabinet of evidence (the per-evidence elements are checked against the pack).
        t.push_back({"ui/Cabinet", "", "background", "T", -1});
        t.push_back({"ui/Cabinet", "", "UI", "P", -1});
        t.push_back({"ui/Cabinet", "UI", "Menu", "B", -1});
        for (const char* n : {"evinence_places", "Evidences", "TobbinLook", "message_place"}) t.push_back({"ui/Cabinet", "UI", n, "P", -1});
        t.push_back({"ui/Cabinet", "UI", "cage", "T", -1});
        t.push_back({"ui/Cabinet", "message_place", "foto_place", "P", 10});
        t.push_back({"ui/Cabinet", "message_place", "message_container", "P", -1});
        t.push_back({"ui/Cabinet", "message_container", "message_label", "L", -1});
        // The minigame host and the selection popup.
        t.push_back({"ui/Minigames", "", "UI", "P", -1});
        for (const char* n : {"Skip", "Reset", "Menu"}) t.push_back({"ui/Minigames", "UI", n, "B", -1});
        for (const char* n : {"avatarPlace", "WinAnim", "chat_place"}) t.push_back({"ui/Minigames", "UI", n, "P", -1});
        t.push_back({"ui/Minigames", "UI", "LooseAnim", "L", -1});
        t.push_back({"ui/MinigamesSelection", "", "UI", "P", -1});
        t.push_back({"ui/MinigamesSelection", "UI", "CloseButton", "B", -1});
        t.push_back({"ui/MinigamesSelection", "UI", "PuzzleButtons", "P", -1});
        for (const std::string& k : minigameKinds()) {
            t.push_back({"ui/MinigamesSelection", "PuzzleButtons", k + "BtnCont", "P", -1});
            t.push_back({"ui/MinigamesSelection", k + "BtnCont", "Button", "B", -1});
            t.push_back({"ui/MinigamesSelection", k + "BtnCont", "LabelLevel", "L", -1});
            t.push_back({"ui/MinigamesSelection", k + "BtnCont", "mini_frame", "P", -1});
        }
        t.push_back({"ui/MinigamesSelection", "mini_frame", "closed", "T", 1});
        // The five minigames' folders.
        const std::string tm = "Minigames/TwoMatch", cp = "Minigames/ConveyorPuzzle", dp = "Minigames/DropsPuzzle",
                          cm = "Minigames/ColorMatch", jp = "Minigames/JigsawPuzzle";
        for (const char* n : {"painting", "hinge_closed", "hinge_open", "tile_0", "tile_1", "tile_2", "Selection"}) {
            t.push_back({tm, "", n, "T", -1});
        }
        t.push_back({tm, "", "UI", "P", -1});
        for (const char* n : {"grid", "neworder_back", "indicator_wrong", "indicator_correct", "handle_dinamic"}) t.push_back({tm, "UI", n, "T", -1});
        for (int r = 0; r <= 4; ++r) t.push_back({tm, "UI", "pintle_" + std::to_string(r), "T", -1});
        t.push_back({tm, "UI", "top_plate_place", "P", -1});
        t.push_back({tm, "UI", "slots_place", "P", -1});
        t.push_back({cp, "", "background", "T", -1});
        t.push_back({cp, "", "UI", "P", -1});
        for (const char* n : {"belt", "conveyor_gun", "conveyor_palette"}) t.push_back({cp, "UI", n, "T", -1});
        t.push_back({cp, "UI", "counter", "L", -1});
        for (int i = 0; i <= 7; ++i) t.push_back({cp, "", "accepted_" + std::to_string(i), "T", -1});
        for (int i = 0; i <= 10; ++i) t.push_back({cp, "", "illicit_" + std::to_string(i), "T", -1});
        t.push_back({cp, "", "coin", "T", -1});
        t.push_back({dp, "", "background", "T", -1});
        t.push_back({dp, "", "UI", "P", -1});
        t.push_back({dp, "UI", "drops_layer", "P", -1});
        t.push_back({dp, "UI", "cart", "T", -1});
        t.push_back({dp, "drops_layer", "cart_back", "T", -1});
        for (int i = 0; i <= 3; ++i) {
            t.push_back({dp, "drops_layer", "drop_" + std::to_string(i), "T", -1});
            t.push_back({dp, "drops_layer", "spot_" + std::to_string(i), "T", -1});
        }
        t.push_back({cm, "", "background", "T", -1});
        t.push_back({cm, "", "board_frame", "T", -1});
        t.push_back({cm, "", "UI", "P", -1});
        for (int i = 0; i <= 9; ++i) {
            t.push_back({cm, "UI", "smear_" + std::to_string(i), "T", -1});
            t.push_back({cm, "", "pipe_" + std::to_string(i), "T", -1});
        }
        for (const char* n : {"background", "border_side", "border_corner"}) t.push_back({jp, "", n, "T", -1});
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
        {"ui/Map", "Backgrounds", {}},
        {"ui/Map", "Credits", {"lbl"}},
        {"ui/Map", "USA", {"caption"}},
        {"ui/Map", "UnitedKingdom", {"caption"}},
        {"ui/Map", "France", {"caption"}},
        {"ui/Map", "Netherlands", {"caption"}},
        {"ui/Map", "Ukraine", {"caption"}},
        {"ui/Map", "Spain", {"caption"}},
        {"ui/Map", "Austria", {"caption"}},
        {"ui/Gallery", "UI", {"label", "prograsLabel"}},
        {"ui/GalleryDynamic", "closeGroup", {}},
        {"ui/GalleryDynamic", "PictureFrame", {"priceLabel"}},
        {"ui/GalleryDynamic", "PictureDetails", {"header", "description", "wallpaper_title"}},
        {"ui/LevelStatistic", "LevelStatistic", {"level_stat_caption", "header", "lbl", "fun_facts"}},
        {"ui/OptionsScreen", "UI", {"label"}},
        {"ui/OptionsScreen", "ChooseUser", {"user_name"}},
        {"ui/MuseumStatistic", "MuseumStatUI",
         {"museum_stat_caption", "stat_1", "stat_2", "stat_3", "stat_4", "stat_5", "stat_6", "stat_7", "pay_title"}},
        {"ui/Cabinet", "UI", {"message_label"}},
        {"ui/Cabinet", "message_place", {"message_label"}},
        {"ui/Cabinet", "message_container", {"message_label"}},
        {"ui/Minigames", "UI", {"LooseAnim"}},
        {"ui/MinigamesSelection", "UI", {"LabelLevel"}},
        {"Minigames/TwoMatch", "UI", {}},
        {"Minigames/ConveyorPuzzle", "UI", {"counter"}},
        {"Minigames/DropsPuzzle", "UI", {}},
        {"Minigames/ColorMatch", "UI", {}},
    };
    return trees;
}

const std::vector<std::string>& uiFolders() {
    static const std::vector<std::string> f = [] {
        std::vector<std::string> t = {"ui/GeneralArt", "ui/Confirmation", "ui/Chat", "ui/Tutorials", "ui/Loading", "ui/Game",
                                      "ui/Intro", "ui/Map", "ui/Gallery", "ui/GalleryDynamic", "ui/LevelStatistic",
                                      "ui/OptionsScreen", "ui/MuseumStatistic", "ui/Cabinet", "ui/Minigames",
                                      "ui/MinigamesSelection"};
        for (const std::string& k : minigameKinds()) t.push_back("Minigames/" + k);
        for (const std::string& s : slideFolders()) t.push_back(s);
        return t;
    }();
    return f;
}

const std::vector<std::string>& minigameKinds() {
    static const std::vector<std::string> k = {"TwoMatch", "ColorMatch", "DropsPuzzle", "ConveyorPuzzle", "JigsawPuzzle"};
    return k;
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
        // Static texts of the screens' titles, captions and buttons.
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
        // The map's country pictures (also loaded by the museum's statistic) and the gallery's
        // Map button faces, which code loads by name.
        for (const std::string& c : countries()) {
            t.push_back({"ui/Map/Icons_atlas.xml", c + "_icon.png", 0, 0});
            t.push_back({"ui/Gallery/UI_atlas.xml", "icon_" + c + ".png", 0, 0});
            t.push_back({"ui/Gallery/UI_atlas.xml", "icon_" + c + "_over.png", 0, 0});
        }
        // Frames the minigames make sprites from by name while they play.
        for (int i = 0; i <= 2; ++i) t.push_back({"Minigames/TwoMatch/Tiles_atlas.xml", "tile_" + std::to_string(i) + ".png", 0, 0});
        t.push_back({"Minigames/TwoMatch/Tiles_atlas.xml", "Selection.png", 0, 0});
        for (int i = 0; i <= 7; ++i) t.push_back({"Minigames/ConveyorPuzzle/Items_atlas.xml", "accepted_" + std::to_string(i) + ".png", 0, 0});
        for (int i = 0; i <= 10; ++i) t.push_back({"Minigames/ConveyorPuzzle/Items_atlas.xml", "illicit_" + std::to_string(i) + ".png", 0, 0});
        t.push_back({"Minigames/ConveyorPuzzle/Items_atlas.xml", "coin.png", 0, 0});
        t.push_back({"Minigames/ConveyorPuzzle/UI_atlas.xml", "finger.png", 0, 0});
        for (int i = 0; i <= 3; ++i) {
            t.push_back({"Minigames/DropsPuzzle/UI_atlas.xml", "drop_" + std::to_string(i) + ".png", 0, 0});
            t.push_back({"Minigames/DropsPuzzle/UI_atlas.xml", "spot_" + std::to_string(i) + ".png", 0, 0});
        }
        for (int i = 0; i <= 9; ++i) {
            t.push_back({"Minigames/ColorMatch/Pipes_atlas.xml", "pipe_" + std::to_string(i) + ".png", 0, 0});
            t.push_back({"Minigames/ColorMatch/UI_atlas.xml", "smear_" + std::to_string(i) + ".png", 0, 0});
        }
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
