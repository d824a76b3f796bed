#include "collect_sdk/sdk.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <shared_mutex>

#include "bounded_lock.h"
#include "collect_sdk/record_store.h"
#include "collect_sdk/validation.h"

namespace collect_sdk {

namespace {

struct Instance {
  OwnedMutex stateLock;  // identity and super properties; a leaf lock
  PropertiesNode superProperties;
  std::string distinctId;
  bool isLoginId = false;
  std::unique_ptr<RecordStore> store;
};

// The process-wide instance. Tracking calls hold the lock shared for their
// whole run, so Shutdown (exclusive) never frees an instance in use.
std::shared_mutex gInstanceLock;
Instance* gInstance = nullptr;

// Pseudo-random source of the record ids: splitmix64 over an atomic
// counter, so concurrent tracking calls need no lock.
std::atomic<uint64_t> gRandomState{0x2545F4914F6CDD1DULL};

uint64_t NextRandom() {
  uint64_t z = gRandomState.fetch_add(0x9E3779B97F4A7C15ULL) + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

int64_t NowMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string CurrentDistinctId(Instance& instance, bool* ok) {
  OwnedLock state(instance.stateLock);
  *ok = static_cast<bool>(state);
  return state ? instance.distinctId : std::string();
}

// Checks, then builds the working properties and the record, and queues it.
bool AddEventOn(Instance& instance, const std::string& type, const std::string& event,
                const PropertiesNode& properties, const std::string& distinctId,
                const std::string& originalId) {
  if (!properties.Check()) return false;
  if (type == "track" && !CheckName("Event Name", event)) return false;
  if (type == "track_signup" && !CheckId("Original ID", originalId)) return false;

  PropertiesNode working;
  bool isLoginId = false;
  {
    OwnedLock state(instance.stateLock);
    if (!state) return false;
    if (type.find("track") != std::string::npos) working.Merge(instance.superProperties);
    isLoginId = instance.isLoginId;
  }
  working.Merge(properties);

  const int64_t now = NowMilliseconds();
  int64_t time = now;
  if (const ValueNode* t = working.Find("$time")) {
    time = t->AsDateTime().seconds * 1000 + t->AsDateTime().milliseconds;
    working.Remove("$time");
  }
  std::string project;
  if (const ValueNode* p = working.Find("$project")) {
    project = p->AsString();
    working.Remove("$project");
  }
  if (isLoginId) working.SetBool("$is_login_id", true);

  ObjectNode lib;
  lib.SetValue("$lib", ValueNode::String(kLibName));
  lib.SetValue("$lib_version", ValueNode::String(kLibVersion));
  lib.SetValue("$lib_method", ValueNode::String("code"));

  ObjectNode record;
  record.SetValue("type", ValueNode::String(type));
  record.SetInt("time", time);
  record.SetValue("distinct_id", ValueNode::String(distinctId));
  record.SetObject("properties", std::move(working));
  record.SetObject("lib", std::move(lib));
  record.SetInt("_track_id", NewRecordId(now));
  if (!project.empty()) record.SetValue("project", ValueNode::String(project));
  if (type == "track" || type == "track_signup") record.SetValue("event", ValueNode::String(event));
  if (type == "track_signup") record.SetValue("original_id", ValueNode::String(originalId));
  return instance.store->Add(record);
}

// Runs an operation on the instance under the shared lock; false when there
// is none, when the crash path could not get the lock, or when the
// operation throws (the SDK never throws to its caller).
template <typename Operation>
bool WithInstance(Operation operation) {
  try {
    SharedAccess access(gInstanceLock, false);
    if (!access || gInstance == nullptr) return false;
    return operation(*gInstance);
  } catch (...) {
    return false;
  }
}

bool TrackAs(const std::string& type, const std::string& event, const PropertiesNode& properties) {
  return WithInstance([&](Instance& instance) {
    bool ok = false;
    const std::string distinctId = CurrentDistinctId(instance, &ok);
    return ok && AddEventOn(instance, type, event, properties, distinctId, std::string());
  });
}

template <typename Value>
PropertiesNode OneEntry(const std::string& key, const Value& value) {
  PropertiesNode node;
  if constexpr (std::is_same_v<Value, std::string>) {
    node.SetString(key, value);
  } else {
    node.SetNumber(key, value);
  }
  return node;
}

}  // namespace

int64_t NewRecordId(int64_t nowMilliseconds) {
  const int64_t r1 = static_cast<int64_t>(NextRandom() % 99 + 100) % 100;
  const int64_t r2 = static_cast<int64_t>(NextRandom() % 999 + 1000) % 1000;
  int64_t r3 = nowMilliseconds % 10000;
  if (r3 < 0) r3 += 10000;
  return (r1 * 1000 + r2) * 10000 + r3;
}

bool Sdk::Init(const std::string& stagingPath, const std::string& serverUrl, const std::string& distinctId,
               bool isLoginId) {
  try {
    if (!CheckId("Distinct ID", distinctId)) return false;
    SharedAccess access(gInstanceLock, true);
    if (!access) return false;
    if (gInstance != nullptr) return true;
    auto instance = std::make_unique<Instance>();
    instance->superProperties.SetString("$lib", kLibName);
    instance->superProperties.SetString("$lib_version", kLibVersion);
    instance->distinctId = distinctId;
    instance->isLoginId = isLoginId;
    instance->store = std::make_unique<RecordStore>(serverUrl, stagingPath);
    gRandomState.store(static_cast<uint64_t>(NowMilliseconds() / 1000));
    gInstance = instance.release();
    return true;
  } catch (...) {
    return false;
  }
}

bool Sdk::IsInitialized() {
  return WithInstance([](Instance&) { return true; });
}

bool Sdk::Track(const std::string& event, const PropertiesNode& properties) {
  return TrackAs("track", event, properties);
}

bool Sdk::TrackSignUp(const std::string& loginId) {
  return WithInstance([&](Instance& instance) {
    bool ok = false;
    const std::string originalId = CurrentDistinctId(instance, &ok);
    if (!ok) return false;
    const bool accepted = AddEventOn(instance, "track_signup", "$SignUp", PropertiesNode(), loginId, originalId);
    OwnedLock state(instance.stateLock);
    if (state) {
      instance.distinctId = loginId;
      instance.isLoginId = true;
    }
    return accepted;
  });
}

bool Sdk::TrackInstallation(const std::string& event, const PropertiesNode& properties) {
  PropertiesNode merged;
  merged.SetString("$ios_install_source", "");
  merged.Merge(properties);
  return TrackAs("track", event, merged);
}

bool Sdk::ProfileSet(const PropertiesNode& properties) { return TrackAs("profile_set", "", properties); }
bool Sdk::ProfileSet(const std::string& key, const std::string& value) { return ProfileSet(OneEntry(key, value)); }
bool Sdk::ProfileSet(const std::string& key, int value) { return ProfileSet(OneEntry(key, value)); }
bool Sdk::ProfileSet(const std::string& key, double value) { return ProfileSet(OneEntry(key, value)); }

bool Sdk::ProfileSetOnce(const PropertiesNode& properties) {
  return TrackAs("profile_set_once", "", properties);
}
bool Sdk::ProfileSetOnce(const std::string& key, const std::string& value) {
  return ProfileSetOnce(OneEntry(key, value));
}
bool Sdk::ProfileSetOnce(const std::string& key, int value) { return ProfileSetOnce(OneEntry(key, value)); }
bool Sdk::ProfileSetOnce(const std::string& key, double value) { return ProfileSetOnce(OneEntry(key, value)); }

bool Sdk::ProfileIncrement(const PropertiesNode& properties) {
  return TrackAs("profile_increment", "", properties);
}
bool Sdk::ProfileIncrement(const std::string& key, int value) { return ProfileIncrement(OneEntry(key, value)); }

bool Sdk::ProfileAppend(const std::string& key, const std::string& value) {
  PropertiesNode node;
  node.SetList(key, {value});
  return TrackAs("profile_append", "", node);
}

void Sdk::SetDistinctId(const std::string& distinctId, bool isLoginId) {
  WithInstance([&](Instance& instance) {
    OwnedLock state(instance.stateLock);
    if (!state) return false;
    instance.distinctId = distinctId;
    instance.isLoginId = isLoginId;
    return true;
  });
}

std::string Sdk::GetDistinctId() {
  std::string id;
  WithInstance([&](Instance& instance) {
    bool ok = false;
    id = CurrentDistinctId(instance, &ok);
    return ok;
  });
  return id;
}

bool Sdk::IsLoginId() {
  return WithInstance([](Instance& instance) {
    OwnedLock state(instance.stateLock);
    return state && instance.isLoginId;
  });
}

void Sdk::MergeSuperProperties(const PropertiesNode& properties) {
  WithInstance([&](Instance& instance) {
    OwnedLock state(instance.stateLock);
    if (!state) return false;
    instance.superProperties.Merge(properties);
    return true;
  });
}

PropertiesNode Sdk::GetSuperProperties() {
  PropertiesNode copy;
  WithInstance([&](Instance& instance) {
    OwnedLock state(instance.stateLock);
    if (!state) return false;
    copy = instance.superProperties;
    return true;
  });
  return copy;
}

bool Sdk::FlushAll() {
  return WithInstance([](Instance& instance) { return instance.store->FlushAll(); });
}

bool Sdk::FlushBatch() {
  return WithInstance([](Instance& instance) { return instance.store->FlushBatch(); });
}

bool Sdk::Stage() {
  return WithInstance([](Instance& instance) { return instance.store->Stage(); });
}

size_t Sdk::QueuedRecordCount() {
  size_t count = 0;
  WithInstance([&](Instance& instance) {
    count = instance.store->Size();
    return true;
  });
  return count;
}

void Sdk::Shutdown() {
  try {
    SharedAccess access(gInstanceLock, true);
    if (!access || gInstance == nullptr) return;
    std::unique_ptr<Instance> instance(gInstance);
    gInstance = nullptr;
    instance->store.reset();  // stages the unsent records
    instance->superProperties.Clear();
  } catch (...) {
  }
}

bool Sdk::AddEvent(const std::string& type, const std::string& event, const PropertiesNode& properties,
                   const std::string& distinctId, const std::string& originalId) {
  return WithInstance([&](Instance& instance) {
    return AddEventOn(instance, type, event, properties, distinctId, originalId);
  });
}

}  // namespace collect_sdk
