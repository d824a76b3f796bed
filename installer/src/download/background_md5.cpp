#include "background_md5.h"

#include <algorithm>
#include <cstring>

BackgroundMd5::BackgroundMd5() {
  for (size_t i = 0; i < kSlots; ++i) {
    slots_.push_back(std::make_unique<Slot>());
    free_.push_back(slots_.back().get());
  }
}

BackgroundMd5::~BackgroundMd5() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stop_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

bool BackgroundMd5::Update(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    if (filling_ == nullptr) {
      std::unique_lock<std::mutex> lock(lock_);
      if (failed_) return false;
      if (!worker_.joinable()) worker_ = std::thread(&BackgroundMd5::HashLoop, this);
      changed_.wait(lock, [this] { return !free_.empty() || failed_; });
      if (failed_) return false;
      filling_ = free_.back();
      free_.pop_back();
      if (filling_->bytes.size() != kSlotBytes) filling_->bytes.resize(kSlotBytes);
      filling_->used = 0;
    }
    const size_t n = std::min(size, kSlotBytes - filling_->used);
    std::memcpy(filling_->bytes.data() + filling_->used, bytes, n);
    filling_->used += n;
    bytes += n;
    size -= n;
    if (filling_->used == kSlotBytes) Submit();
  }
  std::lock_guard<std::mutex> guard(lock_);
  return !failed_;
}

void BackgroundMd5::Submit() {
  if (filling_ == nullptr) return;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (filling_->used > 0) {
      full_.push_back(filling_);
    } else {
      free_.push_back(filling_);
    }
  }
  filling_ = nullptr;
  changed_.notify_all();
}

void BackgroundMd5::WaitIdle(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] { return full_.empty() && !hashing_; });
}

std::string BackgroundMd5::HexDigest() {
  Submit();
  std::unique_lock<std::mutex> lock(lock_);
  WaitIdle(lock);
  if (failed_) return std::string();
  return md5_.HexDigest();  // the hashing thread is idle: safe to touch
}

void BackgroundMd5::Reset() {
  if (filling_ != nullptr) {
    std::lock_guard<std::mutex> guard(lock_);
    free_.push_back(filling_);
    filling_ = nullptr;
  }
  std::unique_lock<std::mutex> lock(lock_);
  WaitIdle(lock);
  md5_.Reset();
  failed_ = false;
}

void BackgroundMd5::HashLoop() {
  std::unique_lock<std::mutex> lock(lock_);
  for (;;) {
    changed_.wait(lock, [this] { return stop_ || !full_.empty(); });
    if (full_.empty()) return;  // stopping with nothing left
    Slot* slot = full_.front();
    full_.pop_front();
    hashing_ = true;
    const bool skip = failed_;
    lock.unlock();
    const bool ok = skip || md5_.Update(slot->bytes.data(), slot->used);
    lock.lock();
    hashing_ = false;
    if (!ok) failed_ = true;
    free_.push_back(slot);
    changed_.notify_all();
  }
}
