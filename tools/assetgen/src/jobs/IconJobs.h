#pragma once

#include <vector>

#include "core/Output.h"
#include "core/Recipe.h"
#include "jobs/Job.h"

namespace assetgen {

// The desktop icons: one piece of art drawn at several sizes into an icon theme folder
// (<icons>/hicolor/<n>x<n>/apps/<name>.png). With no icon folder the recipe is only checked.
void addIconJobs(const RecipeNode& recipe, Output* icons, std::vector<Job>& jobs);

// Deletes the icons of this run's names in sizes it no longer draws, so a size dropped from the
// recipe does not linger and get installed.
std::size_t removeUnwrittenIcons(const Output& icons);

}  // namespace assetgen
