#pragma once
#define KVVM_EXPORT extern "C" __attribute__((visibility("default")))
