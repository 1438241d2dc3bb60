#pragma once

#include <cstdint>

// The kind of every board object: which tool fixes it.
enum class DefectKind : int32_t {
    None = 0,
    // A hidden item's defect, rubbed out with the eraser.
    Dirt = 1,
    // A hidden item's defect or a brush's damage, cut away with the knife.
    Blot = 2,
    // A hidden item's defect or an eraser's damage, painted over with the brush.
    Scrape = 3,
    // A knife's damage, sewn with the needle.
    Cut = 4,
};
