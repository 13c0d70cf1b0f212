// TOwningArray: a growable array of pointers to heap objects that it owns.
// Removing an element with Delete deletes it; Take hands it back to the
// caller instead; every element left when the array is destroyed is deleted.
// Room starts at `initial` and grows by `step`, or by half of itself once that
// is more, so that filling an array of n elements copies O(n) pointers.
#ifndef VELTRANO_TOWNINGARRAY_H
#define VELTRANO_TOWNINGARRAY_H

template <class T>
class TOwningArray {
public:
    TOwningArray(unsigned initial, unsigned step)
        : items(new T *[initial ? initial : 1]), count(0),
          capacity(initial ? initial : 1), step(step ? step : 1) {}

    ~TOwningArray()
    {
        for (unsigned i = 0; i < count; i++)
            delete items[i];
        delete[] items;
    }

    unsigned Count() const { return count; }
    T *At(unsigned index) const { return items[index]; }

    // Inserts item in front of position index (index = Count() appends);
    // the array takes ownership. An index beyond the end appends.
    void Insert(unsigned index, T *item)
    {
        if (index > count)
            index = count;
        Reserve(count + 1);
        for (unsigned i = count; i > index; i--)
            items[i] = items[i - 1];
        items[index] = item;
        count++;
    }

    void Append(T *item) { Insert(count, item); }

    // Removes the element at index and returns it; the caller now owns it.
    T *Take(unsigned index)
    {
        T *item = items[index];
        for (unsigned i = index + 1; i < count; i++)
            items[i - 1] = items[i];
        count--;
        return item;
    }

    // Removes and deletes the element at index.
    void Delete(unsigned index) { delete Take(index); }

private:
    // Makes room for needed elements.
    void Reserve(unsigned needed)
    {
        if (needed <= capacity)
            return;
        unsigned grown = capacity;
        while (grown < needed)
            grown += grown / 2 > step ? grown / 2 : step;
        T **larger = new T *[grown];
        for (unsigned i = 0; i < count; i++)
            larger[i] = items[i];
        delete[] items;
        items = larger;
        capacity = grown;
    }

    TOwningArray(const TOwningArray &);
    TOwningArray &operator=(const TOwningArray &);

    T **items;
    unsigned count;
    unsigned capacity;
    unsigned step;
};

#endif
