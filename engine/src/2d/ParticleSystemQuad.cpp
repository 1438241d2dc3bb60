#include "engine/2d/ParticleSystemQuad.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "2d/ParticleFile.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/TextureCache.h"

namespace cocos2d {
namespace {

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

GLubyte toByte(float v) {
    return static_cast<GLubyte>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

ParticleSystemQuad* ParticleSystemQuad::create(const std::string& plistFile) {
    FileUtils* files = FileUtils::getInstance();
    const std::string fullPath = files->fullPathForFilename(plistFile);
    if (fullPath.empty()) {
        logAt(LogLevel::Warning, "ParticleSystemQuad: particle file [%s] not found", plistFile.c_str());
        return nullptr;
    }
    Settings settings;
    std::string textureName;
    std::string error;
    if (!particlefile::read(files->getStringFromFile(fullPath), settings, textureName, error)) {
        logAt(LogLevel::Warning, "ParticleSystemQuad: particle file [%s] is malformed: %s", plistFile.c_str(),
              error.c_str());
        return nullptr;
    }
    const std::string image = folderOf(plistFile) + textureName;
    Texture2D* texture =
        files->isFileExist(image) ? Director::getInstance()->getTextureCache()->addImage(image) : nullptr;
    if (!texture) {
        logAt(LogLevel::Warning, "ParticleSystemQuad: texture [%s] of particle file [%s] cannot be loaded",
              image.c_str(), plistFile.c_str());
        return nullptr;
    }
    return createWithSettings(settings, texture);
}

ParticleSystemQuad* ParticleSystemQuad::createWithSettings(const Settings& settings, Texture2D* texture) {
    auto* system = new (std::nothrow) ParticleSystemQuad();
    if (system && texture && system->initWithSettings(settings, texture)) {
        system->autorelease();
        return system;
    }
    delete system;
    return nullptr;
}

void ParticleSystemQuad::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    if (_particles.empty() || !_texture) {
        return;
    }
    const Mat4 worldToNode = getWorldToNodeTransform();
    const Mat4 parentToNode = getParentToNodeTransform();
    const float opacity = _displayedOpacity / 255.0f;
    const float tint[3] = {_displayedColor.r / 255.0f, _displayedColor.g / 255.0f,
                           _displayedColor.b / 255.0f};
    _vertices.clear();
    _indices.clear();
    for (const Particle& p : _particles) {
        const float a = std::clamp(p.color.a, 0.0f, 1.0f) * opacity;
        if (a <= 0.0f || p.size <= 0.0f) {
            continue;
        }
        // Premultiplied, like every vertex colour.
        const Color4B colour(toByte(std::clamp(p.color.r, 0.0f, 1.0f) * tint[0] * a),
                             toByte(std::clamp(p.color.g, 0.0f, 1.0f) * tint[1] * a),
                             toByte(std::clamp(p.color.b, 0.0f, 1.0f) * tint[2] * a), toByte(a));
        const Vec2 centre = drawPosition(p, worldToNode, parentToNode);
        const float half = p.size / 2.0f;
        // Spin in degrees, clockwise on screen like a node's rotation.
        const float r = -p.rotation * 3.14159265358979f / 180.0f;
        const float c = std::cos(r);
        const float s = std::sin(r);
        const auto corner = [&](float x, float y, float u, float v) {
            V2F_C4B_T2F vertex;
            vertex.vertices =
                transform.transformPoint(Vec2(centre.x + x * c - y * s, centre.y + x * s + y * c));
            vertex.colors = colour;
            vertex.texCoords = Tex2F{u, v};
            return vertex;
        };
        const auto base = static_cast<uint16_t>(_vertices.size());
        _vertices.push_back(corner(-half, -half, 0, 1));
        _vertices.push_back(corner(half, -half, 1, 1));
        _vertices.push_back(corner(-half, half, 0, 0));
        _vertices.push_back(corner(half, half, 1, 0));
        for (uint16_t i : {0, 1, 2, 1, 3, 2}) {
            _indices.push_back(static_cast<uint16_t>(base + i));
        }
    }
    if (!_indices.empty()) {
        renderer->addTriangles(_vertices.data(), _vertices.size(), _indices.data(), _indices.size(),
                               _texture.get(), _settings.blendFunc, _glProgramState, _globalZOrder);
    }
}

}  // namespace cocos2d
