#pragma once

#include <functional>

#include "engine/ui/CheckBox.h"
#include "ui/FactoryNode.h"

namespace cocos2d {
class Node;
class ProgressTimer;
class Ref;
}  // namespace cocos2d

// The options panel ("OptionsScreen" of "ui/OptionsScreen"), placed by its owner inside a bare
// PopupScreenBase: music and sound volume, full screen and the custom cursor of the current profile,
// and the ways to the profile chooser, the credits and the exit. Every change takes effect at once
// and stays in the profile in memory until the next save point.
class OptionsScreen : public FactoryNode {
public:
    static OptionsScreen* create();
    ~OptionsScreen() override;

    void initWithJson(const rapidjson::Value& element) override;

    // The level's layout: no profile chooser, credits and exit moved towards each other.
    void setInGameLayout();
    // Replaces what "exit" does (the level passes its own leave-level confirmation).
    void setExitCallback(const std::function<void(cocos2d::Ref*)>& callback);

    // The bars and boxes from the current profile.
    void refresh();

    void onMusicPlus();
    void onMusicMinus();
    void onSoundPlus();
    void onSoundMinus();
    void onFullscreenChanged(cocos2d::Ref* sender, cocos2d::ui::CheckBox::EventType eventType);
    void onCustomCursorChanged(cocos2d::Ref* sender, cocos2d::ui::CheckBox::EventType eventType);
    void showChooseUser();
    void onChooserClosed(cocos2d::Node* chooser, bool flag);
    void openCredits();
    void onExitButton();

    float getVolumeStep() const { return _volumeStep; }
    cocos2d::ProgressTimer* getMusicFiller() const { return _musicFiller; }
    cocos2d::ProgressTimer* getSoundFiller() const { return _soundFiller; }
    cocos2d::ui::CheckBox* getFullscreenCheckBox() const { return _fullscreenCheckBox; }
    cocos2d::ui::CheckBox* getCustomCursorCheckBox() const { return _customCursorCheckBox; }

private:
    OptionsScreen();
    void playAppear();
    // One press: the volume moved by the step and clamped to [0, 1].
    float stepped(float volume, float direction) const;

    float _volumeStep;
    cocos2d::ProgressTimer* _musicFiller = nullptr;
    cocos2d::ProgressTimer* _soundFiller = nullptr;
    cocos2d::ui::CheckBox* _fullscreenCheckBox = nullptr;
    cocos2d::ui::CheckBox* _customCursorCheckBox = nullptr;
};
