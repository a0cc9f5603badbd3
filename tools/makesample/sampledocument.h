#pragma once

#include "figures/model/document.h"

namespace makesample {

// The bundled sample drawing: two views that between them hold an object of every
// class, with a jump from the first view to the second.
void BuildSampleDocument(figures::Document& document);

} // namespace makesample
