#include "PictureProgress.h"

#include "CInputStream.h"
#include "COutputStream.h"

namespace {
constexpr uint32_t kDamageRecordBytes = 20;
constexpr uint32_t kInt32Bytes = 4;
constexpr uint32_t kMinNameBytes = 1;
}  // namespace

void PictureProgress::write(const std::shared_ptr<Core::COutputStream>& out) const {
    out->writeByte(finished ? 1 : 0);
    out->writeInt32(earnedTotal);
    out->writeInt32(dropsUsed);
    out->writeInt32(lastGain);
    out->writeInt32(firstStars);
    out->writeInt32(flies);
    out->writeInt32(priceRate);
    out->writeInt32(maxArea);
    out->writeInt32(minArea);
    out->writeInt32(restoredCount);
    out->writeInt32(reservedPair.first);
    out->writeInt32(reservedPair.second);
    out->writeString(path);
    out->writeCount(damage.size());
    for (const DamageRecord& record : damage) {
        out->writeInt32(record.id);
        out->writeInt32(record.x);
        out->writeInt32(record.y);
        out->writeInt32(record.toolId);
        out->writeInt32(record.variant);
    }
    out->writeInt32(mistakes);
    out->writeInt32(earnedPart);
    out->writeCount(reservedRolls.size());
    for (const int32_t roll : reservedRolls) {
        out->writeInt32(roll);
    }
    out->writeFloat(time);
    out->writeCount(restoredHistory.size());
    for (const std::string& item : restoredHistory) {
        out->writeString(item);
    }
    out->writeInt32(bestStars);
    out->writeInt32(state);
}

void PictureProgress::read(const std::shared_ptr<Core::CInputStream>& in) {
    finished = in->readByte() != 0;
    earnedTotal = in->readInt32();
    dropsUsed = in->readInt32();
    lastGain = in->readInt32();
    firstStars = in->readInt32();
    flies = in->readInt32();
    priceRate = in->readInt32();
    maxArea = in->readInt32();
    minArea = in->readInt32();
    restoredCount = in->readInt32();
    reservedPair.first = in->readInt32();
    reservedPair.second = in->readInt32();
    in->readString(path);
    damage.clear();
    const int32_t damageCount = in->readCount(kDamageRecordBytes);
    for (int32_t i = 0; i < damageCount && !in->failed(); ++i) {
        DamageRecord& record = damage.emplace_back();
        record.id = in->readInt32();
        record.x = in->readInt32();
        record.y = in->readInt32();
        record.toolId = in->readInt32();
        record.variant = in->readInt32();
    }
    mistakes = in->readInt32();
    earnedPart = in->readInt32();
    reservedRolls.clear();
    const int32_t rollCount = in->readCount(kInt32Bytes);
    for (int32_t i = 0; i < rollCount && !in->failed(); ++i) {
        reservedRolls.push_back(in->readInt32());
    }
    time = in->readFloat();
    restoredHistory.clear();
    const int32_t historyCount = in->readCount(kMinNameBytes);
    for (int32_t i = 0; i < historyCount && !in->failed(); ++i) {
        std::string item;
        in->readString(item);
        restoredHistory.insert(std::move(item));
    }
    bestStars = in->readInt32();
    state = in->readInt32();
}
