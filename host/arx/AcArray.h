#pragma once
#include <cassert>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

// How an AcArray moves its elements when it grows: by copying bytes (for
// trivially copyable elements) or by copy-constructing each one.
template <class T>
struct AcArrayMemCopyReallocator {
    static_assert(std::is_trivially_copyable<T>::value, "use AcArrayObjectCopyReallocator");
    // Copies the bytes of nCount elements from pSource to pDest.
    static void reallocateArray(T* pDest, const T* pSource, int nCount)
    {
        if (nCount > 0)
            std::memcpy(static_cast<void*>(pDest), pSource, sizeof(T) * static_cast<size_t>(nCount));
    }
};

// How an AcArray moves elements that are not trivially copyable: by
// assigning each one.
template <class T>
struct AcArrayObjectCopyReallocator {
    // Assigns nCount elements from pSource to pDest.
    static void reallocateArray(T* pDest, const T* pSource, int nCount)
    {
        for (int i = 0; i < nCount; ++i)
            pDest[i] = pSource[i];
    }
};

// A growable array with a logical length (the elements in use) and a
// physical length (the room allocated). When full it grows by at least the
// grow length and at least by its current length, so that appending stays
// linear however long the array gets.
template <class T, class R = AcArrayMemCopyReallocator<T>>
class AcArray {
public:
    // An empty array with room for physicalLength elements that grows by at
    // least growLength (at least 1).
    explicit AcArray(int physicalLength = 0, int growLength = 8)
        : mpArray(nullptr), mPhysicalLen(0), mLogicalLen(0), mGrowLen(growLength > 0 ? growLength : 1)
    {
        if (physicalLength > 0)
            setPhysicalLength(physicalLength);
    }
    // A copy of src's elements and grow length.
    AcArray(const AcArray& src) : AcArray(src.mLogicalLen, src.mGrowLen) { append(src); }
    // Takes src's elements and grow length.
    AcArray& operator=(const AcArray& src)
    {
        if (this != &src) {
            removeAll();
            append(src);
            mGrowLen = src.mGrowLen;
        }
        return *this;
    }
    // Frees the elements.
    ~AcArray() { delete[] mpArray; }

    // The element at i, from 0; i must be below length().
    T& operator[](int i) { return at(i); }
    // The element at i, from 0; i must be below length().
    const T& operator[](int i) const { return at(i); }
    // The element at i, from 0; i must be below length().
    T& at(int i) { assert(i >= 0 && i < mLogicalLen); return mpArray[i]; }
    // The element at i, from 0; i must be below length().
    const T& at(int i) const { assert(i >= 0 && i < mLogicalLen); return mpArray[i]; }
    // The first element; the array must not be empty.
    T& first() { return at(0); }
    // The first element; the array must not be empty.
    const T& first() const { return at(0); }
    // The last element; the array must not be empty.
    T& last() { return at(mLogicalLen - 1); }
    // The last element; the array must not be empty.
    const T& last() const { return at(mLogicalLen - 1); }
    // The elements in a row, valid until the array grows; null while it has no room.
    T* asArrayPtr() noexcept { return mpArray; }
    // The elements in a row, valid until the array grows; null while it has no room.
    const T* asArrayPtr() const noexcept { return mpArray; }

    // Appends value and returns its index.
    int append(const T& value)
    {
        if (mLogicalLen == mPhysicalLen) {
            const T copy(value); // value may live in this array
            grow(mLogicalLen + 1);
            mpArray[mLogicalLen] = copy;
        } else {
            mpArray[mLogicalLen] = value;
        }
        return mLogicalLen++;
    }
    // Appends the elements of other (which may be this array).
    AcArray& append(const AcArray& other)
    {
        const int n = other.mLogicalLen;
        if (n > 0) {
            if (mLogicalLen + n > mPhysicalLen)
                grow(mLogicalLen + n); // other may be *this: grow keeps the elements
            for (int i = 0; i < n; ++i)
                mpArray[mLogicalLen + i] = other.mpArray[i];
            mLogicalLen += n;
        }
        return *this;
    }
    // Inserts value at index (0 to length()), moving the later elements up.
    AcArray& insertAt(int index, const T& value)
    {
        assert(index >= 0 && index <= mLogicalLen);
        const T copy(value);
        if (mLogicalLen == mPhysicalLen)
            grow(mLogicalLen + 1);
        for (int i = mLogicalLen; i > index; --i)
            mpArray[i] = mpArray[i - 1];
        mpArray[index] = copy;
        ++mLogicalLen;
        return *this;
    }
    // Removes the element at index, moving the later elements down.
    AcArray& removeAt(int index)
    {
        assert(index >= 0 && index < mLogicalLen);
        for (int i = index; i + 1 < mLogicalLen; ++i)
            mpArray[i] = mpArray[i + 1];
        --mLogicalLen;
        return *this;
    }
    // Empties the array, keeping its room.
    AcArray& removeAll() noexcept
    {
        mLogicalLen = 0;
        return *this;
    }

    // Whether an element from start on equals value.
    bool contains(const T& value, int start = 0) const { int at; return find(value, at, start); }
    // Whether an element from start on equals value; foundAt gets the first one's index.
    bool find(const T& value, int& foundAt, int start = 0) const
    {
        for (int i = start < 0 ? 0 : start; i < mLogicalLen; ++i)
            if (mpArray[i] == value) {
                foundAt = i;
                return true;
            }
        return false;
    }
    // The index of the first element equal to value, or -1.
    int find(const T& value) const { int at = -1; find(value, at); return at; }

    // The number of elements.
    int length() const noexcept { return mLogicalLen; }
    // The number of elements.
    int logicalLength() const noexcept { return mLogicalLen; }
    // Whether there are no elements.
    bool isEmpty() const noexcept { return mLogicalLen == 0; }
    // Makes the array n elements long (negative: 0), growing its room when needed.
    AcArray& setLogicalLength(int n)
    {
        if (n < 0)
            n = 0;
        if (n > mPhysicalLen)
            grow(n);
        mLogicalLen = n;
        return *this;
    }
    // The number of elements there is room for.
    int physicalLength() const noexcept { return mPhysicalLen; }
    // Makes room for exactly n elements (negative: 0), dropping those beyond it.
    AcArray& setPhysicalLength(int n)
    {
        if (n < 0)
            n = 0;
        if (n == mPhysicalLen)
            return *this;
        T* fresh = n > 0 ? new T[static_cast<size_t>(n)]() : nullptr;
        if (mLogicalLen > n)
            mLogicalLen = n;
        if (fresh)
            R::reallocateArray(fresh, mpArray, mLogicalLen);
        delete[] mpArray;
        mpArray = fresh;
        mPhysicalLen = n;
        return *this;
    }
    // The least number of elements a full array grows by.
    int growLength() const noexcept { return mGrowLen; }
    // Sets the grow length; a value below 1 is ignored.
    AcArray& setGrowLength(int n)
    {
        if (n > 0)
            mGrowLen = n;
        return *this;
    }

private:
    void grow(int needed)
    {
        const long long step = mGrowLen > mLogicalLen ? mGrowLen : mLogicalLen;
        const long long wanted = static_cast<long long>(mPhysicalLen) + step;
        const int room = wanted > INT_MAX ? INT_MAX : static_cast<int>(wanted);
        setPhysicalLength(room < needed ? needed : room);
    }

    T* mpArray;
    int mPhysicalLen;
    int mLogicalLen;
    int mGrowLen;
};
