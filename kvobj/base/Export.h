#pragma once
// Marks the module's entry points: everything else stays hidden.
#define KV_EXPORT extern "C" __attribute__((visibility("default")))
