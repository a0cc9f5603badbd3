#pragma once

// Byte builders of both metafile formats, for the player's tests and the fuzzers' seeds.

#include "tests/figures/render/pictures/metafile/emfbuilder.h"
#include "tests/figures/render/pictures/metafile/wmfbuilder.h"
