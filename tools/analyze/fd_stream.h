// Stream buffers on a file descriptor that say when the system refuses to
// read or write, which the standard streams on stdin and stdout do not: to
// them a read error looks like the end of the input, and a lost write is
// only a flag that nobody asks about.
//
// Both throw std::system_error carrying errno and what was being done, from
// inside the stream call that met the error; a stream with badbit among its
// exceptions() passes it on unchanged. Interrupted calls are retried, except
// a read interrupted once the reader's stop flag is set, which ends the input.
#pragma once

#include <array>
#include <atomic>
#include <streambuf>

class FdInBuf : public std::streambuf {
  public:
    explicit FdInBuf(int fd) : fd_(fd) {}

    // A signal handler that sets `*stop` (null for none) ends the input when
    // it interrupts a read: Ctrl+C must not wait for another line to arrive.
    void EndOnInterrupt(const std::atomic<bool>* stop) { stop_ = stop; }

  protected:
    // Returns as soon as some bytes are there, so that an interactive caller
    // gets each answer before it writes the next line.
    int_type underflow() override;

  private:
    int fd_;
    const std::atomic<bool>* stop_ = nullptr;
    std::array<char, 1 << 16> buffer_{};
};

class FdOutBuf : public std::streambuf {
  public:
    explicit FdOutBuf(int fd);
    FdOutBuf(const FdOutBuf&) = delete;
    FdOutBuf& operator=(const FdOutBuf&) = delete;
    // Writes what is left, silently: a destructor has no one to tell.
    ~FdOutBuf() override;

  protected:
    int_type overflow(int_type ch) override;
    int sync() override;

  private:
    void WriteAll(const char* data, std::size_t size);

    int fd_;
    std::array<char, 1 << 16> buffer_{};
};
