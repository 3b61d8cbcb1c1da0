// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vb {

// The whole program: single instance, the six windows, the message loop. Returns the exit status.
int RunVerbanta(int argc, char** argv);

} // namespace vb
