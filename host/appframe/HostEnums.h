#pragma once
#include <cstdint>

// Enumerations that the host application owns. They are 32-bit signed and
// hold any value the host stores in them, named or not; the library names
// only the values it gives itself.
namespace Object {
// The kinds of the host's structural objects.
enum Kind : std::int32_t {
    kUnknownKind = 0 // no kind given
};
} // namespace Object

// A node type's classification code (CNodeTypeDesc::GetNodeType).
enum LinkSmallType : std::int32_t {
    kLinkSmallNone = 0 // no code given
};
// A node type's big type (CNodeTypeDesc::GetLinkBigType).
enum LinkBigType : std::int32_t {
    kLinkBigDefault = 101 // the one big type every node type has
};
// A node type's whole type (CNodeTypeDesc::GetLinkWholeType).
enum LinkWholeType : std::int32_t {
    kLinkWhole1 = 1, // codes outside 20000..49999
    kLinkWhole2 = 2, // codes 20000..29999
    kLinkWhole3 = 3, // codes 30000..39999
    kLinkWhole4 = 4, // codes 40000..49999
};
