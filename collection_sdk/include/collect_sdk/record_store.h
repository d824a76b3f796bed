// RecordStore: the queue of serialized records, its staging file, and the
// batched sending to the collector.
//
// The queue holds at most 1024 records (the oldest is dropped on overflow)
// as compact JSON texts, oldest first. A flush sends batches of up to 30
// records in queue order; a batch that fails (transport error, timeout,
// status other than 200, compression failure, or an exception while the
// batch is out of the queue) goes back to the front of the queue in order,
// as far as there is room, newest records of the batch kept first.
//
// Staging file: one record per line, lines ended by CR LF; on reading, a
// line that does not begin with "{" and end with "}" is ignored. The file is
// read once, by the first flush (or the destruction), and its last lines that
// fit are put in front of the queue; then it is emptied. The destructor
// writes the queue to it. Every write replaces the file atomically
// (temporary file, flushed to disk, renamed), so a crash while storing
// leaves the previous content intact.
//
// Locks: a flush lock (one batch in flight at a time) and a queue lock,
// always taken in that order. The transfer runs under the flush lock only,
// so Add never waits for the network. On a thread with a CrashPathScope
// every lock is a bounded try-lock (see crash_path.h).
//
// Thread safety: Add, the flushes, Stage and the observers may be called
// from any thread concurrently. The flushes block for the network (3 s per
// batch at most). Destruction must not race with other calls.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "collect_sdk/value_node.h"

namespace collect_sdk {

class RecordStore {
 public:
  static constexpr size_t kCapacity = 1024;
  static constexpr size_t kBatchSize = 30;

  // The send step: gets the JSON array text of one batch and a transfer
  // timeout, answers true when the batch was delivered. May throw; a throw
  // counts as a failed batch.
  using SendFunction = std::function<bool(const std::string& batchJson, long timeoutMilliseconds)>;

  // Sends to serverUrl over HTTP (SendBatch). stagingPath is UTF-8. No I/O
  // happens here.
  RecordStore(std::string serverUrl, std::string stagingPath);
  // Same queue and staging rules with another send step (tests, benchmarks).
  RecordStore(std::string stagingPath, SendFunction send);
  // Stages the queue (loading the file first if no flush ever did).
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // Serializes the record and appends it. Never blocks on the network.
  // False only on a crash path that could not get the queue lock in time
  // (the record is dropped).
  bool Add(const ObjectNode& record);
  // Appends an already serialized record.
  bool AddSerialized(std::string recordJson);

  // Sends the whole queue; true when it is empty at the end, false after the
  // first failed batch (which is back in the queue).
  bool FlushAll();
  // Sends one batch; true when the queue was empty or the batch delivered.
  bool FlushBatch();
  // Writes the queue to the staging file now (loading pending staged lines
  // first); the queue keeps its records. True when the file was written.
  bool Stage();

  size_t Size() const;
  std::vector<std::string> Snapshot() const;  // queue copy, oldest first
  const std::string& StagingPath() const;

  struct State;  // defined in the implementation

 private:
  friend class RecordStoreTestPeer;  // lets tests hold the locks
  std::unique_ptr<State> state_;
};

}  // namespace collect_sdk
