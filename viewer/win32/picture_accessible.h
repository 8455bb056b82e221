#pragma once

#include <oleacc.h>
#include <windows.h>

#include <atomic>
#include <memory>

#include "viewer/picture_description.h"

namespace inkpane {

// Lets go of a COM object's reference.
struct ComReleaser {
  void operator()(IUnknown* object) const { object->Release(); }
};

// The window's client area as Active Accessibility sees it: the system's own
// client object, which knows the window, its caption and its place, holding
// one simple element, the picture, with its own role, name, description and
// states. The picture is a child rather than the client object itself so
// that the client keeps what the system says of it, and so that a screen
// reader, and UI Automation through its proxy for Active Accessibility, find
// a graphic in the window, which holds the keyboard focus.
//
// Clients in other processes hold it for as long as they like, so it lives
// by its reference count; the window holds one reference and disconnects it
// when it goes, after which every call fails as for an object that is gone.
class PictureAccessible final : public IAccessible {
 public:
  // The picture's child id under the client object.
  static constexpr LONG kPictureChild = 1;

  // Holding the one reference there is; null when the system makes no client
  // object for the window.
  static std::unique_ptr<PictureAccessible, ComReleaser> Make(HWND window, const PictureDescription& picture);
  // `standard` is the system's client object, to which it leaves what it
  // does not answer itself.
  PictureAccessible(HWND window, const PictureDescription& picture, std::unique_ptr<IAccessible, ComReleaser> standard);
  PictureAccessible(const PictureAccessible&) = delete;
  PictureAccessible& operator=(const PictureAccessible&) = delete;

  void Disconnect();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** typeInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID unused, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID unused, LCID locale, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* wrongArgument) override;

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpFile, VARIANT child, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  // Only Release ends it, when the last reference goes; it is made with
  // std::make_unique, whose pointer's deleter must reach the destructor.
  friend struct std::default_delete<PictureAccessible>;
  ~PictureAccessible() = default;

  // Both null once disconnected.
  HWND window_;
  const PictureDescription* picture_;
  std::unique_ptr<IAccessible, ComReleaser> standard_;
  std::atomic<ULONG> references_ = 1;
};

}  // namespace inkpane
