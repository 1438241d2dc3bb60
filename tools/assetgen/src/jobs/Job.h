#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/Image.h"
#include "core/Output.h"
#include "core/Recipe.h"

namespace assetgen {

// What jobs share while the generator runs.
struct GenContext {
    Output& out;
    std::filesystem::path previewDir;  // empty: no previews

    // Pictures leave their thumbnails here for the country icon sheets of the second phase.
    std::mutex thumbMutex;
    std::map<std::string, std::shared_ptr<Image>> thumbnails;  // by picture path "USA/HarborDawn"
};

struct Job {
    std::string name;
    std::function<void(GenContext&)> run;
};

// Frame and file names the generator accepts: plain ASCII, no folders.
bool isPlainFileName(const std::string& name);

// Draws one piece of art by its registered name into a fresh w x h image.
Image drawArt(const std::string& art, int w, int h, const RecipeNode& args, std::uint64_t seed);

// The job families: each turns one recipe into jobs (run in parallel), or adds jobs for the
// second phase that needs the first phase's results.
void addImageJobs(const RecipeNode& recipe, std::vector<Job>& jobs);
void addPictureJobs(const RecipeNode& recipe, std::vector<Job>& jobs);
void addCountryJobs(const RecipeNode& recipe, std::vector<Job>& secondPhase);
void addAudioJobs(const RecipeNode& recipe, std::vector<Job>& jobs);

}  // namespace assetgen
