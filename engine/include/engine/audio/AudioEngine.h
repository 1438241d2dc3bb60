#pragma once

#include <functional>
#include <string>

namespace cocos2d {
namespace experimental {

enum class AudioState { ERROR = -1, INITIALIZING = 0, PLAYING = 1, PAUSED = 2 };

// Plays music and effects. Every call is made on the main thread. File names are looked up along
// FileUtils' search paths. An id names one playback of a file: ids count up from 1 and are never
// handed out twice, so a stale id held by a caller never reaches a newer sound. A call with an
// unknown, finished or invalid id does nothing.
class AudioEngine {
public:
    using AudioState = experimental::AudioState;

    static constexpr int INVALID_AUDIO_ID = -1;
    static constexpr float TIME_UNKNOWN = -1.0f;

    // Only records the wish for sound; safe before main. The device opens on the first call that
    // needs it (play2d, preload).
    static bool lazyInit();

    // Stops every sound without finish callbacks, frees the cache and closes the device. The
    // director's teardown calls it. A later play2d or preload opens it again.
    static void end();

    // INVALID_AUDIO_ID, with one log line naming the file, when the file is missing or cannot be
    // decoded, or when no channel is free. Volume is clamped to 0..1.
    static int play2d(const std::string& filePath, bool loop = false, float volume = 1.0f);

    // Stopping never runs the finish callback.
    static void stop(int audioId);
    static void stopAll();
    // Pausing keeps the position; resume continues from it.
    static void pause(int audioId);
    static void pauseAll();
    static void resume(int audioId);
    static void resumeAll();

    static void setVolume(int audioId, float volume);
    static float getVolume(int audioId);
    static void setLoop(int audioId, bool loop);
    static bool isLoop(int audioId);

    // Seconds, known as soon as play2d returns; TIME_UNKNOWN when the file's length cannot be told.
    static float getDuration(int audioId);
    static float getCurrentTime(int audioId);
    static AudioState getState(int audioId);

    // Runs once, on the main thread (from the director's frame, also while paused), when a sound
    // without loop ends by itself; never on stop, stopAll, uncache or end. The id is already
    // finished when it runs.
    static void setFinishCallback(int audioId, const std::function<void(int, const std::string&)>& callback);

    // Decodes the file into the cache on a worker thread. The callback always comes later, from the
    // director's frame, with false when the file cannot be played. A play2d of a file still loading
    // waits for it.
    static void preload(const std::string& filePath);
    static void preload(const std::string& filePath, std::function<void(bool isSuccess)> callback);
    // Stops that file's sounds (no finish callbacks) and frees it.
    static void uncache(const std::string& filePath);
    static void uncacheAll();

    // Opens the backend that plays nothing, as when no audio device can be opened at all: ids stay
    // valid, no file is decoded, durations are TIME_UNKNOWN and no finish callback runs. end()
    // closes it.
    static void openSilent();

    // The highest absolute sample value (0..1) the device has mixed since the previous call, 0 with
    // the silent backend. Lets a test hear what the mixer really produced.
    static float takeOutputPeak();
};

}  // namespace experimental
}  // namespace cocos2d
