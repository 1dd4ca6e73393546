#pragma once
#include <KvNodeDefine/KvExport.h>

#include <cstdint>

// The steel system's classifications of fabricated parts, shared with the
// host. Descriptors store them as numbers ("%d", read by the atoi rule) and
// never check the range; the display texts are offered for tools only.
namespace SteelSystem {

// steel grades
enum Material : std::int32_t { Q215 = 0, Q235, Q295, Q345, Q390, Q420, OtherMat };

// bolt property classes
enum BoltGrade : std::int32_t {
    Grade3_6 = 0, Grade4_6, Grade4_8, Grade5_6, Grade6_8, Grade8_8, Grade9_8, Grade10_9, Grade12_9, OtherGrade
};

// bolt kinds
enum BoltType : std::int32_t {
    OrdinaryHexA = 0, OrdinaryHexB, OrdinaryHexC, HighStrengthLargeHex, TorsionalShear, AnchorBolt, OtherBoltType
};

// a value and its display text
struct EnumText {
    // the value, and its text
    int value;
    const char* text; // GBK
};

// The display texts of one enumeration, one row per value in value order,
// the catch-all entry last.
struct KVNODE_API EnumTable {
    // the rows, in value order
    const EnumText* rows;
    int count;
    // the text of a value, or null outside the enumeration
    const char* TextOf(int value) const noexcept;
};

// the display texts of each enumeration
KVNODE_API const EnumTable& MaterialTable() noexcept;
KVNODE_API const EnumTable& BoltGradeTable() noexcept;
KVNODE_API const EnumTable& BoltTypeTable() noexcept;

// an enumeration's table, for the attribute helpers
inline const EnumTable* EnumTableOf(Material) noexcept { return &MaterialTable(); }
inline const EnumTable* EnumTableOf(BoltGrade) noexcept { return &BoltGradeTable(); }
inline const EnumTable* EnumTableOf(BoltType) noexcept { return &BoltTypeTable(); }

} // namespace SteelSystem
