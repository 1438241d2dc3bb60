#pragma once

#include <cstdint>
#include <string>

#include "PackCountry.h"
#include "PackInfo.h"
#include "PackMessage.h"
#include "PackPicture.h"
#include "PictureKey.h"

// Questions on the current player's progress, and the changes that unlock pictures and countries.
// They work on the current profile's content packs (what exists) and its world progress (what the
// player reached). A profile keeps every version of a pack it was given; the queries see each
// country as the newest version that lists it describes it (its pictures, prices, unlock orders and
// messages), and a country only an older version lists as that one does. Searches walk the packs
// from the newest version (by the number its version starts with; of equal ones the later pack),
// their countries and pictures in order, and take the first match; none of them saves.

// Pack lookups: null or -1 when nothing matches.
PackCountry* findPackCountry(const std::string& countryPath);
PackInfo* findPackOfCountry(const std::string& countryPath);
PackPicture* findPackPicture(const PictureKey& key);
int32_t getCountryUnlockOrder(const std::string& countryPath);
int32_t getPictureUnlockOrder(const std::string& picturePath);
// The index-th message of the pack that holds the country; null for a negative index or one past
// the last message.
PackMessage* getProgressMessage(const std::string& countryPath, int32_t index);
// The coins of the country's pictures times 0.99 in single precision, truncated: 100 gives 99.
int32_t getCollectionPrice(const std::string& countryPath);

// The record's state, or -1 when the country has no record.
int32_t getCountryState(const std::string& countryPath);
bool isCountryLocked(const std::string& countryPath);
bool isCountryCompleted(const std::string& countryPath);
// Some country is unlocked and shown on the map but not yet opened.
bool hasNewCountry();
// True when there are no country records.
bool areAllCountriesCompleted();
bool isPictureLocked(const std::string& picturePath);
// Every picture of the country has had its level end at least once.
bool areAllPicturesRestored(const std::string& countryPath);
// No picture that follows this one in the unlock chain lies in an open country: unlocking the next
// picture must wait for a collection purchase.
bool isLastOpenPicture(const std::string& picturePath);
bool hasNewEvidence();
// At least 13 evidence items found.
bool hasAllEvidence();

// Changes records that exist; does nothing for others.
void setCountryState(const std::string& countryPath, int32_t state);
// Opens a locked picture and marks it the last unlocked one; false when it has no record or is open.
bool unlockPicture(const std::string& picturePath);
// Sets the country unlocked, stores its collection price, moves the collection goal and the
// progress message on.
void unlockCountry(const std::string& countryPath);
// Unlocks the picture that follows this one in the chain, and its country when that is locked.
bool unlockNextPicture(const std::string& picturePath);
