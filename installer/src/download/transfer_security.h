// The policy of every package transfer: TLS verification and a limit on
// redirections.
//
// Each libcurl handle of the downloaders passes through ApplyTransferPolicy
// before it is performed: peer and host name are verified, and when a CA
// bundle is named (SetPackageCaBundle, else the environment variable
// TARNVELL_CA_BUNDLE) libcurl trusts exactly that PEM file instead of the
// system's store. Tests and tv-download name a test CA this way.
//
// Thread safety: SetPackageCaBundle is called before any download starts
// (tests, tool start-up); ApplyTransferPolicy from any thread.
#pragma once

#include <string>

#include <curl/curl.h>

// Names the CA bundle for all later transfers; empty returns to the
// environment variable, then the system's store.
inline constexpr long kMaxRedirects = 20;

void SetPackageCaBundle(const std::string& pemPath);

// Sets CURLOPT_SSL_VERIFYPEER 1, CURLOPT_SSL_VERIFYHOST 2 and, when a bundle
// is named, CURLOPT_CAINFO; and limits redirections to kMaxRedirects, so a
// server that redirects in a loop ends the request instead of holding it
// forever. Returns the combined option results.
CURLcode ApplyTransferPolicy(CURL* handle);
