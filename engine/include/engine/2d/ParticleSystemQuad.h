#pragma once

#include <string>
#include <vector>

#include "engine/2d/ParticleSystem.h"
#include "engine/renderer/Vertex.h"

namespace cocos2d {

// A particle system drawn as textured quads, one per particle, all in one draw call.
class ParticleSystemQuad : public ParticleSystem {
public:
    // From a particle file (engine/docs/particle-format.md); the texture is relative to the file's
    // folder and goes through the TextureCache. A missing or malformed file, or a missing texture,
    // gives null and one log line naming the file.
    static ParticleSystemQuad* create(const std::string& plistFile);
    // (ours) From settings and a texture, for code that builds an effect itself.
    static ParticleSystemQuad* createWithSettings(const Settings& settings, Texture2D* texture);

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    ParticleSystemQuad() = default;

    std::vector<V2F_C4B_T2F> _vertices;
    std::vector<uint16_t> _indices;
};

}  // namespace cocos2d
