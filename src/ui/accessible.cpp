#include "ui/accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <atomic>
#include <utility>

#include "ui/com_ptr.h"
#include "win/late_bound.h"

namespace ui {
namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

BSTR AllocString(const std::wstring& text) {
  static auto* const alloc = win::LateBound<decltype(SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
  return alloc != nullptr ? alloc(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

// COM interfaces have no virtual destructor: an object is deleted by its own Release, never
// through an interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The system's object with the window's own traits laid over it. Every question about a child,
// and every one the traits leave open, goes to the system's object unchanged.
class WrappedAccessible final : public IAccessible, public IOleWindow {
 public:
  WrappedAccessible(HWND window, IAccessible* inner, AccessibleTraitsSource traits)
      : window_(window), inner_(inner), traits_(std::move(traits)) {
    inner_->AddRef();
  }
  WrappedAccessible(const WrappedAccessible&) = delete;
  WrappedAccessible& operator=(const WrappedAccessible&) = delete;

  // ---- IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
    } else if (iid == __uuidof(IOleWindow)) {
      *object = static_cast<IOleWindow*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // ---- IOleWindow: WindowFromAccessibleObject asks here
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (window == nullptr) return E_POINTER;
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL /*enter*/) override { return E_NOTIMPL; }

  // ---- IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return inner_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
    return inner_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
    return inner_->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
  }

  // ---- IAccessible: the traits
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (name == nullptr) return E_POINTER;
    if (IsSelf(child)) {
      const AccessibleTraits traits = TraitsNow();
      if (!traits.name.empty()) {
        *name = AllocString(traits.name);
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
      }
    }
    return inner_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (role == nullptr) return E_POINTER;
    if (IsSelf(child)) {
      if (const long own = TraitsNow().role; own != 0) {
        // A number needs no oleaut32 call: the VARIANT holds nothing to free.
        role->vt = VT_I4;
        role->lVal = own;
        return S_OK;
      }
    }
    return inner_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT result = inner_->get_accState(child, state);
    if (SUCCEEDED(result) && state != nullptr && state->vt == VT_I4 && IsSelf(child)) {
      state->lVal |= TraitsNow().addedState;
    }
    return result;
  }

  // ---- IAccessible: the system's answers
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return inner_->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return inner_->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return inner_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return inner_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return inner_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return inner_->get_accHelp(child, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return inner_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return inner_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return inner_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return inner_->get_accSelection(children); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return inner_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return inner_->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return inner_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return inner_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return inner_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return inner_->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return inner_->put_accName(child, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return inner_->put_accValue(child, value);
  }

 private:
  ~WrappedAccessible() { inner_->Release(); }

  // Nothing may leave a COM method by an exception: a failure leaves the system's answers.
  AccessibleTraits TraitsNow() const noexcept {
    try {
      return traits_();
    } catch (...) {
      return {};
    }
  }

  std::atomic<ULONG> references_{1};
  HWND window_;
  IAccessible* inner_;
  AccessibleTraitsSource traits_;
};

#pragma GCC diagnostic pop

// The thread that answers must be in a COM apartment for a client in another process to reach
// the object; a thread already in one (a dialog's, say) keeps it. Joined once, for the thread's
// life: objects handed out stay reachable while the windows live.
bool JoinApartment() {
  static auto* const initialize = win::LateBound<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
  if (initialize == nullptr) return false;
  thread_local const bool joined = [] {
    const HRESULT result = initialize(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
  }();
  return joined;
}

}  // namespace

LRESULT AccessibleObjectAnswer(HWND window, WPARAM flags, LRESULT classAnswer, AccessibleTraitsSource traits) {
  static auto* const createStandard =
      win::LateBound<decltype(CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
  static auto* const toObject = win::LateBound<decltype(ObjectFromLresult)>(L"oleacc.dll", "ObjectFromLresult");
  static auto* const fromObject = win::LateBound<decltype(LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
  if (createStandard == nullptr || toObject == nullptr || fromObject == nullptr || !JoinApartment()) {
    return classAnswer;
  }
  IAccessible* made = nullptr;
  const HRESULT result =
      classAnswer > 0 ? toObject(classAnswer, __uuidof(IAccessible), flags, reinterpret_cast<void**>(&made))
                      : createStandard(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&made));
  if (FAILED(result) || made == nullptr) return 0;
  const ComPtr<IAccessible> inner(made);
  const ComPtr<IAccessible> wrapped(new WrappedAccessible(window, inner.get(), std::move(traits)));
  // LresultFromObject takes its own reference (or a marshalled one) for the client.
  const LRESULT answer = fromObject(__uuidof(IAccessible), flags, wrapped.get());
  return answer > 0 ? answer : 0;  // else a COM error code
}

}  // namespace ui
