// Notices every file the process writes, creates, renames or removes outside
// one folder (the monkey's own): the calls are interposed in this binary, the
// paths checked and the real calls made.
#pragma once

#include <string>

namespace writeguard {

// From now on, writes outside `root` (and outside /dev, /proc and /sys) are counted and told on stderr.
void Arm(const std::string& root);
void Disarm();
int Violations();

}  // namespace writeguard
