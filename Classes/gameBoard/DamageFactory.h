#pragma once

#include "engine/math/Vec2.h"

class EraseableGameObject;
class GameBoard;

// The damage a stroke that restores nothing leaves on the picture: each factory adds one object to
// the board's level at `position` (level-node space), tagged with `id`, and gives it back. They make
// nothing in the intro level, for a variant outside 1 to 3, for a frame missing from the sheets, or
// when the object would lie off the picture; the result is then null.
using DamageFactory = EraseableGameObject* (*)(GameBoard* board, const cocos2d::Vec2& position, int variant,
                                               int id, bool animate);

// A brush's miss: a blot the knife cuts away.
EraseableGameObject* createBlot(GameBoard* board, const cocos2d::Vec2& position, int variant, int id,
                                bool animate);
// An eraser's miss: a scrape the brush paints over.
EraseableGameObject* createScrape(GameBoard* board, const cocos2d::Vec2& position, int variant, int id,
                                  bool animate);
// A knife's miss: a cut the needle sews.
EraseableGameObject* createCut(GameBoard* board, const cocos2d::Vec2& position, int variant, int id,
                               bool animate);
