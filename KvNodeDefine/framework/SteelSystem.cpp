#include <KvNodeDefine/SteelSystem.h>
#include <KvNodeDefine/framework/DescAttributes.h>

#include <cstddef>

namespace kvnodedefine {

using namespace SteelSystem;

namespace {
// GBK bytes; "\xBC\xB6" is the character for "class", and a hex escape is
// closed by splitting the literal before a following letter.
const EnumText kMaterials[] = {
    {Q215, "Q215"}, {Q235, "Q235"}, {Q295, "Q295"}, {Q345, "Q345"}, {Q390, "Q390"}, {Q420, "Q420"}, {OtherMat, "OtherMat"},
};
const EnumText kBoltGrades[] = {
    {Grade3_6, "3.6\xBC\xB6"},   {Grade4_6, "4.6\xBC\xB6"},   {Grade4_8, "4.8\xBC\xB6"},
    {Grade5_6, "5.6\xBC\xB6"},   {Grade6_8, "6.8\xBC\xB6"},   {Grade8_8, "8.8\xBC\xB6"},
    {Grade9_8, "9.8\xBC\xB6"},   {Grade10_9, "10.9\xBC\xB6"}, {Grade12_9, "12.9\xBC\xB6"},
    {OtherGrade, "\xC6\xE4\xCB\xFC\xB5\xC8\xBC\xB6"},
};
const EnumText kBoltTypes[] = {
    {OrdinaryHexA, "\xC6\xD5\xCD\xA8" "A" "\xBC\xB6\xC1\xF9\xBD\xC7\xCD\xB7"},
    {OrdinaryHexB, "\xC6\xD5\xCD\xA8" "B" "\xBC\xB6\xC1\xF9\xBD\xC7\xCD\xB7"},
    {OrdinaryHexC, "\xC6\xD5\xCD\xA8" "C" "\xBC\xB6\xC1\xF9\xBD\xC7\xCD\xB7"},
    {HighStrengthLargeHex, "\xB8\xDF\xC7\xBF\xB6\xC8\xB4\xF3\xC1\xF9\xBD\xC7\xCD\xB7"},
    {TorsionalShear, "\xC5\xA4\xBC\xF4\xD0\xCD\xB8\xDF\xC7\xBF\xB6\xC8\xC2\xDD\xCB\xA8"},
    {AnchorBolt, "\xC3\xAA\xCB\xA8"},
    {OtherBoltType, "\xC6\xE4\xCB\xFC\xC0\xE0\xD0\xCD"},
};

} // namespace

const char* EnumTable::TextOf(int value) const noexcept
{
    return value >= 0 && value < count ? rows[value].text : nullptr;
}

const EnumTable& MaterialTable() noexcept
{
    static const EnumTable table = TableOf(kMaterials);
    return table;
}

const EnumTable& BoltGradeTable() noexcept
{
    static const EnumTable table = TableOf(kBoltGrades);
    return table;
}

const EnumTable& BoltTypeTable() noexcept
{
    static const EnumTable table = TableOf(kBoltTypes);
    return table;
}

} // namespace kvnodedefine
