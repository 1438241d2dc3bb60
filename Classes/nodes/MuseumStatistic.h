#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/FactoryNode.h"

namespace cocos2d {
class Ref;
}  // namespace cocos2d

// The panel behind the gallery's museum button: the player's work on the current country's pictures,
// the price of the country's collection against the player's money, and, when the money covers it,
// the purchase that completes the country and opens what follows. It sits in a bare popup container
// and reports its outcome to the owner when it closes.
class MuseumStatistic : public FactoryNode {
public:
    // Outcomes reported to the callback.
    static constexpr int32_t kNothingPaid = 0;
    static constexpr int32_t kPaidAndUnlocked = 1;
    static constexpr int32_t kPaidNothingUnlocked = 2;

    static MuseumStatistic* create();
    ~MuseumStatistic() override;

    void initWithJson(const rapidjson::Value& element) override;

    void setCallback(std::function<void(int)> callback) { _callback = std::move(callback); }
    void fillStatistics();
    void onPay(cocos2d::Ref* sender);
    void onClose();

    // Completes the current country and unlocks the picture after its last one in the unlock order;
    // true when a picture was unlocked, else the curators' progress message moves on.
    static bool completeCollection();

    // "m:ss" of a play time in seconds, as the first line shows it.
    static std::string formatTime(float seconds);

    int32_t getPrice() const { return _price; }
    int32_t getResult() const { return _result; }

protected:
    MuseumStatistic() = default;

private:
    void closeContainer();

    int32_t _price = 0;
    int32_t _result = kNothingPaid;
    std::function<void(int)> _callback;
};
