#include "engine/renderer/Renderer.h"

#include <algorithm>

#include "engine/base/Log.h"
#include "engine/renderer/GLProgramState.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Texture2D.h"
#include "renderer/FillShortcuts.h"
#include "renderer/RenderBackend.h"

namespace cocos2d {
namespace {

RenderBackend*& backendSlot() {
    static RenderBackend* backend = nullptr;
    return backend;
}

}  // namespace

RenderBackend* RenderBackend::current() {
    return backendSlot();
}

void RenderBackend::setCurrent(RenderBackend* backend) {
    backendSlot() = backend;
}

struct Renderer::Command {
    float globalZ = 0.0f;
    BatchState state;
    uint32_t firstVertex = 0;
    uint32_t vertexCount = 0;
    uint32_t firstIndex = 0;
    uint32_t indexCount = 0;
    // Its pixels are its source whatever was under them (it may be drawn with blending off).
    bool replaces = false;
    std::function<void()> custom;
};

struct Renderer::TargetQueue {
    RenderTarget target;
    // The frame's screen: draws that change no pixel are left out and draws that replace their pixels
    // are drawn without blending. Render-texture passes are drawn exactly as queued.
    bool screen = false;
    std::vector<V2F_C4B_T2F> vertices;
    std::vector<uint32_t> indices;  // relative to the command's first vertex
    std::vector<Command> commands;
    std::vector<RefPtr<GLProgramState>> states;  // kept alive until the flush
    std::vector<RefPtr<Texture2D>> textures;
    // Clips are in this target's world coordinates, so each target has its own stack.
    std::vector<Rect> clipStack;
};

Renderer::Renderer() = default;

Renderer::~Renderer() = default;

Renderer::TargetQueue& Renderer::currentQueue() {
    if (_targets.empty()) {
        // Drawing outside a frame (a visit() with no render texture begun) goes to an unnamed target
        // that is flushed by render().
        _targets.push_back(std::make_unique<TargetQueue>());
    }
    return *_targets.back();
}

Rect Renderer::currentClip(bool* enabled) const {
    const std::vector<Rect>* stack = _targets.empty() ? nullptr : &_targets.back()->clipStack;
    *enabled = stack && !stack->empty();
    return *enabled ? stack->back() : Rect::ZERO;
}

void Renderer::addQuad(const V2F_C4B_T2F_Quad& quad, Texture2D* texture, const BlendFunc& blend,
                       GLProgramState* programState, float globalZ) {
    static const uint16_t kQuadIndices[6] = {0, 1, 2, 1, 3, 2};
    const V2F_C4B_T2F vertices[4] = {quad.bl, quad.br, quad.tl, quad.tr};
    addTriangles(vertices, 4, kQuadIndices, 6, texture, blend, programState, globalZ);
}

void Renderer::addTriangles(const V2F_C4B_T2F* vertices, size_t vertexCount, const uint16_t* indices,
                            size_t indexCount, Texture2D* texture, const BlendFunc& blend, GLProgramState* programState,
                            float globalZ) {
    if (!vertices || !indices || vertexCount == 0 || indexCount == 0) {
        return;
    }
    TargetQueue& queue = currentQueue();
    const fill::Source source = fill::classify(vertices, vertexCount, !texture || texture->isOpaque(),
                                               programState == nullptr);
    if (queue.screen && _fillShortcuts && fill::leavesTargetUnchanged(blend, source)) {
        // A node at opacity 0 (or one whose blend keeps what is under it): its draw shows nothing.
        _currentFrame.unseen += 1;
        return;
    }
    Command command;
    command.globalZ = globalZ;
    command.replaces = fill::replacesTarget(blend, source);
    command.state.texture = texture ? texture->getName() : 0;
    command.state.textureKey = texture;
    command.state.blend = blend;
    command.state.programState = programState;
    command.state.clip = currentClip(&command.state.clipEnabled);
    command.firstVertex = static_cast<uint32_t>(queue.vertices.size());
    command.vertexCount = static_cast<uint32_t>(vertexCount);
    command.firstIndex = static_cast<uint32_t>(queue.indices.size());
    command.indexCount = static_cast<uint32_t>(indexCount);
    queue.vertices.insert(queue.vertices.end(), vertices, vertices + vertexCount);
    for (size_t i = 0; i < indexCount; ++i) {
        // An index past the vertices would read out of bounds in the draw; clamp it to the last vertex.
        queue.indices.push_back(std::min<uint32_t>(indices[i], static_cast<uint32_t>(vertexCount - 1)));
    }
    if (programState && (queue.states.empty() || queue.states.back().get() != programState)) {
        queue.states.emplace_back(programState);
    }
    if (texture && (queue.textures.empty() || queue.textures.back().get() != texture)) {
        queue.textures.emplace_back(texture);
    }
    queue.commands.push_back(std::move(command));
}

void Renderer::addCustomCommand(float globalZ, std::function<void()> function) {
    if (!function) {
        return;
    }
    Command command;
    command.globalZ = globalZ;
    command.custom = std::move(function);
    currentQueue().commands.push_back(std::move(command));
}

void Renderer::pushClipRect(const Rect& worldRect) {
    std::vector<Rect>& stack = currentQueue().clipStack;
    stack.push_back(stack.empty() ? worldRect : stack.back().intersection(worldRect));
}

void Renderer::popClipRect() {
    if (!_targets.empty() && !_targets.back()->clipStack.empty()) {
        _targets.back()->clipStack.pop_back();
    }
}

bool Renderer::isClipping() const {
    return !_targets.empty() && !_targets.back()->clipStack.empty();
}

void Renderer::beginRenderTarget(const RenderTarget& target) {
    auto queue = std::make_unique<TargetQueue>();
    queue->target = target;
    _targets.push_back(std::move(queue));
}

void Renderer::endRenderTarget() {
    if (_targets.empty()) {
        return;
    }
    std::unique_ptr<TargetQueue> queue = std::move(_targets.back());
    _targets.pop_back();
    flush(*queue);
}

void Renderer::render() {
    if (_targets.empty()) {
        return;
    }
    flush(*_targets.back());
}

void Renderer::beginFrame(const RenderTarget& screen) {
    _inFrame = true;
    _currentFrame = FrameStats{};
    _targets.clear();
    beginRenderTarget(screen);
    _targets.back()->screen = true;
}

void Renderer::endFrame() {
    while (!_targets.empty()) {
        endRenderTarget();
    }
    if (RenderBackend* backend = RenderBackend::current()) {
        backend->endFrame();
    }
    _lastFrame = _currentFrame;
    _currentFrame = FrameStats{};
    _inFrame = false;
}

Rect Renderer::getCurrentWorldRect() const {
    return _targets.empty() ? Rect::ZERO : _targets.back()->target.world;
}

Image* Renderer::readFramebuffer(GLuint framebuffer, int x, int y, int width, int height) const {
    RenderBackend* backend = RenderBackend::current();
    if (!backend || width <= 0 || height <= 0) {
        return nullptr;
    }
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    if (!backend->readPixels(framebuffer, x, y, width, height, pixels.data())) {
        return nullptr;
    }
    Image* image = Image::create();
    if (!image || !image->initWithRawData(pixels.data(), pixels.size(), width, height, true)) {
        return nullptr;
    }
    image->flipVertically();
    return image;
}

size_t Renderer::getQueuedCommandCount() const {
    return _targets.empty() ? 0 : _targets.back()->commands.size();
}

void Renderer::flush(TargetQueue& queue) {
    std::vector<Command> commands;
    commands.swap(queue.commands);
    std::vector<V2F_C4B_T2F> sourceVertices;
    sourceVertices.swap(queue.vertices);
    std::vector<uint32_t> sourceIndices;
    sourceIndices.swap(queue.indices);
    std::vector<RefPtr<GLProgramState>> states;
    states.swap(queue.states);
    std::vector<RefPtr<Texture2D>> textures;
    textures.swap(queue.textures);

    RenderBackend* backend = RenderBackend::current();
    if (backend) {
        backend->beginTarget(queue.target);
    }
    queue.target.clearOnBegin = false;
    _currentFrame.commands += static_cast<unsigned int>(commands.size());

    std::stable_sort(commands.begin(), commands.end(),
                     [](const Command& a, const Command& b) { return a.globalZ < b.globalZ; });

    std::vector<V2F_C4B_T2F> vertices;
    std::vector<uint32_t> indices;
    BatchState batchState;
    bool open = false;
    // Every command of the open batch replaces its pixels: blending would change nothing.
    bool batchReplaces = false;
    const bool shortcuts = queue.screen && _fillShortcuts;
    auto submit = [&]() {
        if (!open || indices.empty()) {
            open = false;
            return;
        }
        batchState.blending = !(shortcuts && batchReplaces);
        if (!batchState.blending) {
            _currentFrame.unblended += 1;
        }
        if (backend) {
            backend->drawBatch(queue.target, batchState, vertices.data(), vertices.size(), indices.data(),
                               indices.size());
        }
        _currentFrame.drawCalls += 1;
        _currentFrame.vertices += static_cast<unsigned int>(vertices.size());
        vertices.clear();
        indices.clear();
        open = false;
    };
    auto sameBatch = [](const BatchState& a, const BatchState& b) {
        return a.texture == b.texture && a.textureKey == b.textureKey && a.blend == b.blend && a.programState == b.programState &&
               a.clipEnabled == b.clipEnabled && (!a.clipEnabled || a.clip == b.clip);
    };

    for (Command& command : commands) {
        if (command.custom) {
            submit();
            command.custom();
            continue;
        }
        if (open && !sameBatch(batchState, command.state)) {
            submit();
        }
        if (!open) {
            batchState = command.state;
            open = true;
            batchReplaces = true;
        }
        batchReplaces = batchReplaces && command.replaces;
        const uint32_t base = static_cast<uint32_t>(vertices.size());
        vertices.insert(vertices.end(), sourceVertices.begin() + command.firstVertex,
                        sourceVertices.begin() + command.firstVertex + command.vertexCount);
        for (uint32_t i = 0; i < command.indexCount; ++i) {
            indices.push_back(base + sourceIndices[command.firstIndex + i]);
        }
    }
    submit();
}

}  // namespace cocos2d
