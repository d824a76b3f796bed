// The record store's state and steps, shared by record_store.cpp and the
// tests that hold its locks (RecordStoreTestPeer).
#pragma once

#include <algorithm>
#include <deque>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "bounded_lock.h"
#include "collect_sdk/batch_body.h"
#include "collect_sdk/crash_path.h"
#include "collect_sdk/http_sender.h"
#include "collect_sdk/record_store.h"
#include "staging_file.h"
#include "stderr_line.h"

namespace collect_sdk {

struct RecordStore::State {
  std::string stagingPath;
  SendFunction send;
  OwnedMutex flushLock;  // taken before queueLock, never after it
  OwnedMutex queueLock;  // guards queue, loadPending and the staging file
  std::deque<std::string> queue;
  bool loadPending = true;

  // Queue lock held. Puts the staged records in front of the queue, once.
  void LoadStagingLocked() {
    if (!loadPending) return;
    const size_t room = kCapacity - std::min(queue.size(), kCapacity);
    if (room > 0) {
      std::vector<std::string> staged = ReadStagingRecords(stagingPath, room);
      queue.insert(queue.begin(), std::make_move_iterator(staged.begin()),
                   std::make_move_iterator(staged.end()));
    }
    TruncateStaging(stagingPath);
    loadPending = false;
  }

  void LoadStaging() {
    OwnedLock queueGuard(queueLock);
    if (queueGuard) LoadStagingLocked();
  }

  // Queue lock taken here. The newest records of a failed batch go back to
  // the front, in order, as far as there is room.
  void PutBack(std::vector<std::string>& batch) {
    OwnedLock queueGuard(queueLock);
    if (!queueGuard) return;
    const size_t room = kCapacity - std::min(queue.size(), kCapacity);
    const size_t keep = std::min(room, batch.size());
    queue.insert(queue.begin(), std::make_move_iterator(batch.end() - static_cast<std::ptrdiff_t>(keep)),
                 std::make_move_iterator(batch.end()));
  }

  // Transfer timeout: the usual 3 s, or what is left on the crash path
  // (0: do not start a transfer).
  static long TransferTimeout() {
    if (!CrashPathScope::Active()) return HttpSender::kTimeoutMilliseconds;
    return std::min<long>(HttpSender::kTimeoutMilliseconds,
                          static_cast<long>(CrashPathScope::RemainingMilliseconds()));
  }

  // Sends one batch already taken out of the queue. Whatever happens -
  // failed send, exception from building or sending - a batch that was not
  // delivered goes back to the queue rather than being lost.
  bool SendTaken(std::vector<std::string>& batch) {
    bool delivered = false;
    try {
      const long timeout = TransferTimeout();
      if (timeout > 0) delivered = send(BuildBatchJson(batch), timeout);
    } catch (const std::exception& error) {
      WriteStandardError(std::string("Exception when flush failed: (") + error.what() + ") ");
      delivered = false;
    } catch (...) {
      WriteStandardError("Exception when flush failed: (unknown error) ");
      delivered = false;
    }
    if (!delivered) PutBack(batch);
    return delivered;
  }

  enum class BatchResult { kQueueEmpty, kDelivered, kFailed };

  BatchResult FlushOneBatch() {
    LoadStaging();
    OwnedLock flushGuard(flushLock);
    if (!flushGuard) return BatchResult::kFailed;
    std::vector<std::string> batch;
    {
      OwnedLock queueGuard(queueLock);
      if (!queueGuard) return BatchResult::kFailed;
      const size_t n = std::min(queue.size(), kBatchSize);
      if (n == 0) return BatchResult::kQueueEmpty;
      batch.reserve(n);  // the moves below cannot throw once this succeeded
      for (size_t i = 0; i < n; ++i) {
        batch.push_back(std::move(queue.front()));
        queue.pop_front();
      }
    }
    return SendTaken(batch) ? BatchResult::kDelivered : BatchResult::kFailed;
  }

  bool StageNow() {
    OwnedLock queueGuard(queueLock);
    if (!queueGuard) return false;
    LoadStagingLocked();
    return WriteStaging(stagingPath, queue);
  }

  // On the crash path the process is not going to reach its orderly
  // shutdown: whatever the flush left in the queue is staged now (an empty
  // queue empties the file, whose records were loaded and sent).
  bool FinishFlush(bool result) {
    if (CrashPathScope::Active()) StageNow();
    return result;
  }
};

}  // namespace collect_sdk
