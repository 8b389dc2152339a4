// What the library knows of sounds without its database: the bytes that make
// a sound, tags a patch's name suggests, and how far apart two patches sound.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "patch/patchdata.h"

namespace orb8::library {

// The bytes of a patch that make its sound: all but the name (and the two
// bytes that carry nothing).
bool IsSoundByte(int byte);
std::vector<std::uint8_t> SoundOf(const PatchData& patch);
// A patch from its sound and its 8 name codes.
PatchData PatchFrom(std::span<const std::uint8_t> sound, std::span<const std::uint8_t> nameCodes);

// Tags from keywords of a patch name ("CHO+DLY" -> chorus, delay), lower case, sorted.
std::vector<std::string> AutomaticTags(const std::string& name);

// How far apart two patches sound, from 0 (the same settings) up. Each of
// the four effect modules adds up to 1: 1 when it is on in only one of them
// or has different types, else the mean difference of its type's parameters,
// each scaled by its range (off in both: 0). The EQ's parameters are scaled
// the same way. The patch level and the noise reduction add up to 0.5 more.
// The RTM settings, controllers and name do not count.
double SoundDistance(const PatchData& a, const PatchData& b);

}  // namespace orb8::library
