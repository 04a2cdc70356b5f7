// Programmer errors: a condition the code relies on and no input can break
// (an index inside its table, a slice inside its record). VELMORA_ASSERT
// stops the program at once, naming the condition, in every build that runs
// tests or fuzzers; the engine's release build leaves it out of its hot loops.
#pragma once

namespace velmora {

[[noreturn]] void assertionFailed(const char* condition, const char* file, int line);

}  // namespace velmora

#if VELMORA_CHECKS
#define VELMORA_ASSERT(condition) \
    ((condition) ? static_cast<void>(0) : ::velmora::assertionFailed(#condition, __FILE__, __LINE__))
#else
#define VELMORA_ASSERT(condition) static_cast<void>(sizeof(condition))
#endif
