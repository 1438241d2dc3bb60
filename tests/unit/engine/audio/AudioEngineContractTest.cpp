// What the game relies on from every backend: the mixer on SDL's dummy driver, and the silent backend
// that takes over when no device opens at all.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "AudioTestSupport.h"

namespace {

using namespace audiotest;

enum class Backend { Mixer, Silent };

class AudioEngineContractTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        useDummyDriver();
        startDirector();
        if (GetParam() == Backend::Silent) {
            AudioEngine::openSilent();
        }
        _effect = writeWav(_dir.file("effect.wav"), 0.3);
    }
    void TearDown() override { stopDirector(); }

    TempDir _dir;
    std::string _effect;
};

TEST_P(AudioEngineContractTest, IdsAreNeverReturnedTwiceOver10000Plays) {
    std::set<int> seen;
    int previous = 0;
    for (int i = 0; i < 10000; ++i) {
        const int id = AudioEngine::play2d(_effect);
        ASSERT_NE(id, AudioEngine::INVALID_AUDIO_ID) << "play " << i;
        ASSERT_TRUE(seen.insert(id).second) << "id " << id << " returned twice";
        ASSERT_GT(id, previous);
        previous = id;
        // Every other sound is left to the engine: ended, dropped or still playing, its id stays spent.
        if (i % 2 == 0) {
            AudioEngine::stop(id);
        }
        if (i % 32 == 0) {
            AudioEngine::stopAll();
            frame();
        }
    }
}

TEST_P(AudioEngineContractTest, AnIdKeptAcrossEndNeverReachesASoundStartedAfterIt) {
    const int stale = AudioEngine::play2d(_effect, true);
    ASSERT_NE(stale, AudioEngine::INVALID_AUDIO_ID);
    AudioEngine::end();
    if (GetParam() == Backend::Silent) {
        AudioEngine::openSilent();
    }
    const int fresh = AudioEngine::play2d(_effect, true, 0.5f);
    ASSERT_NE(fresh, AudioEngine::INVALID_AUDIO_ID);
    EXPECT_GT(fresh, stale) << "ids go on counting after the device closed";

    AudioEngine::setVolume(stale, 1.0f);
    AudioEngine::pause(stale);
    AudioEngine::setLoop(stale, false);
    AudioEngine::stop(stale);
    EXPECT_EQ(AudioEngine::getState(stale), AudioState::ERROR);
    EXPECT_EQ(AudioEngine::getState(fresh), AudioState::PLAYING);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(fresh), 0.5f);
    EXPECT_TRUE(AudioEngine::isLoop(fresh));
}

TEST_P(AudioEngineContractTest, UnreadableFileGivesTheErrorIdAndOneLogLineNamingIt) {
    struct Case {
        const char* name;
        std::string bytes;  // empty with write = false: no file at all
        bool write;
    };
    const Case cases[] = {
        {"missing.wav", "", false},
        {"empty.wav", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = _dir.file(c.name);
        if (c.write) {
            writeFile(path, c.bytes);
        }
        LogCapture log;
        EXPECT_EQ(AudioEngine::play2d(path), AudioEngine::INVALID_AUDIO_ID);
        EXPECT_EQ(AudioEngine::play2d(path, true, 0.5f), AudioEngine::INVALID_AUDIO_ID);
        EXPECT_EQ(log.countContaining(path), 1) << "the bad file is named once";
    }
}

TEST_P(AudioEngineContractTest, CallsOnUnknownStoppedAndInvalidIdsDoNothing) {
    const int kept = AudioEngine::play2d(_effect, true, 0.5f);
    ASSERT_NE(kept, AudioEngine::INVALID_AUDIO_ID);
    const int stopped = AudioEngine::play2d(_effect, true);
    AudioEngine::stop(stopped);

    for (int id : {AudioEngine::INVALID_AUDIO_ID, 0, stopped, kept + 1000}) {
        SCOPED_TRACE(id);
        AudioEngine::stop(id);
        AudioEngine::pause(id);
        AudioEngine::resume(id);
        AudioEngine::setVolume(id, 0.9f);
        AudioEngine::setLoop(id, false);
        bool called = false;
        AudioEngine::setFinishCallback(id, [&](int, const std::string&) { called = true; });
        EXPECT_EQ(AudioEngine::getState(id), AudioState::ERROR);
        EXPECT_EQ(AudioEngine::getDuration(id), AudioEngine::TIME_UNKNOWN);
        EXPECT_EQ(AudioEngine::getCurrentTime(id), AudioEngine::TIME_UNKNOWN);
        EXPECT_FALSE(AudioEngine::isLoop(id));
        EXPECT_FALSE(called);
    }
    // The sound that is still playing was not touched by any of them.
    EXPECT_EQ(AudioEngine::getState(kept), AudioState::PLAYING);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(kept), 0.5f);
    EXPECT_TRUE(AudioEngine::isLoop(kept));
}

TEST_P(AudioEngineContractTest, VolumeIsPerIdAndClamped) {
    const int a = AudioEngine::play2d(_effect, true, 0.25f);
    const int b = AudioEngine::play2d(_effect, true, 7.0f);
    const int c = AudioEngine::play2d(_effect, true, -1.0f);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(a), 0.25f);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(b), 1.0f);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(c), 0.0f);
    AudioEngine::setVolume(a, 0.75f);
    AudioEngine::setVolume(b, std::nanf(""));
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(a), 0.75f);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(b), 0.0f);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(c), 0.0f);
}

TEST_P(AudioEngineContractTest, PauseAndResumeChangeOnlyTheirSounds) {
    const int a = AudioEngine::play2d(_effect, true);
    const int b = AudioEngine::play2d(_effect, true);
    AudioEngine::pause(a);
    EXPECT_EQ(AudioEngine::getState(a), AudioState::PAUSED);
    EXPECT_EQ(AudioEngine::getState(b), AudioState::PLAYING);
    AudioEngine::pauseAll();
    EXPECT_EQ(AudioEngine::getState(b), AudioState::PAUSED);
    AudioEngine::resume(b);
    EXPECT_EQ(AudioEngine::getState(a), AudioState::PAUSED);
    EXPECT_EQ(AudioEngine::getState(b), AudioState::PLAYING);
    AudioEngine::resumeAll();
    EXPECT_EQ(AudioEngine::getState(a), AudioState::PLAYING);
}

TEST_P(AudioEngineContractTest, StopStopAllUncacheAndEndNeverRunTheFinishCallback) {
    int calls = 0;
    auto count = [&](int, const std::string&) { ++calls; };
    const int stopped = AudioEngine::play2d(_effect);
    AudioEngine::setFinishCallback(stopped, count);
    AudioEngine::stop(stopped);
    const int all = AudioEngine::play2d(_effect);
    AudioEngine::setFinishCallback(all, count);
    AudioEngine::stopAll();
    const int uncached = AudioEngine::play2d(_effect);
    AudioEngine::setFinishCallback(uncached, count);
    AudioEngine::uncache(_effect);
    EXPECT_EQ(AudioEngine::getState(uncached), AudioState::ERROR);
    const int ended = AudioEngine::play2d(_effect);
    AudioEngine::setFinishCallback(ended, count);
    AudioEngine::end();
    // With the sound closed nothing plays on: the frames deliver whatever was reported before, and
    // nothing is, for any of them.
    for (int i = 0; i < 30; ++i) {
        frame();
    }
    EXPECT_EQ(calls, 0);
}

TEST_P(AudioEngineContractTest, PreloadCallbackComesLaterOnTheMainThread) {
    const std::string missing = _dir.file("missing.wav");
    std::vector<std::pair<std::string, bool>> results;
    const auto mainThread = std::this_thread::get_id();
    bool onMain = true;
    auto record = [&](const std::string& path) {
        return [&, path](bool ok) {
            onMain = onMain && std::this_thread::get_id() == mainThread;
            results.emplace_back(path, ok);
        };
    };
    LogCapture log;
    AudioEngine::preload(_effect, record(_effect));
    AudioEngine::preload(missing, record(missing));
    AudioEngine::preload(_effect, record(_effect));  // already cached or loading
    EXPECT_TRUE(results.empty()) << "never inside the call";
    ASSERT_TRUE(pumpUntil("the three preload callbacks", [&] { return results.size() == 3; }));
    EXPECT_TRUE(onMain);
    EXPECT_EQ(results[0], std::make_pair(_effect, true));
    EXPECT_EQ(results[1], std::make_pair(missing, false));
    EXPECT_EQ(results[2], std::make_pair(_effect, true));
    EXPECT_EQ(log.countContaining(missing), 1);
    EXPECT_NE(AudioEngine::play2d(_effect), AudioEngine::INVALID_AUDIO_ID);
}

INSTANTIATE_TEST_SUITE_P(Backends, AudioEngineContractTest,
                         ::testing::Values(Backend::Mixer, Backend::Silent),
                         [](const ::testing::TestParamInfo<Backend>& param) {
                             return param.param == Backend::Mixer ? std::string("DummyDriver")
                                                                  : std::string("Silent");
                         });

}  // namespace
