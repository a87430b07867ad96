#include "support/accessibility.h"

#include <ole2.h>
#include <oleacc.h>

#include "win/late_bound.h"

namespace {

VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

long NumberOf(HRESULT result, const VARIANT& value) { return SUCCEEDED(result) && value.vt == VT_I4 ? value.lVal : 0; }

}  // namespace

AccessibleClient::AccessibleClient(HWND window) {
  static auto* const initialize = win::LateBound<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
  static auto* const fromWindow =
      win::LateBound<decltype(AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow");
  if (initialize == nullptr || fromWindow == nullptr) return;
  (void)initialize(nullptr, COINIT_APARTMENTTHREADED);  // S_FALSE from the second time on
  if (FAILED(fromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                        reinterpret_cast<void**>(&object_)))) {
    object_ = nullptr;
  }
}

AccessibleClient::~AccessibleClient() {
  if (object_ != nullptr) object_->Release();
}

std::wstring AccessibleClient::Name() const {
  static auto* const freeString = win::LateBound<decltype(SysFreeString)>(L"oleaut32.dll", "SysFreeString");
  if (object_ == nullptr) return {};
  BSTR name = nullptr;
  if (FAILED(object_->get_accName(Self(), &name)) || name == nullptr) return {};
  std::wstring text(name);
  freeString(name);
  return text;
}

long AccessibleClient::Role() const {
  if (object_ == nullptr) return 0;
  VARIANT role{};
  return NumberOf(object_->get_accRole(Self(), &role), role);
}

long AccessibleClient::State() const {
  if (object_ == nullptr) return 0;
  VARIANT state{};
  return NumberOf(object_->get_accState(Self(), &state), state);
}
