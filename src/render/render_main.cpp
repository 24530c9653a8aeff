// SPDX-License-Identifier: GPL-3.0-or-later
// vellora-render: Vellora's picture-to-sound synthesis without a window.
#include <iostream>
#include <string>
#include <vector>

#include "render/render.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv, argv + argc);
  const RenderCommandLine commandLine = ParseRenderCommandLine(arguments);
  if (!commandLine.options) {
    (commandLine.exitCode == RenderExitOk ? std::cout : std::cerr) << commandLine.message;
    return commandLine.exitCode;
  }
  return RunRender(*commandLine.options, std::cerr);
}
