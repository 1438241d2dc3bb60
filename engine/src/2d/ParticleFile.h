#pragma once

#include <string>

#include "engine/2d/ParticleSystem.h"

namespace cocos2d {
namespace particlefile {

// Reads a particle file's text (an XML property list) into settings and the texture's file name as the
// file gives it. False with `error` saying what is wrong (the key, for a bad value) on malformed
// input; values out of their sane range count as malformed.
bool read(const std::string& xml, ParticleSystem::Settings& settings, std::string& texture,
          std::string& error);

}  // namespace particlefile
}  // namespace cocos2d
