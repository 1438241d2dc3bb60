#include "art/Art.h"

#include "core/Error.h"

namespace assetgen {

Look Look::read(const RecipeNode& n) {
    Look l;
    l.ambient = n.color("ambient", l.ambient);
    l.ambientMix = n.number("ambientMix", l.ambientMix);
    std::vector<double> light = n.numbers("light");
    if (!light.empty()) {
        if (light.size() != 2) n.fail("\"light\" must be [x, y]");
        l.lightX = light[0];
        l.lightY = light[1];
    }
    l.shade = n.color("shade", l.shade);
    n.finish();
    return l;
}

ArtRegistry& ArtRegistry::instance() {
    static ArtRegistry registry;
    return registry;
}

void ArtRegistry::add(const std::string& name, ArtFn fn) {
    if (!_fns.emplace(name, fn).second) throw GenError("art '" + name + "' registered twice");
}

ArtFn ArtRegistry::find(const std::string& name) const {
    auto it = _fns.find(name);
    return it == _fns.end() ? nullptr : it->second;
}

}  // namespace assetgen
