#include <appframe/CString.h>
#include <arx/AcArray.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using IntArray = AcArray<int>;
using TextArray = AcArray<CString, AcArrayObjectCopyReallocator<CString>>;

IntArray Ints(std::initializer_list<int> values)
{
    IntArray a;
    for (int v : values)
        a.append(v);
    return a;
}
std::vector<int> Items(const IntArray& a) { return std::vector<int>(a.asArrayPtr(), a.asArrayPtr() + a.length()); }

TEST(AcArray, GrowsGeometricallyFromEight)
{
    IntArray a;
    std::set<int> physical;
    for (int i = 0; i < 100000; ++i) {
        a.append(i);
        physical.insert(a.physicalLength());
    }
    EXPECT_EQ(*physical.begin(), 8);
    EXPECT_LT(physical.size(), 40u); // appends stay linear
    EXPECT_EQ(Items(a)[99999], 99999);
}

TEST(AcArray, AppendsItsOwnElementsWhileFull)
{
    TextArray a; // texts live on the heap: the sanitizer build sees a read after the old block is freed
    while (a.length() < 8)
        a.append("a text long enough to live on the heap");
    a.append(a[0]);
    EXPECT_EQ(a.last(), a[0]);
    while (a.length() < a.physicalLength())
        a.append("x");
    a.insertAt(0, a.last());
    EXPECT_EQ(a.first(), "x");

    IntArray b = Ints({1, 2, 3});
    b.append(b).append(b); // the second grows while reading itself
    EXPECT_EQ(Items(b), (std::vector<int>{1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3}));
}

TEST(AcArray, InsertRemoveFindAndLengths)
{
    IntArray a = Ints({1, 2, 3});
    a.insertAt(0, 0).insertAt(4, 4).insertAt(2, 9);
    EXPECT_EQ(Items(a), (std::vector<int>{0, 1, 9, 2, 3, 4}));
    a.removeAt(0).removeAt(4).removeAt(1);
    EXPECT_EQ(Items(a), (std::vector<int>{1, 2, 3}));
    int at = -1;
    EXPECT_TRUE(a.find(3, at, 1) && at == 2);
    EXPECT_TRUE(a.find(2) == 1 && a.find(6) == -1 && !a.find(1, at, 1));
    EXPECT_TRUE(a.contains(2) && !a.contains(2, 2));

    a.removeAll();
    EXPECT_TRUE(a.isEmpty() && a.physicalLength() == 8);
    a.setLogicalLength(20);
    EXPECT_GE(a.physicalLength(), 20);

    a = Ints({1, 2, 3, 4, 5});
    a.setLogicalLength(4).setPhysicalLength(3).append(4);
    EXPECT_EQ(Items(a), (std::vector<int>{1, 2, 3, 4}));
    a.setPhysicalLength(0);
    EXPECT_EQ(a.append(7), 0);
}

// The sanitizer build catches a copy or reallocation that leaks texts or frees them twice.
TEST(AcArray, ObjectCopyReallocatorKeepsTexts)
{
    TextArray a;
    for (int i = 0; i < 100; ++i)
        a.append(CString("text ") + CString(std::to_string(i).c_str()));
    a.insertAt(50, "mid").removeAt(0).setPhysicalLength(60);
    EXPECT_TRUE(a[0] == "text 1" && a[49] == "mid" && a.length() == 60);
    TextArray b(a);
    b[0] += " changed";
    EXPECT_EQ(a[0], "text 1");
    const TextArray& self = b;
    b = a;
    b = self;
    b.append(b);
    EXPECT_TRUE(b.length() == 120 && b[119] == a[59]);
}

} // namespace
