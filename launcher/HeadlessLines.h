#pragma once
// What a headless launcher prints in place of starting a program or opening a link, so that a
// script's run shows exactly what a pick would have started:
//   spawn "PATH" "ARG"... in "FOLDER"
//   url "URL"
#include <string>

#include "platform/Programs.h"

namespace tour {

// PATH absolute and lexically normal (links kept), one quoted ARG per argument after argv[0],
// FOLDER without a final slash.
std::string SpawnLine(const plat::SpawnRequest& request);
std::string UrlLine(const std::string& url);

} // namespace tour
