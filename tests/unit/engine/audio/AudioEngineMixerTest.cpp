// The SDL2_mixer backend on SDL's dummy driver: real decoding, real mixing in real time, real finish
// hooks from the mixer's audio thread.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "AudioTestSupport.h"
#include "engine/platform/FileUtils.h"

namespace {

using namespace audiotest;
using Clock = std::chrono::steady_clock;

class AudioEngineMixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        useDummyDriver();
        startDirector();
    }
    void TearDown() override { stopDirector(); }

    // Over 1 MiB, so it streams although it lasts only 1.5 s.
    std::string bigWav(const std::string& name) { return writeWav(_dir.file(name), 1.5, 192000, 2, 0.5); }

    TempDir _dir;
};

struct Finish {
    int id;
    std::string path;
    std::thread::id thread;
    AudioState stateInside;
    double secondsAfterPlay;
};

TEST_F(AudioEngineMixerTest, FinishCallbackComesOnceOnTheMainThreadAfterTheSoundEnds) {
    const std::string path = writeWav(_dir.file("short.wav"), 0.3);
    std::vector<Finish> finishes;
    const auto started = Clock::now();
    const int id = AudioEngine::play2d(path);
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
    AudioEngine::setFinishCallback(id, [&](int finishedId, const std::string& finishedPath) {
        finishes.push_back({finishedId, finishedPath, std::this_thread::get_id(),
                            AudioEngine::getState(finishedId),
                            std::chrono::duration<double>(Clock::now() - started).count()});
    });
    ASSERT_TRUE(pumpUntil("the sound's end", [&] { return !finishes.empty(); }));
    ASSERT_TRUE(pumpWhileTheMixerPlays(0.3));
    ASSERT_EQ(finishes.size(), 1u);
    EXPECT_EQ(finishes[0].id, id);
    EXPECT_EQ(finishes[0].path, path);
    EXPECT_EQ(finishes[0].thread, std::this_thread::get_id());
    EXPECT_EQ(finishes[0].stateInside, AudioState::ERROR) << "finished before its callback";
    // The mixer works one 23 ms buffer ahead of the clock; it never reports an end much too early.
    EXPECT_GE(finishes[0].secondsAfterPlay, 0.3 - 0.05);

    // The finished id is stale now: stopping it does not touch the next sound.
    const int next = AudioEngine::play2d(path, true);
    AudioEngine::stop(id);
    EXPECT_EQ(AudioEngine::getState(next), AudioState::PLAYING);
    EXPECT_GT(mixedPeakOver(0.15), 0.3f);
}

TEST_F(AudioEngineMixerTest, StopAfterTheSoundEndedButBeforeTheFrameGivesNoCallback) {
    // The mixer's audio thread has already reported the end when the game stops the id in the same
    // frame: the game stopped it, so no callback.
    const std::string path = writeWav(_dir.file("blip.wav"), 0.1);
    int calls = 0;
    const int id = AudioEngine::play2d(path);
    AudioEngine::setFinishCallback(id, [&](int, const std::string&) { ++calls; });
    ASSERT_TRUE(awaitSilence("the mixer to end the sound"));
    AudioEngine::stop(id);
    // The end reported before the stop is dispatched in the next frame.
    frame();
    frame();
    EXPECT_EQ(calls, 0);
}

TEST_F(AudioEngineMixerTest, DurationIsKnownRightAfterPlay) {
    struct Case {
        const char* name;
        std::string path;
        double seconds;
    };
    const Case cases[] = {
        {"WAV effect", writeWav(_dir.file("effect.wav"), 0.5), 0.5},
        {"MP3 effect", writeMp3(_dir.file("effect.mp3"), 1.0), 1.0},
        {"WAV over 10 s", writeWav(_dir.file("track.wav"), 12.0), 12.0},
        {"MP3 over 10 s", writeMp3(_dir.file("track.mp3"), 12.0), 12.0},
        {"WAV over 1 MiB", bigWav("big.wav"), 1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int id = AudioEngine::play2d(c.path, false, 0.5f);
        ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
        EXPECT_NEAR(AudioEngine::getDuration(id), c.seconds, 0.05);
        EXPECT_GT(mixedPeakOver(0.1), 0.1f) << "decoded and heard";
        AudioEngine::stop(id);
    }
}

TEST_F(AudioEngineMixerTest, VolumeChangesApplyToWhatIsHeard) {
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"effect on a channel", writeWav(_dir.file("effect.wav"), 0.5)},
        {"MP3 effect on a channel", writeMp3(_dir.file("effect.mp3"), 0.5)},
        {"music stream", writeWav(_dir.file("track.wav"), 12.0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The files are written at half of full scale.
        const int id = AudioEngine::play2d(c.path, true, 1.0f);
        ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
        EXPECT_NEAR(mixedPeakOver(0.15), 0.5f, 0.08f);
        AudioEngine::setVolume(id, 0.25f);
        EXPECT_NEAR(mixedPeakOver(0.15), 0.125f, 0.04f);
        AudioEngine::setVolume(id, 0.0f);
        EXPECT_LT(mixedPeakOver(0.15), 0.005f);
        AudioEngine::setVolume(id, 1.0f);
        EXPECT_GT(mixedPeakOver(0.15), 0.4f);
        AudioEngine::stop(id);
        EXPECT_LT(mixedPeakOver(0.1), 0.005f) << "stop silences at once";
    }
}

TEST_F(AudioEngineMixerTest, PauseSilencesAndKeepsThePosition) {
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"effect on a channel", writeWav(_dir.file("effect.wav"), 2.0)},
        {"music stream", writeWav(_dir.file("track.wav"), 12.0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int calls = 0;
        const int id = AudioEngine::play2d(c.path);
        AudioEngine::setFinishCallback(id, [&](int, const std::string&) { ++calls; });
        ASSERT_TRUE(pumpUntil("0.3 s of the sound to play",
                              [id] { return AudioEngine::getCurrentTime(id) >= 0.3f; }));
        AudioEngine::pause(id);
        const float atPause = AudioEngine::getCurrentTime(id);
        EXPECT_LT(mixedPeakOver(0.3), 0.005f);
        EXPECT_FLOAT_EQ(AudioEngine::getCurrentTime(id), atPause);
        AudioEngine::resume(id);
        EXPECT_NEAR(AudioEngine::getCurrentTime(id), atPause, 0.05f) << "goes on from where it was";
        EXPECT_GT(mixedPeakOver(0.15), 0.3f);
        EXPECT_GE(AudioEngine::getCurrentTime(id), atPause);
        AudioEngine::stop(id);
        frame();
        EXPECT_EQ(calls, 0);
    }
}

TEST_F(AudioEngineMixerTest, LoopingSoundNeverFinishesUntilItsLoopIsSwitchedOff) {
    struct Case {
        const char* name;
        std::string path;
        double seconds;
        double loopFor;   // long enough to wrap at least twice, where the sound is short
        bool keepsPlace;  // SDL2_mixer 2.6 cannot seek a WAV stream that has just been started
        bool waitForEnd;
    };
    const Case cases[] = {
        // The channel's last pass is timed by the clock: a second long, it is still heard on a machine
        // slow to mix.
        {"effect on a channel", writeWav(_dir.file("loop.wav"), 1.0), 1.0, 2.3, true, true},
        {"WAV stream", bigWav("big.wav"), 1.5, 3.3, false, true},
        {"MP3 stream", writeMp3(_dir.file("track.mp3"), 10.5), 10.5, 0.5, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int calls = 0;
        const int id = AudioEngine::play2d(c.path, true);
        AudioEngine::setFinishCallback(id, [&](int, const std::string&) { ++calls; });
        ASSERT_TRUE(pumpWhileTheMixerPlays(c.loopFor));
        EXPECT_EQ(calls, 0);
        EXPECT_EQ(AudioEngine::getState(id), AudioState::PLAYING);
        EXPECT_GT(mixedPeakOver(0.1), 0.3f);
        // Early in a pass: the pass under way, the last one now, lasts while it is measured.
        ASSERT_TRUE(pumpUntil("an early point of a pass", [&] {
            return AudioEngine::getCurrentTime(id) < 0.25f * static_cast<float>(c.seconds);
        }));
        const float before = AudioEngine::getCurrentTime(id);
        AudioEngine::setLoop(id, false);
        EXPECT_FALSE(AudioEngine::isLoop(id));
        if (c.keepsPlace) {
            EXPECT_NEAR(AudioEngine::getCurrentTime(id), before, 0.1f) << "plays on from where it was";
        }
        frame();
        EXPECT_EQ(calls, 0) << "switching the loop off is no end";
        EXPECT_EQ(AudioEngine::getState(id), AudioState::PLAYING);
        EXPECT_GT(mixedPeakOver(0.1), 0.3f);
        if (!c.waitForEnd) {
            AudioEngine::stop(id);
            continue;
        }
        // The pass under way plays out, then it ends as a sound without loop.
        ASSERT_TRUE(pumpUntil("the last pass to end", [&] { return calls > 0; }));
        ASSERT_TRUE(pumpWhileTheMixerPlays(0.3));
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(AudioEngine::getState(id), AudioState::ERROR);
    }
}

TEST_F(AudioEngineMixerTest, LoopSwitchedOnAfterTheStartPlaysOn) {
    struct Case {
        const char* name;
        std::string path;
        double seconds;
    };
    const Case cases[] = {
        {"effect on a channel", writeWav(_dir.file("effect.wav"), 0.2), 0.2},
        {"music stream", bigWav("big.wav"), 1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int calls = 0;
        const int id = AudioEngine::play2d(c.path);
        AudioEngine::setFinishCallback(id, [&](int, const std::string&) { ++calls; });
        AudioEngine::setLoop(id, true);
        ASSERT_TRUE(pumpWhileTheMixerPlays(c.seconds * 2 + 0.3));
        EXPECT_EQ(calls, 0);
        EXPECT_EQ(AudioEngine::getState(id), AudioState::PLAYING);
        EXPECT_GT(mixedPeakOver(0.1), 0.3f);
        AudioEngine::stop(id);
    }
}

TEST_F(AudioEngineMixerTest, MusicAndThirtyTwoEffectsPlayAtOnceAndTheNextEffectIsRefused) {
    const std::string effect = writeWav(_dir.file("effect.wav"), 0.5);
    const int music = AudioEngine::play2d(writeWav(_dir.file("track.wav"), 12.0), true);
    ASSERT_NE(music, AudioEngine::INVALID_AUDIO_ID);
    std::vector<int> effects;
    for (int i = 0; i < 32; ++i) {
        effects.push_back(AudioEngine::play2d(effect, true, 0.01f));
        ASSERT_NE(effects.back(), AudioEngine::INVALID_AUDIO_ID) << "effect " << i;
    }
    LogCapture log;
    EXPECT_EQ(AudioEngine::play2d(effect, true), AudioEngine::INVALID_AUDIO_ID);
    EXPECT_EQ(log.countContaining(effect), 1);
    EXPECT_EQ(AudioEngine::getState(music), AudioState::PLAYING);
    AudioEngine::stop(effects.front());
    EXPECT_NE(AudioEngine::play2d(effect, true), AudioEngine::INVALID_AUDIO_ID);
    // The effects are nearly silent: what is heard is the music, mixed with them.
    AudioEngine::setVolume(music, 1.0f);
    EXPECT_GT(mixedPeakOver(0.15), 0.4f);
}

TEST_F(AudioEngineMixerTest, SecondLongFileWhileTheStreamIsBusyStillPlays) {
    const int first = AudioEngine::play2d(writeWav(_dir.file("track1.wav"), 12.0));
    const int second = AudioEngine::play2d(writeMp3(_dir.file("track2.mp3"), 11.0));
    ASSERT_NE(first, AudioEngine::INVALID_AUDIO_ID);
    ASSERT_NE(second, AudioEngine::INVALID_AUDIO_ID);
    EXPECT_NEAR(AudioEngine::getDuration(first), 12.0, 0.05);
    EXPECT_NEAR(AudioEngine::getDuration(second), 11.0, 0.05);
    AudioEngine::stop(first);
    AudioEngine::setVolume(second, 1.0f);
    EXPECT_GT(mixedPeakOver(0.15), 0.4f);
}

TEST_F(AudioEngineMixerTest, LongFileThatPlayedOnAChannelGivesItBackWhenItLoopsOntoTheStream) {
    const int music = AudioEngine::play2d(writeWav(_dir.file("track.wav"), 12.0));
    const int big = AudioEngine::play2d(bigWav("big.wav"));  // the stream is busy: on a channel
    ASSERT_NE(big, AudioEngine::INVALID_AUDIO_ID);
    AudioEngine::setLoop(big, true);
    AudioEngine::stop(music);
    // Its next pass starts on the free stream.
    ASSERT_TRUE(pumpWhileTheMixerPlays(1.8));
    EXPECT_EQ(AudioEngine::getState(big), AudioState::PLAYING);
    const std::string effect = writeWav(_dir.file("effect.wav"), 0.5);
    for (int i = 0; i < 32; ++i) {
        ASSERT_NE(AudioEngine::play2d(effect, true, 0.0f), AudioEngine::INVALID_AUDIO_ID) << "effect " << i;
    }
}

TEST_F(AudioEngineMixerTest, StreamThatEndedBeforeTheFrameIsReportedWhileTheNextTrackPlays) {
    // The playlist's case: the next track is started in the frame in which the last one ended, before
    // its finish has been dispatched.
    const std::string firstPath = bigWav("track1.wav");
    const std::string secondPath = bigWav("track2.wav");
    std::vector<int> finished;
    const int first = AudioEngine::play2d(firstPath);
    AudioEngine::setFinishCallback(first, [&](int id, const std::string&) { finished.push_back(id); });
    ASSERT_TRUE(awaitSilence("the mixer to end the first track"));
    const int second = AudioEngine::play2d(secondPath);
    ASSERT_NE(second, AudioEngine::INVALID_AUDIO_ID);
    AudioEngine::setFinishCallback(second, [&](int id, const std::string&) { finished.push_back(id); });
    ASSERT_TRUE(pumpUntil("the first track's end", [&] { return !finished.empty(); }));
    EXPECT_EQ(finished, std::vector<int>{first});
    EXPECT_EQ(AudioEngine::getState(second), AudioState::PLAYING);
    EXPECT_GT(mixedPeakOver(0.1), 0.3f);
    AudioEngine::stop(second);
    frame();
    EXPECT_EQ(finished, std::vector<int>{first});
}

TEST_F(AudioEngineMixerTest, FinishCallbackMayStartTheNextSoundOrEndTheEngine) {
    const std::string path = writeWav(_dir.file("short.wav"), 0.1);
    std::vector<int> finished;
    const int first = AudioEngine::play2d(path);
    int second = AudioEngine::INVALID_AUDIO_ID;
    AudioEngine::setFinishCallback(first, [&](int id, const std::string& p) {
        finished.push_back(id);
        second = AudioEngine::play2d(p);
        AudioEngine::setFinishCallback(second, [&](int id2, const std::string&) { finished.push_back(id2); });
    });
    ASSERT_TRUE(pumpUntil("both ends", [&] { return finished.size() == 2; }));
    EXPECT_EQ(finished, (std::vector<int>{first, second}));

    // Two ends reported in one frame; the first callback closes the engine, so the second is dropped.
    finished.clear();
    const int a = AudioEngine::play2d(path);
    const int b = AudioEngine::play2d(path);
    AudioEngine::setFinishCallback(a, [&](int id, const std::string&) {
        finished.push_back(id);
        AudioEngine::end();
    });
    AudioEngine::setFinishCallback(b, [&](int id, const std::string&) {
        finished.push_back(id);
        AudioEngine::end();
    });
    ASSERT_TRUE(awaitSilence("the mixer to end both sounds"));
    frame();
    frame();
    EXPECT_EQ(finished.size(), 1u);
}

TEST_F(AudioEngineMixerTest, UndecodableFilesGiveTheErrorIdAndOneLogLine) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::string wav = wavBytes(0.2);
    const Case cases[] = {
        {"text.mp3", "this is not a sound at all\n"},
        {"noise.wav", std::string(4096, '\x5a')},
        {"header-only.wav", wav.substr(0, 12)},
        {"no-data.wav", wav.substr(0, 36)},
        {"id3-only.mp3", std::string("ID3\x03\x00\x00\x00\x00\x00\x10", 10) + std::string(64, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = writeFile(_dir.file(c.name), c.bytes);
        LogCapture log;
        EXPECT_EQ(AudioEngine::play2d(path), AudioEngine::INVALID_AUDIO_ID);
        EXPECT_EQ(AudioEngine::play2d(path), AudioEngine::INVALID_AUDIO_ID);
        EXPECT_EQ(log.countContaining(path), 1);
    }
}

TEST_F(AudioEngineMixerTest, UncacheFreesTheFileSoTheNextPlayReadsItAgain) {
    const std::string path = _dir.file("changing.wav");
    writeWav(path, 0.5);
    const int before = AudioEngine::play2d(path, true);
    EXPECT_NEAR(AudioEngine::getDuration(before), 0.5, 0.01);
    writeWav(path, 0.8);
    EXPECT_NEAR(AudioEngine::getDuration(AudioEngine::play2d(path, true)), 0.5, 0.01) << "still cached";
    AudioEngine::uncache(path);
    EXPECT_EQ(AudioEngine::getState(before), AudioState::ERROR);
    EXPECT_NEAR(AudioEngine::getDuration(AudioEngine::play2d(path)), 0.8, 0.01);
}

TEST_F(AudioEngineMixerTest, PlayOfAFileStillLoadingWaitsForIt) {
    const std::string path = writeMp3(_dir.file("effect.mp3"), 1.0);
    bool loaded = false;
    AudioEngine::preload(path, [&](bool ok) { loaded = ok; });
    const int id = AudioEngine::play2d(path);
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
    EXPECT_NEAR(AudioEngine::getDuration(id), 1.0, 0.05);
    EXPECT_FALSE(loaded) << "the callback waits for the frame";
    ASSERT_TRUE(pumpUntil("the preload's callback", [&] { return loaded; }));
}

TEST_F(AudioEngineMixerTest, WithoutAUsableDeviceTheDummyDriverPlaysEverythingSilently) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const std::string path = writeWav(_dir.file("short.wav"), 0.2);
    LogCapture log;
    int calls = 0;
    const int id = AudioEngine::play2d(path);
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
    AudioEngine::setFinishCallback(id, [&](int, const std::string&) { ++calls; });
    EXPECT_NEAR(AudioEngine::getDuration(id), 0.2, 0.01);
    EXPECT_TRUE(pumpUntil("the sound's end", [&] { return calls == 1; }));
    EXPECT_EQ(log.countContaining("dummy driver"), 1);
    AudioEngine::end();
    useDummyDriver();
}

// A seeded sequence must not depend on what the sound drivers draw while the device opens and closes:
// the PulseAudio client draws from rand() a varying number of times while it looks for a server.
TEST_F(AudioEngineMixerTest, OpeningAndClosingTheDeviceLeaveTheRandomSequenceWhereItWas) {
    const auto draws = [] {
        std::vector<int> values(16);
        for (int& value : values) {
            value = std::rand();
        }
        return values;
    };
    std::srand(5);
    const std::vector<int> expected = draws();

    // The default device first, as the game opens it; a silent file in case it is a real one.
    unsetenv("SDL_AUDIODRIVER");
    const std::string path = writeWav(_dir.file("silence.wav"), 0.05, 22050, 1, 0.0);
    std::srand(5);
    ASSERT_NE(AudioEngine::play2d(path), AudioEngine::INVALID_AUDIO_ID);
    EXPECT_EQ(draws(), expected) << "opening the device";
    std::srand(5);
    AudioEngine::end();
    EXPECT_EQ(draws(), expected) << "closing the device";
    useDummyDriver();
}

TEST_F(AudioEngineMixerTest, SilentBackendKeepsIdsButKnowsNoLengthAndReportsNoEnd) {
    AudioEngine::openSilent();
    const std::string path = writeWav(_dir.file("short.wav"), 0.1);
    int calls = 0;
    const int id = AudioEngine::play2d(path);
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
    AudioEngine::setFinishCallback(id, [&](int, const std::string&) { ++calls; });
    EXPECT_EQ(AudioEngine::getDuration(id), AudioEngine::TIME_UNKNOWN);
    // Nothing plays, so nothing is on its way: the frames have nothing to deliver.
    for (int i = 0; i < 30; ++i) {
        frame();
    }
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(AudioEngine::getState(id), AudioState::PLAYING);
    EXPECT_EQ(AudioEngine::takeOutputPeak(), 0.0f);
    // Sounds without loop that can never end are forgotten past a bound; looping ones are kept.
    const int loop = AudioEngine::play2d(path, true);
    for (int i = 0; i < 1000; ++i) {
        AudioEngine::play2d(path);
    }
    EXPECT_EQ(AudioEngine::getState(id), AudioState::ERROR);
    EXPECT_EQ(AudioEngine::getState(loop), AudioState::PLAYING);
}

TEST_F(AudioEngineMixerTest, FinishCallbacksComeWhileTheDirectorIsPaused) {
    cocos2d::Director::getInstance()->pause();
    int calls = 0;
    const int id = AudioEngine::play2d(writeWav(_dir.file("short.wav"), 0.1));
    AudioEngine::setFinishCallback(id, [&](int, const std::string&) { ++calls; });
    EXPECT_TRUE(pumpUntil("the sound's end while paused", [&] { return calls == 1; }));
}

TEST_F(AudioEngineMixerTest, TheDirectorsTeardownClosesTheSoundWithoutCallbacks) {
    // Both sounds outlast the test even on a loaded machine: one that really ended before the
    // director's last frame would rightly get its callback there.
    int calls = 0;
    const std::string effectFile = writeWav(_dir.file("effect.wav"), 4.0);
    const std::string trackFile = writeWav(_dir.file("track.wav"), 12.0);
    const int effect = AudioEngine::play2d(effectFile);
    const int music = AudioEngine::play2d(trackFile, true);
    AudioEngine::setFinishCallback(effect, [&](int, const std::string&) { ++calls; });
    cocos2d::Director::getInstance()->end();
    frame();
    EXPECT_EQ(AudioEngine::getState(effect), AudioState::ERROR);
    EXPECT_EQ(AudioEngine::getState(music), AudioState::ERROR);
    EXPECT_EQ(AudioEngine::takeOutputPeak(), 0.0f) << "closed";
    // A new director gets the sound back on first use, and closes it at its own end.
    startDirector();
    const int again = AudioEngine::play2d(writeWav(_dir.file("loop.wav"), 0.2), true);
    EXPECT_GT(mixedPeakOver(0.1), 0.3f);
    stopDirector();
    EXPECT_EQ(AudioEngine::getState(again), AudioState::ERROR);
    EXPECT_EQ(calls, 0);
}

TEST_F(AudioEngineMixerTest, NamesAreLookedUpAlongTheSearchPaths) {
    std::filesystem::create_directories(_dir.file("res/audio"));
    writeWav(_dir.file("res/audio/drop.wav"), 0.1);
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(_dir.file("") + "/");
    files->setSearchPaths({"src", "res"});
    std::vector<std::string> finished;
    const int id = AudioEngine::play2d("audio/drop.wav");
    ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID);
    EXPECT_NEAR(AudioEngine::getDuration(id), 0.1, 0.01);
    AudioEngine::setFinishCallback(id, [&](int, const std::string& path) { finished.push_back(path); });
    EXPECT_TRUE(pumpUntil("the sound's end", [&] { return !finished.empty(); }));
    EXPECT_EQ(finished, std::vector<std::string>{"audio/drop.wav"}) << "the name as the game gave it";
    // The same name uncaches it; a name found nowhere is named in its log line.
    const int loop = AudioEngine::play2d("audio/drop.wav", true);
    AudioEngine::uncache("audio/drop.wav");
    EXPECT_EQ(AudioEngine::getState(loop), AudioState::ERROR);
    LogCapture log;
    EXPECT_EQ(AudioEngine::play2d("audio/missing.mp3"), AudioEngine::INVALID_AUDIO_ID);
    EXPECT_EQ(log.countContaining("[audio/missing.mp3]"), 1);
    cocos2d::FileUtils::destroyInstance();
}

}  // namespace

namespace {

TEST_F(AudioEngineMixerTest, AVoicePausedRightAfterTheDeviceOpensFallsSilent) {
    // Right after the device opens (SDL's clock may still read 0), a second voice of a file paused at
    // once must fall silent like any paused voice.
    for (const std::string& path :
         {writeWav(_dir.file("loop.wav"), 0.5), writeMp3(_dir.file("loop.mp3"), 0.5)}) {
        SCOPED_TRACE(path);
        const int first = AudioEngine::play2d(path, true);
        const int second = AudioEngine::play2d(path, true);
        ASSERT_NE(first, AudioEngine::INVALID_AUDIO_ID);
        ASSERT_NE(second, AudioEngine::INVALID_AUDIO_ID);
        AudioEngine::pause(second);
        AudioEngine::stop(first);
        EXPECT_EQ(AudioEngine::getState(second), AudioState::PAUSED);
        EXPECT_LT(mixedPeakOver(0.3), 0.01f);
        AudioEngine::resume(second);
        EXPECT_GT(mixedPeakOver(0.3), 0.3f);
        AudioEngine::stop(second);
    }
}

}  // namespace
