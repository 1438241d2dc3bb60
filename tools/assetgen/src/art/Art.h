#pragma once

#include <cairo.h>

#include <map>
#include <string>

#include "core/Color.h"
#include "core/Recipe.h"
#include "core/Rng.h"

namespace assetgen {

// The light of a picture, which its objects share so that they sit in the scene: where the
// light comes from and the colour it casts.
struct Look {
    Rgb ambient{1, 1, 1};   // colour of the light
    double ambientMix = 0;  // how strongly it tints every colour
    double lightX = -0.7;   // direction towards the light (x right, y down), need not be unit
    double lightY = -0.7;
    Rgb shade = Rgb::hex(0x2A2238);  // colour of shadows

    // A colour as it looks in this light.
    Rgb tone(const Rgb& c) const { return mix(c, {c.r * ambient.r, c.g * ambient.g, c.b * ambient.b}, ambientMix); }
    Rgb lit(const Rgb& c, double t) const { return mix(tone(c), lighten(ambient, 0.3), t); }
    Rgb dark(const Rgb& c, double t) const { return mix(tone(c), shade, t); }
    // 1 when the light comes from the left, -1 from the right.
    double fromLeft() const { return lightX < 0 ? 1.0 : -1.0; }

    static Look read(const RecipeNode& node);
};

// Everything a drawing function gets: a Cairo context on a w x h box (origin top-left), the
// recipe entry with its own keys, a random stream of its own and the picture's light.
struct ArtContext {
    cairo_t* cr;
    double w;
    double h;
    const RecipeNode& args;
    Rng& rng;
    const Look& look;
    // Scenes only: fine detail (rigging, masts, lit windows) drawn here goes over the painted
    // strokes instead of under them, so brushwork does not wipe it out. Null elsewhere.
    cairo_t* detail = nullptr;
};

using ArtFn = void (*)(ArtContext&);

// Drawing functions by name, as recipes refer to them. Filled once before any job runs.
class ArtRegistry {
public:
    static ArtRegistry& instance();
    void add(const std::string& name, ArtFn fn);
    ArtFn find(const std::string& name) const;

private:
    std::map<std::string, ArtFn> _fns;
};

// Each art family registers its functions.
void registerUiArt(ArtRegistry& r);
void registerCharacterArt(ArtRegistry& r);
void registerBackdropArt(ArtRegistry& r);
void registerThingArt(ArtRegistry& r);
void registerFarmThingArt(ArtRegistry& r);
void registerSceneArt(ArtRegistry& r);
void registerTownThingArt(ArtRegistry& r);
void registerNatureThingArt(ArtRegistry& r);
void registerMusicThingArt(ArtRegistry& r);
void registerEuropeSceneArt(ArtRegistry& r);
void registerInteriorSceneArt(ArtRegistry& r);
void registerSlideArt(ArtRegistry& r);
void registerScreenArt(ArtRegistry& r);
void registerEvidenceArt(ArtRegistry& r);
void registerMinigameArt(ArtRegistry& r);

inline void registerAllArt() {
    ArtRegistry& r = ArtRegistry::instance();
    registerUiArt(r);
    registerCharacterArt(r);
    registerBackdropArt(r);
    registerThingArt(r);
    registerFarmThingArt(r);
    registerSceneArt(r);
    registerTownThingArt(r);
    registerNatureThingArt(r);
    registerMusicThingArt(r);
    registerEuropeSceneArt(r);
    registerInteriorSceneArt(r);
    registerSlideArt(r);
    registerScreenArt(r);
    registerEvidenceArt(r);
    registerMinigameArt(r);
}

}  // namespace assetgen
