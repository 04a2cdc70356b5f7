#pragma once
// The machine policies the program reads, under HKEY_LOCAL_MACHINE, where an
// administrator (or Group Policy) sets them and a user cannot. The policy
// template that setup installs (installer/PolicyDefinitions) offers each of
// them, and no other; a test holds the two together.
#include <array>

namespace velmora {

inline constexpr const char* kPoliciesKeyPath = "Software\\Policies\\Velmora\\VmTarnParser";

// REG_SZ: the group, by name or SID, whose members may see card numbers in
// full; absent or empty, nobody may.
inline constexpr const char* kFullCardNumbersGroup = "FullCardNumbersGroup";

// Every policy value name above, for the template's test.
inline constexpr std::array<const char*, 1> kPolicyValueNames = {kFullCardNumbersGroup};

}  // namespace velmora
