#pragma once

#include <utility>

// The dynamic array of every own container. Growth on add and insert goes to
// count + max(count, growBy): by the step while the array is small, then by
// doubling. The block always holds `capacity` constructed elements; the ones
// at and beyond `count` are spare.
template <typename T>
class BcArray
{
public:
    explicit BcArray(int growBy = 8) : growStep(growBy < 1 ? 1 : growBy) {}

    BcArray(const BcArray& other) : growStep(other.growStep)
    {
        copyFrom(other);
    }

    BcArray(BcArray&& other) noexcept
        : block(other.block), blockCapacity(other.blockCapacity), used(other.used), growStep(other.growStep)
    {
        other.block = nullptr;
        other.blockCapacity = 0;
        other.used = 0;
    }

    BcArray& operator=(const BcArray& other)
    {
        if (this != &other) {
            release();
            growStep = other.growStep;
            copyFrom(other);
        }
        return *this;
    }

    BcArray& operator=(BcArray&& other) noexcept
    {
        if (this != &other) {
            release();
            block = other.block;
            blockCapacity = other.blockCapacity;
            used = other.used;
            growStep = other.growStep;
            other.block = nullptr;
            other.blockCapacity = 0;
            other.used = 0;
        }
        return *this;
    }

    ~BcArray() { release(); }

    int count() const { return used; }
    int capacity() const { return blockCapacity; }
    int growBy() const { return growStep; }
    void setGrowBy(int step) { growStep = step < 1 ? 1 : step; }
    bool isEmpty() const { return used == 0; }

    T* data() { return block; }
    const T* data() const { return block; }

    // No bounds check: callers keep indices below count().
    T& operator[](int index) { return block[index]; }
    const T& operator[](int index) const { return block[index]; }

    int add(const T& element)
    {
        if (used == blockCapacity) {
            T copy = element; // the element may live in this array's block
            grow();
            block[used] = std::move(copy);
        } else {
            block[used] = element;
        }
        return used++;
    }

    // index must lie in 0..count; index == count appends.
    BcArray& insertAt(int index, const T& element)
    {
        if (index < 0 || index > used)
            return *this;
        T copy = element; // the element may live in this array's block
        if (used == blockCapacity)
            grow();
        for (int i = used; i > index; --i)
            block[i] = std::move(block[i - 1]);
        block[index] = std::move(copy);
        ++used;
        return *this;
    }

    // Keeps the order of the others; the capacity stays.
    void removeAt(int index)
    {
        if (index < 0 || index >= used)
            return;
        for (int i = index; i + 1 < used; ++i)
            block[i] = std::move(block[i + 1]);
        --used;
        block[used] = T();
    }

    // Finds the first element equal to the given one; -1 when there is none.
    int indexOf(const T& element) const
    {
        for (int i = 0; i < used; ++i) {
            if (block[i] == element)
                return i;
        }
        return -1;
    }

    // Emptying keeps the block for reuse.
    void removeAll() { used = 0; }

    // Reallocates to exactly n elements and keeps the first min(n, count).
    void setCapacity(int n)
    {
        if (n < 0 || n == blockCapacity)
            return;
        if (n == 0) {
            release();
            return;
        }
        T* fresh = new T[n]();
        int kept = used < n ? used : n;
        for (int i = 0; i < kept; ++i)
            fresh[i] = std::move(block[i]);
        delete[] block;
        block = fresh;
        blockCapacity = n;
        used = kept;
    }

    // Sets the count, growing the block by at least the step; never shrinks.
    // Elements that come into use are the block's spare ones, not cleared.
    void setSize(int n)
    {
        if (n < 0)
            return;
        if (n > blockCapacity) {
            int extra = n - blockCapacity;
            setCapacity(blockCapacity + (extra > growStep ? extra : growStep));
        }
        used = n;
    }

private:
    void grow()
    {
        int step = used > growStep ? used : growStep;
        setCapacity(used + step);
    }

    void release()
    {
        delete[] block;
        block = nullptr;
        blockCapacity = 0;
        used = 0;
    }

    void copyFrom(const BcArray& other)
    {
        if (other.blockCapacity == 0)
            return;
        block = new T[other.blockCapacity]();
        blockCapacity = other.blockCapacity;
        used = other.used;
        for (int i = 0; i < used; ++i)
            block[i] = other.block[i];
    }

    T* block = nullptr;
    int blockCapacity = 0;
    int used = 0;
    int growStep = 8;
};
