// The audio service over the real mixer on SDL's dummy driver (it mixes in real time with no device)
// under a real director, with a plain node standing in as the notification node the music runs on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../engine/audio/AudioTestSupport.h"
#include "engine/actions/Action.h"
#include "engine/audio/AudioEngine.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Node.h"

#include "GameSound.h"
#include "MusicFadeTo.h"
#include "Profile.h"
#include "Settings.h"
#include "SoundFade.h"
#include "UserData.h"
#include "WaitFor.h"

namespace {

using audiotest::AudioEngine;
using audiotest::AudioState;
using audiotest::mixedPeakOver;
using cocos2d::Director;

constexpr float kFrame = 1.0f / 60.0f;

class GameSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        audiotest::useDummyDriver();
        audiotest::startDirector();
        cocos2d::FileUtils::getInstance()->setResourceRoot(_root.string() + "/");
        GameSound::destroyInstance();
        Settings::destroyInstance();
        UserData::getInstance() = UserData{};
        installNotificationNode();
    }

    void TearDown() override {
        if (_node) {
            _node->onExit();
        }
        audiotest::stopDirector();
        GameSound::destroyInstance();
        Settings::destroyInstance();
        UserData::getInstance() = UserData{};
        cocos2d::FileUtils::destroyInstance();
        std::error_code ec;
        std::filesystem::remove_all(_root, ec);
    }

    // The director draws its notification node but never enters it: the game does that by hand.
    void installNotificationNode() {
        _node = cocos2d::Node::create();
        Director::getInstance()->setNotificationNode(_node);
        _node->onEnter();
    }

    // An MP3 under audio/ of the resource root, named as the game names sounds.
    void sound(const std::string& name, double seconds) {
        const std::filesystem::path path = _root / "audio" / (name + ".mp3");
        std::filesystem::create_directories(path.parent_path());
        audiotest::writeMp3(path.string(), seconds);
    }

    // Game time far ahead of the wall clock: the mixer hears no track end meanwhile.
    static void step(float seconds) {
        const int frames = static_cast<int>(std::lround(seconds / kFrame));
        for (int i = 0; i < frames; ++i) {
            Director::getInstance()->stepFrame(kFrame);
        }
    }

    // Frames without game time until `done` holds: nothing the actions time moves, so only the mixer
    // (a track's end) can change what plays.
    static bool holdUntil(const std::string& what, const std::function<bool()>& done) {
        return testing::waitFor(what, done, [] { Director::getInstance()->stepFrame(0.0f); });
    }

    static float musicVolumeNow() { return AudioEngine::getVolume(GameSound::getInstance().getMusicId()); }

    std::vector<std::string> played(const audiotest::LogCapture& log) const {
        std::vector<std::string> names;
        for (const std::string& line : log.lines()) {
            if (line.rfind("playMusic ", 0) == 0) {
                names.push_back(line.substr(10));
            }
        }
        return names;
    }

    std::filesystem::path _root = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-sound-XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()) ? pattern : "/tmp/kestrova-sound");
    }();
    cocos2d::Node* _node = nullptr;
};

TEST_F(GameSoundTest, EffectsPlayByNameAtTheEffectVolumeAndStopAtOnceWhateverTheFadeFlag) {
    sound("sfx/click", 0.2);
    GameSound& gs = GameSound::getInstance();
    gs.setSoundVolume(0.6f);
    audiotest::LogCapture log;

    for (bool fade : {false, true}) {
        SCOPED_TRACE(fade ? "fade flag set" : "fade flag clear");
        const int id = gs.playEffect("sfx/click", true);
        ASSERT_NE(id, GameSound::getInvalidAudioId());
        EXPECT_FLOAT_EQ(AudioEngine::getVolume(id), 0.6f);
        // It loops: still playing once the mixer has played well past its length.
        ASSERT_TRUE(audiotest::pumpWhileTheMixerPlays(0.5));
        EXPECT_EQ(AudioEngine::getState(id), AudioState::PLAYING);
        EXPECT_GT(mixedPeakOver(0.1), 0.1f);

        gs.stopEffect(id, fade);
        EXPECT_EQ(AudioEngine::getState(id), AudioState::ERROR) << "stopped at once";
        EXPECT_LT(mixedPeakOver(0.1), 0.01f);
        EXPECT_EQ(log.countContaining("stop sound " + std::to_string(id)), 1);
    }
    EXPECT_EQ(log.countContaining("playEffect sfx/click"), 2);
}

TEST_F(GameSoundTest, AMissingEffectGivesTheInvalidIdAndAPlayingEffectKeepsItsVolume) {
    sound("loop", 0.3);
    GameSound& gs = GameSound::getInstance();
    gs.setSoundVolume(1.0f);
    EXPECT_EQ(gs.playEffect("no_such_sound", false), GameSound::getInvalidAudioId());

    const int id = gs.playEffect("loop", true);
    gs.setSoundVolume(0.25f);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(id), 1.0f);
    const int later = gs.playEffect("loop", false);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(later), 0.25f);
}

TEST_F(GameSoundTest, MusicFadesInFromAlmostSilentToTheMusicVolumeInItsTime) {
    sound("Music/theme_1", 3.0);
    GameSound& gs = GameSound::getInstance();
    gs.setMusicVolume(0.8f);
    gs.addToPlaylist("Music/theme_1");
    gs.startPlaylist();
    ASSERT_NE(gs.getMusicId(), GameSound::getInvalidAudioId());
    EXPECT_TRUE(gs.isPlaylistActive());
    EXPECT_NEAR(musicVolumeNow(), 0.01f, 1e-6f);

    step(0.35f);
    EXPECT_NEAR(musicVolumeNow(), 0.01f + (0.8f - 0.01f) * 0.5f, 0.02f);
    step(0.3f);
    EXPECT_LT(musicVolumeNow(), 0.8f) << "not before its 0.7 s";
    step(0.1f);
    EXPECT_FLOAT_EQ(musicVolumeNow(), 0.8f);
}

TEST_F(GameSoundTest, AMusicVolumeSetDuringTheFadeAppliesAtOnceThenTheFadeGoesOnToItsOldTarget) {
    sound("Music/theme_1", 3.0);
    GameSound& gs = GameSound::getInstance();
    gs.setMusicVolume(0.8f);
    gs.addToPlaylist("Music/theme_1");
    gs.startPlaylist();
    step(0.2f);
    gs.setMusicVolume(0.1f);
    EXPECT_FLOAT_EQ(musicVolumeNow(), 0.1f);
    step(0.1f);
    EXPECT_GT(musicVolumeNow(), 0.3f);
    step(0.5f);
    EXPECT_FLOAT_EQ(musicVolumeNow(), 0.8f);
}

TEST_F(GameSoundTest, ThePlaylistPlaysFromItsBackAndWrapsAroundOnTheTrackEndTimer) {
    // Tracks long enough that the mixer, playing in real time, reaches no end while game time runs
    // through four of them.
    for (int i = 1; i <= 3; ++i) {
        sound("Music/theme_" + std::to_string(i), 5.0);
    }
    GameSound& gs = GameSound::getInstance();
    gs.setMusicVolume(0.0f);
    for (int i = 1; i <= 3; ++i) {
        gs.addToPlaylist("Music/theme_" + std::to_string(i));
    }
    audiotest::LogCapture log;
    gs.startPlaylist();
    // Each track: the timer fires 0.1 s after its 5 s have passed, then a 0.7 s fade-out.
    step(0.05f);
    const int first = gs.getMusicId();
    step(5.1f);
    EXPECT_EQ(gs.getMusicId(), first) << "still fading out";
    step(0.7f);
    EXPECT_NE(gs.getMusicId(), first);
    EXPECT_EQ(AudioEngine::getState(first), AudioState::ERROR) << "the faded track is stopped";
    step(12.0f);
    EXPECT_EQ(played(log),
              (std::vector<std::string>{"Music/theme_3", "Music/theme_2", "Music/theme_1", "Music/theme_3"}));
    EXPECT_EQ(gs.getPlaylist().size(), 3u) << "rotation keeps its size";
    EXPECT_GE(log.countContaining("duration = 5.0"), 3);
    EXPECT_EQ(log.countContaining("onMusicEndCallback"), 0) << "the mixer reached a track's end after all";
}

TEST_F(GameSoundTest, ATrackQueuedAgainKeepsItsOnePlaceInThePlaylist) {
    GameSound& gs = GameSound::getInstance();
    for (const char* name :
         {"Music/theme_1", "Music/theme_2", "Music/theme_1", "Music/theme_3", "Music/theme_2"}) {
        gs.addToPlaylist(name);
    }
    EXPECT_EQ(gs.getPlaylist(),
              (std::vector<std::string>{"Music/theme_1", "Music/theme_2", "Music/theme_3"}));
}

TEST_F(GameSoundTest, ThePlaylistAdvancesWhenTheMixerReportsATracksEnd) {
    sound("Music/short", 0.4);
    sound("Music/long", 3.0);
    GameSound& gs = GameSound::getInstance();
    gs.setMusicVolume(0.5f);
    gs.addToPlaylist("Music/long");
    gs.addToPlaylist("Music/short");
    audiotest::LogCapture log;
    gs.startPlaylist();
    const int shortId = gs.getMusicId();
    // Past the start, the track-end timer is set for 0.5 s; game time then stands still, so only the
    // mixer's report of the end can move the playlist on.
    step(0.2f);
    ASSERT_TRUE(holdUntil("the mixer to report the short track's end",
                          [&] { return log.countContaining("onMusicEndCallback") > 0; }));
    step(0.8f);  // the next track's fade-in, and past the short track's timer
    EXPECT_EQ(log.countContaining("onMusicEndCallback"), 1);
    ASSERT_EQ(played(log), (std::vector<std::string>{"Music/short", "Music/long"}));
    EXPECT_NE(gs.getMusicId(), shortId);
    EXPECT_EQ(AudioEngine::getState(gs.getMusicId()), AudioState::PLAYING);
    EXPECT_GT(mixedPeakOver(0.1), 0.05f);
}

TEST_F(GameSoundTest, ATrackEndingDuringItsFadeOutDoesNotCutOrSkipTheNextTrack) {
    // The short track ends 0.4 s in, while the fade-out asked for at 0.2 s still runs until 0.9 s.
    sound("Music/a", 3.0);
    sound("Music/b", 3.0);
    sound("Music/short", 0.4);
    GameSound& gs = GameSound::getInstance();
    gs.setMusicVolume(0.5f);
    gs.addToPlaylist("Music/a");
    gs.addToPlaylist("Music/b");
    gs.addToPlaylist("Music/short");
    audiotest::LogCapture log;
    gs.startPlaylist();
    step(0.2f);
    gs.nextTrack();
    // Well into the fade-out; game time then stands still until the mixer reports the end.
    step(0.3f);
    ASSERT_TRUE(holdUntil("the mixer to report the short track's end",
                          [&] { return log.countContaining("onMusicEndCallback") > 0; }));
    step(1.1f);  // the rest of the fade-out and the next track's fade-in
    ASSERT_EQ(log.countContaining("onMusicEndCallback"), 1);
    EXPECT_EQ(played(log), (std::vector<std::string>{"Music/short", "Music/b"}));
    EXPECT_EQ(AudioEngine::getState(gs.getMusicId()), AudioState::PLAYING);
    EXPECT_EQ(gs.getPlaylist().back(), "Music/b");
    EXPECT_GT(mixedPeakOver(0.1), 0.05f) << "the next track is still heard";
}

TEST_F(GameSoundTest, ANextTrackRightAfterAStartLeavesNoStaleTimerBehind) {
    // Within 0.1 s of the start the track-end timer is not set yet; the next track must not inherit
    // a timer for the old track's length.
    sound("Music/long", 3.0);
    sound("Music/short", 1.0);
    GameSound& gs = GameSound::getInstance();
    gs.setMusicVolume(0.5f);
    gs.addToPlaylist("Music/long");
    gs.addToPlaylist("Music/short");
    gs.startPlaylist();
    step(kFrame);
    gs.nextTrack();
    step(0.8f);
    const int longId = gs.getMusicId();
    ASSERT_EQ(gs.getPlaylist().back(), "Music/long");
    step(2.0f);
    EXPECT_EQ(gs.getMusicId(), longId) << "cut mid-track by a stale timer";
    // One timer for the current track, at its own length.
    int timers = 0;
    for (int i = 0; i < 4; ++i) {
        if (_node->getActionByTag(GameSound::kTrackEndTag)) {
            ++timers;
            _node->stopActionByTag(GameSound::kTrackEndTag);
        }
    }
    EXPECT_EQ(timers, 1);
}

TEST_F(GameSoundTest, AnUnknownDurationSetsNoTimerAndTheTrackPlaysOn) {
    // The silent backend knows no lengths.
    sound("Music/a", 1.0);
    sound("Music/b", 1.0);
    AudioEngine::openSilent();
    GameSound& gs = GameSound::getInstance();
    gs.addToPlaylist("Music/a");
    gs.addToPlaylist("Music/b");
    audiotest::LogCapture log;
    gs.startPlaylist();
    const int id = gs.getMusicId();
    ASSERT_NE(id, GameSound::getInvalidAudioId());
    step(3.0f);
    EXPECT_EQ(gs.getMusicId(), id);
    EXPECT_EQ(_node->getActionByTag(GameSound::kTrackEndTag), nullptr);
    EXPECT_EQ(log.countContaining("track #" + std::to_string(id) + " duration = -1"), 1);
}

TEST_F(GameSoundTest, PlaylistCallsThatMustDoNothing) {
    sound("Music/a", 3.0);
    sound("Music/b", 3.0);
    GameSound& gs = GameSound::getInstance();
    gs.setMusicVolume(0.5f);

    // An inactive playlist: nextTrack neither stops nor fades the track that plays.
    gs.playMusic("Music/a", false);
    const int id = gs.getMusicId();
    gs.addToPlaylist("Music/b");
    gs.nextTrack();
    step(1.0f);
    EXPECT_EQ(gs.getMusicId(), id);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(id), 0.5f);

    // A start while a track plays does nothing and leaves the playlist inactive.
    gs.startPlaylist();
    EXPECT_EQ(gs.getMusicId(), id);
    EXPECT_FALSE(gs.isPlaylistActive());
}

TEST_F(GameSoundTest, NoMusicStartsWithoutTheNotificationNode) {
    sound("Music/a", 1.0);
    _node->onExit();
    _node = nullptr;
    Director::getInstance()->setNotificationNode(nullptr);
    GameSound& gs = GameSound::getInstance();
    audiotest::LogCapture log;
    gs.playMusic("Music/a", false);
    EXPECT_EQ(gs.getMusicId(), GameSound::getInvalidAudioId());
    EXPECT_EQ(log.countContaining("no notification node"), 1);
}

TEST_F(GameSoundTest, PauseAndResumeKeepTheTrackAndAFileThatCannotPlayStopsThePlaylist) {
    sound("Music/a", 3.0);
    GameSound& gs = GameSound::getInstance();
    gs.setMusicVolume(0.5f);
    gs.addToPlaylist("Music/a");
    gs.addToPlaylist("Music/broken");
    std::filesystem::create_directories(_root / "audio" / "Music");
    audiotest::writeFile((_root / "audio" / "Music" / "broken.mp3").string(), "not a sound at all");

    gs.startPlaylist();
    EXPECT_TRUE(gs.isPlaylistActive());
    EXPECT_EQ(gs.getMusicId(), GameSound::getInvalidAudioId());
    EXPECT_EQ(_node->getNumberOfRunningActions(), 0) << "no fade or timer for a track that never began";

    gs.nextTrack();
    step(kFrame * 2);
    const int id = gs.getMusicId();
    ASSERT_NE(id, GameSound::getInvalidAudioId());
    gs.pauseMusic();
    EXPECT_EQ(AudioEngine::getState(id), AudioState::PAUSED);
    gs.resumeMusic();
    EXPECT_EQ(AudioEngine::getState(id), AudioState::PLAYING);
}

TEST_F(GameSoundTest, FadesStepTheirVolumeAndPauseTheirSoundWhenStoppedWithTheFlag) {
    sound("loop", 0.5);
    GameSound& gs = GameSound::getInstance();
    gs.setSoundVolume(0.9f);

    struct Case {
        const char* what;
        bool pause;
        bool cancelEarly;
        AudioState after;
    };
    const Case cases[] = {
        {"to its end, pausing", true, false, AudioState::PAUSED},
        {"cancelled, pausing", true, true, AudioState::PAUSED},
        {"to its end, not pausing", false, false, AudioState::PLAYING},
        {"cancelled, not pausing", false, true, AudioState::PLAYING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int id = gs.playEffect("loop", true);
        SoundFade* fade = SoundFade::create(id, 1.0f, 0.1f, c.pause);
        ASSERT_NE(fade, nullptr);
        EXPECT_FLOAT_EQ(fade->getFromVolume(), 0.9f) << "starts from the effect volume";
        fade->setTag(333);
        _node->runAction(fade);
        step(0.5f);
        EXPECT_NEAR(AudioEngine::getVolume(id), 0.5f, 0.02f);
        if (c.cancelEarly) {
            _node->stopActionByTag(333);
        } else {
            step(0.6f);
            EXPECT_FLOAT_EQ(AudioEngine::getVolume(id), 0.1f);
        }
        EXPECT_EQ(AudioEngine::getState(id), c.after);
        gs.stopEffect(id, false);
    }

    MusicFadeTo* up = MusicFadeTo::create(1, 2.0f, 0.2f, 0.6f, false);
    EXPECT_FLOAT_EQ(up->getFromVolume(), 0.2f);
    EXPECT_FLOAT_EQ(up->getToVolume(), 0.6f);
    EXPECT_FLOAT_EQ(up->getDuration(), 2.0f);
}

TEST_F(GameSoundTest, TheProfilesVolumesReachTheMusicAndTheEffects) {
    sound("Music/a", 3.0);
    sound("loop", 0.3);
    Settings& settings = Settings::getInstance();
    Profile& profile = settings.getCurrentUser();
    profile.musicVolume = 0.3f;
    profile.soundVolume = 0.7f;
    settings.applyProfileSettings();
    GameSound& gs = GameSound::getInstance();
    EXPECT_FLOAT_EQ(gs.getMusicVolume(), 0.3f);
    EXPECT_FLOAT_EQ(gs.getSoundVolume(), 0.7f);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(gs.playEffect("loop", true)), 0.7f);

    gs.addToPlaylist("Music/a");
    gs.startPlaylist();
    step(0.8f);
    EXPECT_FLOAT_EQ(musicVolumeNow(), 0.3f);
    // The options' slider: stored in the profile and applied to the track at once.
    settings.setMusicVolume(0.9f);
    settings.setSoundVolume(0.2f);
    EXPECT_FLOAT_EQ(musicVolumeNow(), 0.9f);
    EXPECT_FLOAT_EQ(settings.getCurrentUser().musicVolume, 0.9f);
    EXPECT_FLOAT_EQ(settings.getCurrentUser().soundVolume, 0.2f);
    EXPECT_FLOAT_EQ(gs.getSoundVolume(), 0.2f);
}

TEST_F(GameSoundTest, PausingTheEffectsPausesOnlyThosePlayingAndResumesExactlyThose) {
    sound("loop", 0.3);
    sound("blip", 0.1);
    GameSound& gs = GameSound::getInstance();
    gs.setSoundVolume(1.0f);
    // Preloaded, as the level does with its tool sounds. (Without it the mixer loses a pause given
    // at once to the second of two voices of a file being streamed for the first time.)
    gs.preloadEffect("loop");
    bool decoded = false;
    AudioEngine::preload("audio/loop.mp3", [&decoded](bool ok) { decoded = ok; });
    ASSERT_TRUE(audiotest::pumpUntil("the preloaded effect to be decoded", [&decoded] { return decoded; }));
    const int looping = gs.playEffect("loop", true);
    const int heldByItsOwner = gs.playEffect("loop", true);
    gs.pauseSound(heldByItsOwner);
    const int finished = gs.playEffect("blip", false);
    ASSERT_NE(finished, GameSound::getInvalidAudioId());
    EXPECT_EQ(AudioEngine::getState(finished), AudioState::PLAYING);
    ASSERT_TRUE(audiotest::pumpUntil("the 0.1 s effect to end",
                                     [&] { return AudioEngine::getState(finished) != AudioState::PLAYING; }));

    audiotest::LogCapture log;
    gs.pauseEffects();
    EXPECT_EQ(AudioEngine::getState(looping), AudioState::PAUSED);
    EXPECT_LT(mixedPeakOver(0.1), 0.01f) << "nothing sounds while the window is away";

    gs.resumeEffects();
    EXPECT_EQ(AudioEngine::getState(looping), AudioState::PLAYING);
    EXPECT_EQ(AudioEngine::getState(heldByItsOwner), AudioState::PAUSED) << "paused by its owner, not by us";
    EXPECT_GT(mixedPeakOver(0.1), 0.1f);
    EXPECT_NE(AudioEngine::getState(finished), AudioState::PLAYING) << "the finished effect does not start again";

    // With the loops gone, silence: the blip that ended before the pause was not resumed.
    gs.stopEffect(looping, false);
    gs.stopEffect(heldByItsOwner, false);
    EXPECT_LT(mixedPeakOver(0.05), 0.01f) << "the finished effect sounds again";
    EXPECT_EQ(log.countContaining("playEffect"), 0);
}

}  // namespace
