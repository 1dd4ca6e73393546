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
    // moves nCount elements from pSource to pDest
    static void reallocateArray(T* pDest, const T* pSource, int nCount)
    {
        if (nCount > 0)
            std::memcpy(static_cast<void*>(pDest), pSource, sizeof(T) * static_cast<size_t>(nCount));
    }
};

template <class T>
// copies each element: for elements that are not trivially copyable
struct AcArrayObjectCopyReallocator {
    // moves nCount elements from pSource to pDest
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
    // construction
    explicit AcArray(int physicalLength = 0, int growLength = 8)
        : mpArray(nullptr), mPhysicalLen(0), mLogicalLen(0), mGrowLen(growLength > 0 ? growLength : 1)
    {
        if (physicalLength > 0)
            setPhysicalLength(physicalLength);
    }
    // copies the elements and the grow length
    AcArray(const AcArray& src) : AcArray(src.mLogicalLen, src.mGrowLen) { append(src); }
    AcArray& operator=(const AcArray& src)
    {
        if (this != &src) {
            removeAll();
            append(src);
            mGrowLen = src.mGrowLen;
        }
        return *this;
    }
    ~AcArray() { delete[] mpArray; }

    // elements
    T& operator[](int i) { return at(i); }
    const T& operator[](int i) const { return at(i); }
    T& at(int i) { assert(i >= 0 && i < mLogicalLen); return mpArray[i]; }
    const T& at(int i) const { assert(i >= 0 && i < mLogicalLen); return mpArray[i]; }
    T& first() { return at(0); }
    const T& first() const { return at(0); }
    T& last() { return at(mLogicalLen - 1); }
    const T& last() const { return at(mLogicalLen - 1); }
    T* asArrayPtr() noexcept { return mpArray; }
    const T* asArrayPtr() const noexcept { return mpArray; }

    // changes
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
    AcArray& removeAt(int index)
    {
        assert(index >= 0 && index < mLogicalLen);
        for (int i = index; i + 1 < mLogicalLen; ++i)
            mpArray[i] = mpArray[i + 1];
        --mLogicalLen;
        return *this;
    }
    AcArray& removeAll() noexcept
    {
        mLogicalLen = 0;
        return *this;
    }

    // searching
    bool contains(const T& value, int start = 0) const { int at; return find(value, at, start); }
    bool find(const T& value, int& foundAt, int start = 0) const
    {
        for (int i = start < 0 ? 0 : start; i < mLogicalLen; ++i)
            if (mpArray[i] == value) {
                foundAt = i;
                return true;
            }
        return false;
    }
    int find(const T& value) const { int at = -1; find(value, at); return at; }

    // lengths
    int length() const noexcept { return mLogicalLen; }
    int logicalLength() const noexcept { return mLogicalLen; }
    bool isEmpty() const noexcept { return mLogicalLen == 0; }
    AcArray& setLogicalLength(int n)
    {
        if (n < 0)
            n = 0;
        if (n > mPhysicalLen)
            grow(n);
        mLogicalLen = n;
        return *this;
    }
    int physicalLength() const noexcept { return mPhysicalLen; }
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
    int growLength() const noexcept { return mGrowLen; }
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
