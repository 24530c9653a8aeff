// One rendering: the picture and its settings in, the sound (and optionally the picture) out.
#pragma once

#include <ostream>

#include "render/render_options.h"

// Loads, synthesises and writes as the options say; messages go to err. Returns the exit code.
int RunRender(const RenderOptions& options, std::ostream& err);
