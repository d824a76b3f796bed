// Connectivity from the network list manager (Vista and later). Where the
// service is missing (XP) the probe answers 0: "connected", so the installer
// never blocks on a system that cannot tell.
#include <windows.h>
#include <ole2.h>

#include "utils/log.h"
#include "utils/network.h"

namespace Utils {

// The interface is declared here because MinGW's netlistmgr.h names the
// property accessors differently from the Windows SDK's (IsConnectedToInternet
// against get_IsConnectedToInternet), so no one spelling builds with both.
// The method order is the documented vtable layout; the methods not called
// take untyped pointers, and the enumerations are passed as 32-bit integers.
// It must not sit in an unnamed namespace: the compiler would see that no
// class in this file implements it and optimise the calls away.
struct INetworkListManagerCalls : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE GetNetworks(int flags, void** networks) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNetwork(GUID id, void** network) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNetworkConnections(void** connections) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNetworkConnection(GUID id, void** connection) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsConnectedToInternet(VARIANT_BOOL* connected) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsConnected(VARIANT_BOOL* connected) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetConnectivity(DWORD* connectivity) = 0;
};

namespace {

const CLSID kClsidNetworkListManager = {
    0xdcb00c01, 0x570f, 0x4a9b, {0x8d, 0x69, 0x19, 0x9f, 0xdb, 0xa5, 0x72, 0x3b}};
const IID kIidNetworkListManager = {
    0xdcb00000, 0x570f, 0x4a9b, {0x8d, 0x69, 0x19, 0x9f, 0xdb, 0xa5, 0x72, 0x3b}};

}  // namespace

uint32_t CheckNetwork() {
  INetworkListManagerCalls* manager = nullptr;
  const HRESULT created = CoCreateInstance(kClsidNetworkListManager, nullptr, CLSCTX_ALL,
                                           kIidNetworkListManager,
                                           reinterpret_cast<void**>(&manager));
  if (FAILED(created) || !manager) return 0;

  DWORD connectivity = kConnectivityDisconnected;
  if (FAILED(manager->GetConnectivity(&connectivity))) connectivity = kConnectivityDisconnected;
  const uint32_t flags = connectivity;
  uint32_t finding = kNetworkConnected;
  if (flags != 0) {
    // A query that fails leaves the answer at "no", like a failed
    // connectivity query counts as no flags.
    VARIANT_BOOL answer = VARIANT_FALSE;
    if (FAILED(manager->get_IsConnectedToInternet(&answer))) answer = VARIANT_FALSE;
    if (answer == VARIANT_FALSE) {
      UTILS_LOG(L"get_IsConnectedToInternet:%d", static_cast<int>(answer));
      finding = kNetworkNotOnInternet;
    }
  } else {
    UTILS_LOG(L"GetConnectivity %d", static_cast<int>(flags));
    finding = kNetworkNoConnectivity;
  }
  manager->Release();
  CoFreeUnusedLibraries();
  return flags + finding * 65536u;
}

}  // namespace Utils
