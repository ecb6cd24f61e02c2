#pragma once
#include <cstddef>
#include <cstdint>

// Feeds one input through the receive path and ParseResponse. Never fails:
// a crash, a sanitizer report or a hang is the finding.
int FuzzReceiveOneInput(const uint8_t* data, size_t size);
