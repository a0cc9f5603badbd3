#pragma once

// Byte builders of both metafile formats, for the player's tests and the fuzzers' seeds.

#include "figures/render/emfbuilder.h"
#include "figures/render/wmfbuilder.h"
