#pragma once
#include <cstdint>

// Enumerations that the host application owns. They are 32-bit signed and
// hold any value the host stores in them, named or not.
namespace Object {
// the kinds of host objects
enum Kind : std::int32_t { kUnknownKind = 0 };
}

enum LinkSmallType : std::int32_t { kLinkSmallNone = 0 };
enum LinkBigType : std::int32_t { kLinkBigDefault = 101 };
enum LinkWholeType : std::int32_t { kLinkWhole1 = 1, kLinkWhole2 = 2, kLinkWhole3 = 3, kLinkWhole4 = 4 };
