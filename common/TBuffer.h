// TBuffer: a scoped heap character buffer. The constructor allocates n
// characters (the first one set to the terminator), the destructor frees them.
#ifndef VELTRANO_TBUFFER_H
#define VELTRANO_TBUFFER_H

class TBuffer {
public:
    char *data;

    explicit TBuffer(unsigned length) : data(new char[length ? length : 1]) { data[0] = '\0'; }
    ~TBuffer() { delete[] data; }
    operator char *() const { return data; }

private:
    TBuffer(const TBuffer &);
    TBuffer &operator=(const TBuffer &);
};

#endif
