#include "engine/renderer/Renderer.h"

#include <algorithm>

#include "engine/base/Log.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramState.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Texture2D.h"
#include "renderer/CoverGrid.h"
#include "renderer/FillGeometry.h"
#include "renderer/FillShortcuts.h"
#include "renderer/RenderBackend.h"
#include "renderer/TexelMap.h"
#include "renderer/TextureTexels.h"

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
    bool defaultProgram = false;
    // Its vertices land where they were queued: the engine's own vertex stage draws it. A vertex stage
    // of the game's may put them anywhere in the viewport.
    bool landsAsQueued = true;
    // Default program and every vertex alpha 255: opaque wherever its texels are.
    bool fullAlpha = false;
    // Nothing of it shows on the screen: left out.
    bool hidden = false;
    // When not empty, only these pixels of it show: it is drawn once inside each.
    std::vector<fill::PixelBox> pieces;
    std::function<void()> custom;

    // The pixels it can change: those its geometry reaches, or the whole viewport for a vertex stage of
    // the game's; inside its clip.
    fill::PixelBox reach(const RenderTarget& target, const std::vector<V2F_C4B_T2F>& vertices) const {
        fill::PixelBox box = landsAsQueued ? fill::reachOf(target, vertices.data() + firstVertex, vertexCount)
                                           : fill::viewportBox(target);
        return state.clipEnabled ? box.intersection(fill::scissorBox(target, state.clip)) : box;
    }
};

struct Renderer::TargetQueue {
    RenderTarget target;
    // The frame's screen: draws that change no pixel are dropped and draws that replace their pixels
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
    command.defaultProgram = programState == nullptr;
    const GLProgram* program = programState ? programState->getGLProgram() : nullptr;
    command.landsAsQueued = program == nullptr || program->hasBuiltInVertexStage();
    command.fullAlpha = source == fill::Source::Opaque ||
                        fill::classify(vertices, vertexCount, true, command.defaultProgram) == fill::Source::Opaque;
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

namespace {

// A draw that shows in part is drawn as at most this many pieces, each a draw call of its own, and a
// hidden rectangle is cut out of it only when it saves more than the fill of that many pixels per piece
// it adds (about what a draw call costs a software renderer).
constexpr size_t kMaxPieces = 12;
constexpr long long kPixelsPerDraw = 8192;
// Draws smaller than this are drawn whole.
constexpr long long kSmallestCut = 128 * 128;
// Draws that replace fewer pixels than this are not worth testing what they hide.
constexpr long long kSmallestCover = 64 * 64;

// A quad of a sheet opaque in parts covers the cells whose every sample takes opaque texels only. The
// mapping runs along the axes, so each column of cells samples one span of texels, and each row one.
void coverOpaqueTexels(fill::CoverGrid& grid, const fill::PixelBox& cover, const fill::QuadMapping& mapping,
                       const fill::TexelMap& texels) {
    int cx0 = 0;
    int cy0 = 0;
    int cx1 = 0;
    int cy1 = 0;
    grid.cellsInside(cover, &cx0, &cy0, &cx1, &cy1);
    if (cx1 <= cx0 || cy1 <= cy0) {
        return;
    }
    struct Span {
        bool ok = false;
        bool alongX = true;
        int first = 0;
        int end = 0;
    };
    const auto spanOf = [&](const fill::PixelBox& cell, bool pixelX) {
        Span span;
        double lo = 0.0;
        double hi = 0.0;
        mapping.texelSpan(pixelX ? cell.x0 : cell.y0, pixelX ? cell.x1 : cell.y1, pixelX, texels.width(),
                          texels.height(), &lo, &hi, &span.alongX);
        span.ok = texels.blocksAlong(lo, hi, span.alongX, &span.first, &span.end);
        return span;
    };
    std::vector<Span> columns(static_cast<size_t>(cx1 - cx0));
    for (int cx = cx0; cx < cx1; ++cx) {
        columns[static_cast<size_t>(cx - cx0)] = spanOf(grid.cellPixels(cx, cy0), true);
    }
    for (int cy = cy0; cy < cy1; ++cy) {
        const Span row = spanOf(grid.cellPixels(cx0, cy), false);
        if (!row.ok) {
            continue;
        }
        for (int cx = cx0; cx < cx1; ++cx) {
            const Span& column = columns[static_cast<size_t>(cx - cx0)];
            if (!column.ok) {
                continue;
            }
            const Span& x = column.alongX ? column : row;
            const Span& y = column.alongX ? row : column;
            if (texels.opaqueBlocks(x.first, y.first, x.end, y.end)) {
                grid.coverCell(cx, cy);
            }
        }
    }
}

bool sameBatch(const BatchState& a, const BatchState& b) {
    return a.texture == b.texture && a.textureKey == b.textureKey && a.blend == b.blend &&
           a.programState == b.programState && a.clipEnabled == b.clipEnabled && (!a.clipEnabled || a.clip == b.clip);
}

}  // namespace

long long Renderer::fillOf(const RenderTarget& target, const Command& command,
                           const std::vector<V2F_C4B_T2F>& vertices) {
    long long area = 0;
    if (!command.pieces.empty()) {
        for (const fill::PixelBox& piece : command.pieces) {
            area += piece.area();
        }
        return area;
    }
    return command.reach(target, vertices).area();
}

void Renderer::cullUnseen(const RenderTarget& target, std::vector<Command>& commands,
                          const std::vector<V2F_C4B_T2F>& vertices, const std::vector<uint32_t>& indices,
                          bool* clearShows) {
    const size_t n = commands.size();
    // The pixels each draw can change, and whether that is less than its geometry and clip reach.
    std::vector<fill::PixelBox> reach(n);
    std::vector<bool> narrowed(n, false);
    for (size_t i = 0; i < n; ++i) {
        Command& c = commands[i];
        if (c.custom) {
            continue;
        }
        reach[i] = c.reach(target, vertices);
        if (!c.landsAsQueued) {
            continue;  // never left out nor cut: where it lands is not known
        }
        const V2F_C4B_T2F* v = vertices.data() + c.firstVertex;
        const uint32_t* idx = indices.data() + c.firstIndex;
        // Where its texture is transparent black it adds nothing, with a blend that keeps what is under a
        // source of 0.
        const auto* texture = static_cast<const Texture2D*>(c.state.textureKey);
        if (texture && c.defaultProgram && fill::leavesTargetUnchanged(c.state.blend, fill::Source::Clear)) {
            const Rect& shown = texture->getShownTexels();
            const bool wholeShown = shown.origin.x <= 0.0f && shown.origin.y <= 0.0f &&
                                    shown.size.width >= texture->getPixelsWide() &&
                                    shown.size.height >= texture->getPixelsHigh();
            // The wrap modes as they are now: they may have changed since the texels were learnt.
            const Texture2D::TexParams& params = texture->getTexParameters();
            fill::PixelBox texels;
            if (!wholeShown &&
                fill::reachOfTexels(target, v, c.vertexCount, idx, c.indexCount, shown, texture->getPixelsWide(),
                                    texture->getPixelsHigh(), fill::clampsToEdge(params.wrapS),
                                    fill::clampsToEdge(params.wrapT), &texels)) {
                const fill::PixelBox narrower = reach[i].intersection(texels);
                narrowed[i] = !(narrower == reach[i]);
                reach[i] = narrower;
            }
        }
        c.hidden = reach[i].empty();
    }

    // A draw may be cut into pieces where it forms a draw call of its own anyway, so batches stay as they
    // were (a neighbour left out later only leaves it more alone).
    std::vector<bool> alone(n, false);
    for (size_t i = 0; i < n; ++i) {
        const Command& c = commands[i];
        alone[i] = !c.custom && (i == 0 || commands[i - 1].custom || !sameBatch(commands[i - 1].state, c.state)) &&
                   (i + 1 == n || commands[i + 1].custom || !sameBatch(c.state, commands[i + 1].state));
    }

    // From the last draw back: what later draws replace hides what is under it. A custom command may read
    // or blend with the pixels, so nothing is hidden across one.
    fill::CoverGrid grid(fill::framebufferBox(target));
    bool sawCustom = false;
    std::vector<fill::PixelBox> pieces;
    std::vector<fill::PixelBox> cut;
    for (size_t k = n; k-- > 0;) {
        Command& c = commands[k];
        if (c.custom) {
            grid.clear();
            sawCustom = true;
            continue;
        }
        if (c.hidden || !c.landsAsQueued) {
            continue;
        }
        if (grid.covers(reach[k])) {
            c.hidden = true;
            continue;
        }
        if (alone[k] && reach[k].area() >= kSmallestCut) {
            // Cut out the largest hidden rectangle while it is worth its pieces.
            pieces.assign(1, reach[k]);
            while (pieces.size() + 3 <= kMaxPieces) {
                size_t where = 0;
                fill::PixelBox hole;
                for (size_t p = 0; p < pieces.size(); ++p) {
                    const fill::PixelBox h = grid.largestCovered(pieces[p]);
                    if (h.area() > hole.area()) {
                        hole = h;
                        where = p;
                    }
                }
                cut.clear();
                if (!hole.empty()) {
                    fill::subtract(pieces[where], hole, cut);
                }
                if (hole.empty() || hole.area() < kPixelsPerDraw * static_cast<long long>(cut.size())) {
                    break;
                }
                pieces.erase(pieces.begin() + static_cast<long>(where));
                pieces.insert(pieces.end(), cut.begin(), cut.end());
            }
            if (narrowed[k] || pieces.size() > 1) {
                c.pieces = pieces;
                _currentFrame.trimmed += 1;
            }
        }
        if (c.defaultProgram && c.fullAlpha && (c.replaces || fill::replacesTarget(c.state.blend, fill::Source::Opaque))) {
            const V2F_C4B_T2F* v = vertices.data() + c.firstVertex;
            const uint32_t* idx = indices.data() + c.firstIndex;
            fill::PixelBox cover = fill::coverOf(target, v, c.vertexCount, idx, c.indexCount);
            if (c.state.clipEnabled) {
                cover = cover.intersection(fill::scissorBox(target, c.state.clip));
            }
            const auto* texture = static_cast<const Texture2D*>(c.state.textureKey);
            const fill::TexelMap* texels = texture ? texture->_texels.get() : nullptr;
            fill::QuadMapping mapping;
            if (cover.area() < kSmallestCover) {
                // not worth the test
            } else if (c.replaces) {
                grid.cover(cover);
            } else if (texels && fill::mapQuad(target, v, c.vertexCount, idx, c.indexCount, &mapping) &&
                       mapping.insideUnitSquare() && mapping.alongAxes()) {
                coverOpaqueTexels(grid, cover, mapping, *texels);
            }
        }
    }
    for (const Command& c : commands) {
        _currentFrame.unseen += c.hidden ? 1 : 0;
    }

    // The clear shows nowhere when draws replace every pixel of the framebuffer.
    if (!sawCustom && grid.covers(fill::framebufferBox(target))) {
        *clearShows = false;
    }
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

    _currentFrame.commands += static_cast<unsigned int>(commands.size());
    std::stable_sort(commands.begin(), commands.end(),
                     [](const Command& a, const Command& b) { return a.globalZ < b.globalZ; });

    const bool shortcuts = queue.screen && _fillShortcuts;
    bool clearShows = true;
    if (shortcuts) {
        cullUnseen(queue.target, commands, sourceVertices, sourceIndices, &clearShows);
    }
    RenderTarget target = queue.target;
    if (target.clearOnBegin && !clearShows) {
        target.clearOnBegin = false;
        _currentFrame.unclearedTargets += 1;
    }
    RenderBackend* backend = RenderBackend::current();
    if (backend) {
        backend->beginTarget(target);
    }
    queue.target.clearOnBegin = false;

    std::vector<V2F_C4B_T2F> vertices;
    std::vector<uint32_t> indices;
    BatchState batchState;
    bool open = false;
    // Every command of the open batch replaces its pixels: blending would change nothing.
    bool batchReplaces = false;
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
    auto append = [&](const Command& command) {
        const uint32_t base = static_cast<uint32_t>(vertices.size());
        vertices.insert(vertices.end(), sourceVertices.begin() + command.firstVertex,
                        sourceVertices.begin() + command.firstVertex + command.vertexCount);
        for (uint32_t i = 0; i < command.indexCount; ++i) {
            indices.push_back(base + sourceIndices[command.firstIndex + i]);
        }
    };

    for (Command& command : commands) {
        if (command.custom) {
            submit();
            command.custom();
            continue;
        }
        if (command.hidden) {
            continue;
        }
        if (queue.screen) {
            _currentFrame.fillPixels += static_cast<unsigned long long>(fillOf(queue.target, command, sourceVertices));
        }
        if (!command.pieces.empty()) {
            submit();
            for (const fill::PixelBox& piece : command.pieces) {
                batchState = command.state;
                batchState.scissorEnabled = true;
                batchState.scissor = piece;
                batchReplaces = command.replaces;
                open = true;
                append(command);
                submit();
            }
            continue;
        }
        if (open && !sameBatch(batchState, command.state)) {
            submit();
        }
        if (!open) {
            batchState = command.state;
            batchState.scissorEnabled = command.state.clipEnabled;
            if (batchState.scissorEnabled) {
                batchState.scissor = fill::scissorBox(queue.target, command.state.clip);
            }
            open = true;
            batchReplaces = true;
        }
        batchReplaces = batchReplaces && command.replaces;
        append(command);
    }
    submit();
}

}  // namespace cocos2d
