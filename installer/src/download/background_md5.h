// BackgroundMd5: an MD5 taken on its own thread, behind the thread that
// writes the bytes.
//
// MD5 cannot be split, and one core hashes more slowly than a loopback or
// LAN transfer writes. Hashing inside libcurl's write callback therefore
// slows the transfer to the hash's pace plus the transfer's own cost; here
// the writer only copies each chunk into one of a few fixed buffers and the
// hashing thread works through them in order, so download plus verification
// takes about as long as the slower of the two instead of their sum.
//
// Memory: kSlots buffers of kSlotBytes (8 MiB in all), allocated when the
// first bytes arrive and kept until destruction.
//
// Threads: one producer thread at a time calls Update, Reset, HexDigest and
// Failed (the download's worker); the hashing thread is internal. Update
// blocks only while every buffer waits to be hashed. The destructor stops
// and joins the hashing thread.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "utils/md5.h"

class BackgroundMd5 {
 public:
  static constexpr size_t kSlotBytes = 1024 * 1024;
  static constexpr size_t kSlots = 8;

  BackgroundMd5();
  ~BackgroundMd5();
  BackgroundMd5(const BackgroundMd5&) = delete;
  BackgroundMd5& operator=(const BackgroundMd5&) = delete;

  // Queues a copy of the bytes. False once hashing failed (as Utils::Md5).
  bool Update(const void* data, size_t size);
  // Waits for every queued byte, then ends the digest: 32 lower-case hex
  // characters, or empty after a failure. Reset before reusing.
  std::string HexDigest();
  // Waits for the queue to drain and starts a new, empty digest.
  void Reset();

 private:
  struct Slot {
    std::vector<unsigned char> bytes;
    size_t used = 0;
  };

  void HashLoop();
  // Hands the filling slot to the hashing thread (if it holds bytes).
  void Submit();
  void WaitIdle(std::unique_lock<std::mutex>& lock);

  Utils::Md5 md5_;                  // touched by the hashing thread only while it runs
  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<Slot*> full_;          // in order, waiting to be hashed
  std::vector<Slot*> free_;
  std::vector<std::unique_ptr<Slot>> slots_;
  Slot* filling_ = nullptr;         // producer's current slot
  bool hashing_ = false;            // the hashing thread holds a slot
  bool failed_ = false;
  bool stop_ = false;
  std::thread worker_;
};
