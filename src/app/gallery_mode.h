// The gallery mode of the Linux program: one sheet of every brush style, drawn on the headless
// host and written as a PNG.
#pragma once

#include <string>
#include <vector>

namespace lw::app {

// Runs "--gallery FILE.png [--size WxH]"; returns the exit code. Bad arguments get a one-line
// message and code 2 before anything is drawn.
int runGalleryMode(const std::vector<std::string>& arguments);

}  // namespace lw::app
