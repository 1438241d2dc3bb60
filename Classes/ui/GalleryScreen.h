#pragma once

#include <cstdint>
#include <string>

#include "engine/events/EventKeyboard.h"
#include "engine/math/Vec2.h"
#include "ui/ScreenBase.h"

namespace cocos2d {
class Event;
class Node;
class Ref;
}  // namespace cocos2d
class ChatScreen;
class NodeFromJson;
class PictureFrame;
class PopupScreenBase;
class ScrollViewSnap;
class TutorialScreen;
struct PackCountry;

// The full screen of one country, the current profile's current country: its painted background,
// its pictures as frames in a snapping horizontal list, and a top panel with the museum statistic,
// the cabinet, the options, the map, the collection progress bar and the country's curator.
//
// Each time it enters the stage it rebuilds the list, shows what the last level earned (a coin flies
// from the picture's star to the progress bar), opens the lock of a newly unlocked picture, and then
// runs its chain of notifications: the evidence popup, the curator's hints and tutorials, the progress
// chat after a museum purchase, and at the very end the cabinet's cage. Input stays locked until the
// chain is done. Destroying the screen saves the user data.
class GalleryScreen : public ScreenBase {
public:
    static GalleryScreen* create();
    ~GalleryScreen() override;
    void onEnter() override;
    bool init() override;
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) override;

    void onStatisticsButton(cocos2d::Ref* sender);
    void onCabinetButton(cocos2d::Ref* sender);
    void onOptionsButton(cocos2d::Ref* sender);
    void onMapButton(cocos2d::Ref* sender);
    // The arrows work even while input is locked.
    void onArrowLeft(cocos2d::Ref* sender);
    void onArrowRight(cocos2d::Ref* sender);
    void onPictureTapped(ScrollViewSnap* list, cocos2d::Node* item);
    // The details popup of the picture whose path is name.
    void showPictureDetails(const std::string& name);
    void playPicture(cocos2d::Ref* sender);
    void openCabinet(bool withCage);
    // The modal container of the statistic and options panels; it locks input until it closes.
    PopupScreenBase* showPopup(bool fadeIn);
    // Frees the input, unless one of those panels is open: that one holds it until it closes.
    void unlockInput();

    std::string getBackgroundName() const;
    void addShade(NodeFromJson& loader);
    void setupTopPanel();
    void showAvatar(const std::string& name);
    void showMarker(const std::string& name, bool visible);

    // The picture list and what follows it.
    void buildPictureList();
    void scrollListTo(float offset, float duration);
    // Remembers the list's position in the country's record (memory only).
    void saveListPosition();
    void playEarningsEffect(PictureFrame* frame, float delay);
    void flyCoin(const cocos2d::Vec2& position, const std::string& element, float duration);
    void updateProgressBar(bool animate);
    bool showPendingEvidence();
    void showEvidenceAdding(const std::string& name);
    void onEvidenceAdded();
    bool checkCurator();
    bool showCuratorChat(int number);
    // The tutorial shown now, or null when it was shown before (or could not be made); each shows
    // once per profile, and showing one saves.
    TutorialScreen* showGalleryTutorial(int number);
    // The chat shown, or null when the country has no message for the progress index.
    ChatScreen* showProgressChat();
    void onProgressChatClosed();
    // The museum statistic's outcome: 1 a picture unlocked, 2 paid but nothing unlocked, else nothing.
    void onMuseumResult(int result);

    // The whole game is done (every evidence found, every country completed) and the closing slideshow
    // has not started yet. Derived from the profile, so a player who quit anywhere on the way to it
    // (during the last evidence popup or the last curator chat) still gets it on a later visit.
    static bool isEndingDue();
    // Opens the cabinet with the cage when the ending is due; true when it did.
    bool leadIntoEndingIfDue();

    // The background element of a country key; "" for a country outside the table.
    static std::string backgroundNameOf(const std::string& country);

    cocos2d::Node* getUiRoot() const { return _uiRoot; }
    ScrollViewSnap* getPictureList() const { return _pictureList; }
    bool isInputLocked() const { return _inputLocked; }
    bool isGoalReached() const { return _goalReached; }
    const cocos2d::Vec2& getStatisticsButtonPosition() const { return _statisticsButtonPosition; }

protected:
    GalleryScreen() = default;

private:
    // The list is done: the evidence popup or a curator chat, else the input is free.
    void finishListChain();
    // A chat that comes up with a tutorial which lets its tap through to a top-panel button says the
    // same as the tutorial: the click on that button closes the chat and presses the button, and
    // neither of them dims the button or the chat.
    void speakWithTutorial(ChatScreen* chat, TutorialScreen* tutorial);
    // The top-panel button under a point of the screen, or null.
    cocos2d::Node* topPanelButtonAt(const cocos2d::Vec2& worldPoint) const;

    cocos2d::Node* _uiRoot = nullptr;
    ScrollViewSnap* _pictureList = nullptr;
    const PackCountry* _packCountry = nullptr;
    bool _goalReached = false;
    bool _inputLocked = true;
    cocos2d::Vec2 _statisticsButtonPosition;
    int32_t _scrollSoundId = -1;
    // The container that showPopup made, while it is open.
    PopupScreenBase* _openPanel = nullptr;
};
