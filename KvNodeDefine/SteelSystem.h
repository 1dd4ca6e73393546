#pragma once
#include <KvNodeDefine/EnumTable.h>

#include <cstdint>

// The steel system's classifications of fabricated parts, shared with the
// host. Descriptors store them as numbers ("%d", read by the atoi rule) and
// never check the range: a value outside an enumeration is kept and saved
// again unchanged.
namespace SteelSystem {

// The steel grade of a plate, a bolt or a bolt group; OtherMat for any other.
enum Material : std::int32_t { Q215 = 0, Q235, Q295, Q345, Q390, Q420, OtherMat };

// The property class of a bolt or a bolt group (3.6 to 12.9); OtherGrade for any other.
enum BoltGrade : std::int32_t {
    Grade3_6 = 0, Grade4_6, Grade4_8, Grade5_6, Grade6_8, Grade8_8, Grade9_8, Grade10_9, Grade12_9, OtherGrade
};

// The kind of bolt of a bolt group; OtherBoltType for any other.
enum BoltType : std::int32_t {
    OrdinaryHexA = 0, OrdinaryHexB, OrdinaryHexC, HighStrengthLargeHex, TorsionalShear, AnchorBolt, OtherBoltType
};

} // namespace SteelSystem

namespace kvnodedefine {

// The display texts of SteelSystem::Material ("Q215" ... "OtherMat"), for tools.
KVNODE_API const EnumTable& MaterialTable() noexcept;
// The display texts of SteelSystem::BoltGrade ("3.6级" ... "其它等级", GBK), for tools.
KVNODE_API const EnumTable& BoltGradeTable() noexcept;
// The display texts of SteelSystem::BoltType ("普通A级六角头" ... "其它类型", GBK), for tools.
KVNODE_API const EnumTable& BoltTypeTable() noexcept;

} // namespace kvnodedefine
