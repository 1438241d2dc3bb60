#pragma once

#include <string>

#include "engine/base/Types.h"
#include "engine/math/Vec2.h"

// Small helpers for tests that draw coloured images and look at the pixels of the last frame.
namespace testing {

// A w x h PNG of one straight RGBA colour in the scratch folder; returns its path.
std::string solidPng(const std::string& name, int w, int h, const cocos2d::Color4B& colour);

// The mean colour of a small square of the last frame around a design point (y up, 1280 x 810 design).
cocos2d::Color4B colourAt(const cocos2d::Vec2& design, int half = 2);

// Each channel within 3 of the expected value.
void expectColour(const cocos2d::Color4B& actual, int r, int g, int b, const std::string& what = "");

}  // namespace testing
