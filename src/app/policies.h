#pragma once
// The policy values the program reads, under HKEY_LOCAL_MACHINE, where an
// administrator (or Group Policy) sets them and a user cannot.
namespace velmora {

inline constexpr const char* kPoliciesKeyPath = "Software\\Policies\\Velmora\\VmTarnParser";

// REG_SZ: the group, by name or SID, whose members may see card numbers in
// full; absent or empty, nobody may.
inline constexpr const char* kFullCardNumbersGroup = "FullCardNumbersGroup";

inline constexpr const char* kPolicyValues[] = {kFullCardNumbersGroup};

}  // namespace velmora
