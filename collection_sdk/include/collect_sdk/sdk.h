// Sdk: the one process-wide collection SDK instance (library "cpp", version
// "0.9"): validates tracking calls, merges the super properties, stamps each
// record (time, record id, library description) and queues it in the
// RecordStore, which sends it.
//
// All operations are static and act on the process-wide instance, which
// exists from the first successful Init until Shutdown; while there is none
// every operation does nothing (and returns false / empty). Nothing here
// throws: a refused call writes one message to standard error, drops the
// record and returns false.
//
// Record layout (keys in this order, absent ones skipped): "_track_id",
// "distinct_id", "event" (track/track_signup), "lib", "original_id"
// (track_signup), "project" (when "$project" was given), "properties",
// "time", "type".
//
// Thread safety: every operation may be called from any thread. Tracking
// calls run concurrently (they share the instance lock and take the short
// state lock only to copy the identity and super properties); Shutdown
// waits for calls in progress. Tracking calls never block on the network;
// FlushAll/FlushBatch do. On a thread with a CrashPathScope all of them are
// bounded (crash_path.h).
// Lock order: instance lock (shared; exclusive in Init/Shutdown) -> store's
// flush lock -> store's queue lock. The state lock is never held together
// with another lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "collect_sdk/value_node.h"

namespace collect_sdk {

constexpr const char* kLibName = "cpp";
constexpr const char* kLibVersion = "0.9";

class Sdk {
 public:
  // Checks distinctId under "Distinct ID" (false, nothing created, when it
  // fails). Creates the instance when there is none: super properties
  // {"$lib":"cpp","$lib_version":"0.9"}, the identity, and a RecordStore
  // bound to serverUrl and stagingPath (UTF-8; read by the first flush).
  // A second Init leaves the existing instance unchanged and returns true.
  static bool Init(const std::string& stagingPath, const std::string& serverUrl,
                   const std::string& distinctId, bool isLoginId);
  static bool IsInitialized();

  // "track" record with the current distinct id.
  static bool Track(const std::string& event, const PropertiesNode& properties);
  // "track_signup" record, event "$SignUp", original id = current distinct
  // id; afterwards (accepted or not) the distinct id becomes loginId and
  // the is-login flag true.
  static bool TrackSignUp(const std::string& loginId);
  // "track" record whose properties start as {"$ios_install_source": ""}
  // with the given properties merged over it.
  static bool TrackInstallation(const std::string& event, const PropertiesNode& properties);

  // Profile records: no event name, no super properties.
  static bool ProfileSet(const PropertiesNode& properties);
  static bool ProfileSet(const std::string& key, const std::string& value);
  static bool ProfileSet(const std::string& key, int value);
  static bool ProfileSet(const std::string& key, double value);
  static bool ProfileSetOnce(const PropertiesNode& properties);
  static bool ProfileSetOnce(const std::string& key, const std::string& value);
  static bool ProfileSetOnce(const std::string& key, int value);
  static bool ProfileSetOnce(const std::string& key, double value);
  static bool ProfileIncrement(const PropertiesNode& properties);
  static bool ProfileIncrement(const std::string& key, int value);
  static bool ProfileAppend(const std::string& key, const std::string& value);  // LIST of one

  // The tracker's direct identity update after a login.
  static void SetDistinctId(const std::string& distinctId, bool isLoginId);
  static std::string GetDistinctId();
  static bool IsLoginId();
  // Merges into the super properties (replacing same-named entries).
  static void MergeSuperProperties(const PropertiesNode& properties);
  static PropertiesNode GetSuperProperties();  // a copy

  // The record store's flushes (record_store.h); false without an instance.
  static bool FlushAll();
  static bool FlushBatch();
  // Writes the queue to the staging file now; false without an instance.
  static bool Stage();
  static size_t QueuedRecordCount();

  // Destroys the record store (which stages unsent records), the super
  // properties and the instance. Waits for calls in progress.
  static void Shutdown();

  // The general operation behind all of the above: checks, builds the record
  // and queues it. type is "track", "track_signup" or a profile type.
  static bool AddEvent(const std::string& type, const std::string& event,
                       const PropertiesNode& properties, const std::string& distinctId,
                       const std::string& originalId);
};

// A record id: 2 digits of rand()%99+100, 3 digits of rand()%999+1000 and
// the last 4 digits of the time in milliseconds, read as one decimal
// number (0..989989999). Thread safe.
int64_t NewRecordId(int64_t nowMilliseconds);

}  // namespace collect_sdk
