#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/base/GLTypes.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Types.h"
#include "engine/math/Rect.h"
#include "engine/renderer/RenderTarget.h"
#include "engine/renderer/Vertex.h"

namespace cocos2d {

class GLProgramState;
class Image;
class Texture2D;

// Visiting queues commands; the renderer sorts them per target stably by global z, joins adjacent
// commands with equal texture, blend, program state and clip into one draw call, and draws them.
// Vertices arrive in world coordinates. Without a GL context (unit tests) the same sorting and
// batching run and are counted, but nothing is drawn.
//
// Every flush re-binds the target framebuffer and re-applies viewport, blend, program and scissor:
// the game issues GL calls of its own in between, so no GL state is trusted across flushes.
//
// On the frame's screen the renderer spends no fill on what shows nothing, and the picture is the same
// to the byte: a draw that cannot change a pixel (opacity 0 under a blend that keeps what is under a
// source of 0) is left out; a batch whose every quad is opaque at full opacity under a blend that then
// gives the source itself is drawn without blending; a draw off the screen, or wholly under later draws
// that replace their pixels (opaque quads along the axes, down to the opaque parts of a sheet), is
// left out; a draw that forms a draw call of its own is cut to the pixels where it shows (beside
// those later draws, and inside its texture's texels that are not transparent black, along the axes
// where the texture clamps to its edge); and the clear is left out when draws replace every pixel. A draw with a program of its own hides nothing; over the
// engine's vertex stage it may still be left out or cut where later draws hide it, but with a vertex
// stage of its own (which may put its vertices anywhere) it is drawn exactly as queued, as are custom
// commands (nothing is hidden across one) and render-texture passes.
class Renderer {
public:
    struct FrameStats {
        unsigned int drawCalls = 0;
        unsigned int vertices = 0;
        unsigned int commands = 0;
        // Screen draws left out because they would change no pixel that shows: a node at opacity 0, a
        // draw off the screen, or one wholly under later draws that replace their pixels.
        unsigned int unseen = 0;
        // Draw calls drawn with blending off, where blending would have changed nothing.
        unsigned int unblended = 0;
        // Screen draws drawn only over the part of them that shows.
        unsigned int trimmed = 0;
        // Screen clears left out because draws replace every pixel of the framebuffer.
        unsigned int unclearedTargets = 0;
        // Pixels the screen's draws span, each by the box around it (an estimate of the fill).
        unsigned long long fillPixels = 0;
    };

    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Queues a textured quad. `texture` null means plain white; `programState` null means the default
    // sprite program. Both are kept alive until the flush.
    void addQuad(const V2F_C4B_T2F_Quad& quad, Texture2D* texture, const BlendFunc& blend,
                 GLProgramState* programState, float globalZ);
    // Queues triangles (indices into `vertices`).
    void addTriangles(const V2F_C4B_T2F* vertices, size_t vertexCount, const uint16_t* indices,
                      size_t indexCount, Texture2D* texture, const BlendFunc& blend, GLProgramState* programState,
                      float globalZ);
    // Queues a function that runs at its place in the sorted stream, after the commands before it are
    // drawn (for nodes that issue GL calls of their own).
    void addCustomCommand(float globalZ, std::function<void()> function);

    // A clip rectangle in the current target's world coordinates, intersected with the enclosing one
    // of that target; it travels with every command queued until the matching pop.
    void pushClipRect(const Rect& worldRect);
    void popClipRect();
    bool isClipping() const;

    // Starts a target on top of the current one (a render texture's begin). Commands queued now go to
    // it until endRenderTarget, which draws them at once and returns to the previous target.
    void beginRenderTarget(const RenderTarget& target);
    void endRenderTarget();
    size_t getRenderTargetDepth() const { return _targets.size(); }

    // Draws what is queued for the current target. Outside the frame's draw there is nothing.
    void render();

    // (ours) The director's frame: the screen target begins, the frame ends with a flush.
    void beginFrame(const RenderTarget& screen);
    void endFrame();

    // Counts of the last finished frame (screen plus render textures drawn during it).
    const FrameStats& getLastFrameStats() const { return _lastFrame; }
    // Counts so far in the current frame.
    const FrameStats& getCurrentFrameStats() const { return _currentFrame; }

    // The projection of the current target: world rectangle to clip space.
    Rect getCurrentWorldRect() const;

    // (ours) Reads pixels of a framebuffer (0 is the window's): (x, y) is the bottom-left corner in GL
    // pixel coordinates. The image holds the rows top first, as stored (premultiplied). Null without GL.
    Image* readFramebuffer(GLuint framebuffer, int x, int y, int width, int height) const;

    // Commands queued for the current target (tests and the statistics).
    size_t getQueuedCommandCount() const;

    // (ours) The screen's fill shortcuts above; the picture is the same either way. On by default; tests
    // and benchmarks turn them off to compare.
    void setFillShortcutsEnabled(bool enabled) { _fillShortcuts = enabled; }
    bool areFillShortcutsEnabled() const { return _fillShortcuts; }

private:
    struct Command;
    struct TargetQueue;

    TargetQueue& currentQueue();
    void flush(TargetQueue& queue);
    // Marks the screen's draws that show nothing, cuts those that show in part, and tells whether the
    // screen's clear shows anywhere.
    static long long fillOf(const RenderTarget& target, const Command& command,
                            const std::vector<V2F_C4B_T2F>& vertices);
    void cullUnseen(const RenderTarget& target, std::vector<Command>& commands,
                    const std::vector<V2F_C4B_T2F>& vertices, const std::vector<uint32_t>& indices,
                    bool* clearShows);
    Rect currentClip(bool* enabled) const;

    std::vector<std::unique_ptr<TargetQueue>> _targets;
    FrameStats _currentFrame;
    FrameStats _lastFrame;
    bool _inFrame = false;
    bool _fillShortcuts = true;
};

}  // namespace cocos2d
