#include "collect_sdk/record_store.h"

#include "record_store_state.h"

namespace collect_sdk {

RecordStore::RecordStore(std::string serverUrl, std::string stagingPath)
    : RecordStore(std::move(stagingPath),
                  [url = std::move(serverUrl)](const std::string& json, long timeout) {
                    return SendBatch(url, json, timeout);
                  }) {}

RecordStore::RecordStore(std::string stagingPath, SendFunction send) : state_(std::make_unique<State>()) {
  state_->stagingPath = std::move(stagingPath);
  state_->send = std::move(send);
}

RecordStore::~RecordStore() {
  try {
    state_->StageNow();
  } catch (...) {
    // Nothing can be reported from here; the records are lost.
  }
}

bool RecordStore::Add(const ObjectNode& record) { return AddSerialized(record.ToJson()); }

// Allocation failures here reach the caller (the Sdk catches them).
bool RecordStore::AddSerialized(std::string recordJson) {
  OwnedLock queueGuard(state_->queueLock);
  if (!queueGuard) return false;
  state_->queue.push_back(std::move(recordJson));
  if (state_->queue.size() > kCapacity) state_->queue.pop_front();
  return true;
}

// The flushes never throw: anything escaping (an allocation failure outside
// the send step) counts as a failed flush; a batch in flight was put back.
bool RecordStore::FlushBatch() {
  try {
    return state_->FinishFlush(state_->FlushOneBatch() != State::BatchResult::kFailed);
  } catch (...) {
    return false;
  }
}

bool RecordStore::FlushAll() {
  try {
    state_->LoadStaging();
    for (;;) {
      switch (state_->FlushOneBatch()) {
        case State::BatchResult::kQueueEmpty: return state_->FinishFlush(true);
        case State::BatchResult::kDelivered: break;
        case State::BatchResult::kFailed: return state_->FinishFlush(false);
      }
    }
  } catch (...) {
    return false;
  }
}

bool RecordStore::Stage() {
  try {
    return state_->StageNow();
  } catch (...) {
    return false;
  }
}

size_t RecordStore::Size() const {
  OwnedLock queueGuard(state_->queueLock);
  return queueGuard ? state_->queue.size() : 0;
}

std::vector<std::string> RecordStore::Snapshot() const {
  OwnedLock queueGuard(state_->queueLock);
  if (!queueGuard) return {};
  return std::vector<std::string>(state_->queue.begin(), state_->queue.end());
}

const std::string& RecordStore::StagingPath() const { return state_->stagingPath; }

}  // namespace collect_sdk
