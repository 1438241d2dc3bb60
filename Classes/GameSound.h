#pragma once

#include <string>
#include <vector>

namespace cocos2d {
class Node;
}

// The game's one audio service over the engine's AudioEngine: effects by name, music from a playlist
// with fades, the two volumes, preloading. Names carry no folder or extension ("Music/theme_1" is
// "audio/Music/theme_1.mp3"). The music's fades and its track-end timer run as actions on the
// director's notification node, which outlives every scene: without it no music starts.
class GameSound {
public:
    // Tag of the music's track-end timer (and of the short wait before it is set).
    static constexpr int kTrackEndTag = 11;
    static constexpr float kMusicFadeSeconds = 0.7f;
    static constexpr float kMusicStartVolume = 0.01f;
    static constexpr float kTrackEndSetDelay = 0.1f;

    static GameSound& getInstance();
    // Tests start clean: the next getInstance builds a fresh service.
    static void destroyInstance();

    GameSound();
    virtual ~GameSound();

    // At the effect volume; the engine's id, or the invalid id when the file cannot be played.
    int playEffect(const std::string& name, bool loop);
    // Stops at once: the fade flag neither delays nor softens the stop.
    void stopEffect(int audioId, bool fade);
    void setVolume(int audioId, float volume);
    void pauseSound(int audioId);
    void preloadEffect(const std::string& name);
    void preloadMusic(const std::string& name);
    void uncacheEffect(const std::string& name);
    // While the window is away: pauses the effects that are playing (a looping tool sound whose fade
    // froze with the director would play on), and resumes exactly those.
    void pauseEffects();
    void resumeEffects();

    // Starts a track almost silent and fades it in to the music volume; the next playlist track
    // follows its end.
    void playMusic(const std::string& name, bool loop);
    // A name already in the playlist is not added again.
    void addToPlaylist(const std::string& name);
    // Plays the back of the playlist when no track plays; from then on the playlist advances.
    void startPlaylist();
    // Fades the current track out (if any) and plays the next name of the playlist.
    void nextTrack();
    void pauseMusic();
    void resumeMusic();

    // Applied to the current track at once.
    void setMusicVolume(float volume);
    // Effects already playing keep their volume.
    void setSoundVolume(float volume);
    float getMusicVolume() const { return _musicVolume; }
    float getSoundVolume() const { return _soundVolume; }
    static int getInvalidAudioId();

    int getMusicId() const { return _musicId; }
    bool isPlaylistActive() const { return _playlistActive; }
    // The back is the track to play next.
    const std::vector<std::string>& getPlaylist() const { return _playlist; }
    // "audio/<name>.mp3".
    std::string pathFor(const std::string& name) const;

    // The engine's report that a track ended by itself.
    void onMusicEndCallback(int audioId, const std::string& filePath);
    // Sets the track-end timer from the current track's duration.
    void scheduleTrackEnd();

private:
    // Where the music's actions run: the director's notification node, or null before it exists.
    static cocos2d::Node* actionNode();
    void rotatePlaylist();
    void finishFadeOut(int fadedId);
    void forgetFinishedEffects();

    std::string _audioFolder = "audio";
    std::string _audioExtension = "mp3";
    float _musicVolume = 0.0f;
    float _soundVolume = 0.0f;
    int _musicId;
    bool _playlistActive = false;
    std::vector<std::string> _playlist;
    // Effects started and not yet known to have ended; those paused by pauseEffects.
    std::vector<int> _effectIds;
    std::vector<int> _pausedEffectIds;
};
