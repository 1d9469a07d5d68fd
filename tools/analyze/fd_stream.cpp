#include "tools/analyze/fd_stream.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

FdInBuf::int_type FdInBuf::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    for (;;) {
        const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
        if (got > 0) {
            setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
            return traits_type::to_int_type(*gptr());
        }
        if (got == 0) return traits_type::eof();
        if (errno != EINTR) ThrowErrno("cannot read the input");
        if (stop_ != nullptr && stop_->load()) return traits_type::eof();
    }
}

FdOutBuf::FdOutBuf(int fd) : fd_(fd) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

FdOutBuf::~FdOutBuf() {
    try {
        sync();
    } catch (const std::system_error&) {
        // The owner flushes and reports before it lets the buffer go.
    }
}

FdOutBuf::int_type FdOutBuf::overflow(int_type ch) {
    sync();
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(ch);
        pbump(1);
    }
    return traits_type::not_eof(ch);
}

int FdOutBuf::sync() {
    const char* const begin = pbase();
    const auto size = static_cast<std::size_t>(pptr() - begin);
    // The buffer is emptied first, so that a failed write is not tried again.
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    WriteAll(begin, size);
    return 0;
}

void FdOutBuf::WriteAll(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd_, data, size);
        if (put < 0) {
            if (errno == EINTR) continue;
            ThrowErrno("cannot write the output");
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
}
