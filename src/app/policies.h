#pragma once
// The machine policies the program reads, under HKEY_LOCAL_MACHINE. The
// policy template that setup installs (installer/PolicyDefinitions) offers
// each of them, and no other; a test holds the two together.
#include <array>

namespace velmora {

inline constexpr const char* kPoliciesKeyPath = "Software\\Policies\\Velmora\\VmTarnParser";

// The group (a name or a SID) whose members may see full card numbers;
// absent or empty: nobody.
inline constexpr const char* kFullCardNumbersGroupPolicy = "FullCardNumbersGroup";

// Every policy value name above, for the template's test.
inline constexpr std::array<const char*, 1> kPolicyValueNames = {kFullCardNumbersGroupPolicy};

}  // namespace velmora
