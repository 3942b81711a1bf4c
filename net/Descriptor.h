// An owned POSIX socket descriptor, for the parts of the transport that the network library
// cannot do itself (a connect that does not wait). For the transport's own source files.
#pragma once

#include <unistd.h>

class TDescriptor {
public:
    TDescriptor() = default;
    explicit TDescriptor(int fd) : Fd(fd) {}
    ~TDescriptor() { Reset(); }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;

    [[nodiscard]] int Get() const { return Fd; }
    [[nodiscard]] bool Valid() const { return Fd >= 0; }
    void Reset(int fd = -1) {
        if (Fd >= 0) close(Fd);
        Fd = fd;
    }

private:
    int Fd = -1;
};
