// KvTrackerImpl: configuration, initialisation, destruction, locale and the
// common properties. The tracking operations are in kv_tracker_events.cpp.
#include "kv_tracker_impl.h"

#include "collect_sdk/sdk.h"
#include "system_texts.h"
#include "utils/desktop_info.h"
#include "utils/folders.h"
#include "utils/text.h"

#ifndef KELVO_TRACKER_COLLECTION_HOST
#define KELVO_TRACKER_COLLECTION_HOST "https://collect.kelvosoft.com"
#endif

namespace kelvo {
namespace tracker {

namespace {

constexpr char kSdkVersion[] = "3.3.8";
constexpr char kSdkName[] = "WindowsCPP";

// The primary screen does not change for the tracker's purposes: read once.
void ScreenSize(int& width, int& height) {
  static int w = -1, h = -1;
  static const bool read = (Utils::GetPrimaryScreenSize(w, h), true);
  (void)read;
  width = w;
  height = h;
}

}  // namespace

std::string DefaultServerUrl() { return std::string(KELVO_TRACKER_COLLECTION_HOST) + "/sa?project=pc"; }

KvTrackerImpl::KvTrackerImpl(const TrackerConfig& c)
    : appName_(NormaliseText(c.appName)),
      appVersion_(NormaliseText(c.appVersion)),
      appStore_(NormaliseText(c.appStore)),
      dlAppId_(NormaliseText(c.dlAppId)),
      dlAppVersion_(NormaliseText(c.dlAppVersion)),
      logPath_(NormaliseText(c.logPath)),
      serverUrl_(NormaliseText(c.serverUrl)),
      edition_(c.edition) {}

void KvTrackerImpl::initialize() {
  if (appName_.empty()) KV_THROW("appName is empty");
  if (appVersion_.empty()) KV_THROW("appVersion is empty");
  if (appStore_.empty()) KV_THROW("appStore is empty");
  policy_.SetPending(0);

  const std::wstring wideName = Utils::Utf8ToWide(appName_);
  paths_ = ResolveTrackerPaths(wideName, ReadPointerFileCandidate(Utils::GetModulePath()));
  if (serverUrl_.empty()) serverUrl_ = DefaultServerUrl();

  identity_ = LoadIdentity(paths_.identityFile);
  ResetIdentityForUrl(identity_, serverUrl_, paths_.identityFile);

  if (logPath_.empty()) logPath_ = Utils::WideToUtf8(paths_.logFile);
  logger_ = std::make_unique<NativeTrackLogger>();
  logger_->Open(logPath_);

  const std::string& distinct = identity_.isLogined ? identity_.userId : identity_.distinctId;
  if (!collect_sdk::Sdk::Init(Utils::WideToUtf8(paths_.stagingFile), serverUrl_, distinct,
                              identity_.isLogined)) {
    KV_THROW("collect_sdk::Sdk::Init is failed");
  }
  sdkStarted_ = true;

  osVersion_ = OsVersionText();
  Props common;
  BuildCommonProperties(common);  // throws for an unknown edition
  collect_sdk::Sdk::MergeSuperProperties(common);

  WriteApplicationRecord(paths_.identityFile, appStore_, appName_, appVersion_);
}

KvTrackerImpl::~KvTrackerImpl() {
  // Nothing may escape a destructor; the steps that can fail only touch
  // files and the network, and report nothing.
  try {
    if (!paths_.identityFile.empty()) WriteIdentity(paths_.identityFile, identity_);
    if (sdkStarted_) {
      policy_.FlushAtDestruction();
      collect_sdk::Sdk::Shutdown();  // stages what is still unsent
    }
  } catch (...) {
  }
  logger_.reset();
}

void KvTrackerImpl::BuildCommonProperties(Props& p) const {
  const std::string os = OsName();
  p.SetString("kv_app_id", appName_);
  p.SetString("$app_version", appVersion_);
  p.SetString("$app_id", appName_);
  p.SetString("kv_app_store", appStore_);
  p.SetString("kv_edition", toString(static_cast<KvEdition>(edition_)));
  if (!dlAppId_.empty()) p.SetString("kv_dlapp_id", dlAppId_);
  if (!dlAppVersion_.empty()) p.SetString("kv_dlapp_version", dlAppVersion_);
  p.SetString("kv_app_platform", os);
  p.SetString("kv_track_type", "Client");
  p.SetString("kv_sdk_version", kSdkVersion);
  p.SetString("kv_sdk", kSdkName);
  p.SetString("$os", os);
  p.SetString("$os_version", osVersion_);
  const LocaleTexts locale = ComputeLocaleTexts(locale_);
  p.SetString("kv_l10n_locale", locale.locale);
  p.SetString("kv_l10n_language", locale.language);
  p.SetString("kv_l10n_country", locale.country);
  int width = 0, height = 0;
  ScreenSize(width, height);
  p.SetNumber("$screen_height", height);
  p.SetNumber("$screen_width", width);
  if (!identity_.userId.empty()) p.SetString("kv_user_id", identity_.userId);
}

void KvTrackerImpl::setLocale(const std::string& locale) {
  locale_ = NormaliseText(locale);
  const LocaleTexts t = ComputeLocaleTexts(locale_);
  Props p;
  p.SetString("kv_l10n_locale", t.locale);
  p.SetString("kv_l10n_language", t.language);
  p.SetString("kv_l10n_country", t.country);
  collect_sdk::Sdk::MergeSuperProperties(p);
}

}  // namespace tracker
}  // namespace kelvo
