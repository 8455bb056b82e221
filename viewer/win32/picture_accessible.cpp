#include "viewer/win32/picture_accessible.h"

#include <string_view>
#include <utility>

#include "platform/user32/accessible_iid.h"
#include "platform/win32/wide_string.h"

namespace inkpane {
namespace {

enum class Part { Client, Picture, None };

Part PartOf(const VARIANT& child) {
  if (child.vt != VT_I4) return Part::None;
  if (child.lVal == CHILDID_SELF) return Part::Client;
  return child.lVal == PictureAccessible::kPictureChild ? Part::Picture : Part::None;
}

// Answers for the client object itself or for the picture; a child the
// client does not have is refused, and so is every call once the window is
// gone.
template <typename ForClient, typename ForPicture>
HRESULT AnswerFor(bool connected, const VARIANT& child, ForClient forClient, ForPicture forPicture) {
  if (!connected) return RPC_E_DISCONNECTED;
  switch (PartOf(child)) {
    case Part::Client:
      return forClient();
    case Part::Picture:
      return forPicture();
    case Part::None:
      break;
  }
  return E_INVALIDARG;
}

HRESULT Answer(std::string_view text, BSTR* answer) {
  if (answer == nullptr) return E_POINTER;
  *answer = nullptr;
  if (text.empty()) return S_FALSE;
  *answer = SysAllocString(Widen(text).c_str());
  return *answer != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT Answer(LONG number, VARIANT* answer) {
  if (answer == nullptr) return E_POINTER;
  VariantInit(answer);
  answer->vt = VT_I4;
  answer->lVal = number;
  return S_OK;
}

HRESULT NoAnswer(VARIANT* answer) {
  if (answer == nullptr) return E_POINTER;
  VariantInit(answer);
  return S_FALSE;
}

// The picture has no value, help, shortcut or action of its own.
HRESULT NotThePictures(BSTR* answer) {
  if (answer != nullptr) *answer = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

// The picture is shown in the whole client area, from its top-left corner.
RECT ClientAreaOnScreen(HWND window) {
  RECT area{};
  GetClientRect(window, &area);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

}  // namespace

std::unique_ptr<PictureAccessible, ComReleaser> PictureAccessible::Make(HWND window,
                                                                        const PictureDescription& picture) {
  void* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, kIidAccessible, &standard))) return nullptr;
  std::unique_ptr<IAccessible, ComReleaser> held(static_cast<IAccessible*>(standard));
  // Its life is its reference count from here on: released, not deleted.
  return std::unique_ptr<PictureAccessible, ComReleaser>(
      std::make_unique<PictureAccessible>(window, picture, std::move(held)).release());
}

PictureAccessible::PictureAccessible(HWND window, const PictureDescription& picture,
                                     std::unique_ptr<IAccessible, ComReleaser> standard)
    : window_(window), picture_(&picture), standard_(std::move(standard)) {}

// The references held for clients in other processes are dropped too, so the
// object goes as soon as the window's own reference does.
void PictureAccessible::Disconnect() {
  standard_.reset();
  picture_ = nullptr;
  window_ = nullptr;
  CoDisconnectObject(static_cast<IAccessible*>(this), 0);
}

// Without IEnumVARIANT, AccessibleChildren asks for each child by number,
// which gives the picture as a simple element under the client object.
HRESULT PictureAccessible::QueryInterface(REFIID interfaceId, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(interfaceId, __uuidof(IUnknown)) || IsEqualIID(interfaceId, __uuidof(IDispatch)) ||
      IsEqualIID(interfaceId, kIidAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG PictureAccessible::AddRef() { return ++references_; }

ULONG PictureAccessible::Release() {
  const ULONG left = --references_;
  // A COM object ends with its last reference, wherever that was held.
  if (left == 0) delete this;
  return left;
}

HRESULT PictureAccessible::GetTypeInfoCount(UINT* count) {
  return standard_ ? standard_->GetTypeInfoCount(count) : RPC_E_DISCONNECTED;
}

HRESULT PictureAccessible::GetTypeInfo(UINT index, LCID locale, ITypeInfo** typeInfo) {
  return standard_ ? standard_->GetTypeInfo(index, locale, typeInfo) : RPC_E_DISCONNECTED;
}

HRESULT PictureAccessible::GetIDsOfNames(REFIID unused, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) {
  return standard_ ? standard_->GetIDsOfNames(unused, names, count, locale, ids) : RPC_E_DISCONNECTED;
}

// A script's call reaches this object's own answers through IAccessible's
// type information, which the client object describes.
HRESULT PictureAccessible::Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                  EXCEPINFO* exception, UINT* wrongArgument) {
  if (!standard_) return RPC_E_DISCONNECTED;
  ITypeInfo* typeInfo = nullptr;
  if (const HRESULT got = standard_->GetTypeInfo(0, locale, &typeInfo); FAILED(got)) return got;
  const std::unique_ptr<ITypeInfo, ComReleaser> held(typeInfo);
  return DispInvoke(static_cast<IAccessible*>(this), typeInfo, id, flags, parameters, result, exception, wrongArgument);
}

HRESULT PictureAccessible::get_accParent(IDispatch** parent) {
  return standard_ ? standard_->get_accParent(parent) : RPC_E_DISCONNECTED;
}

HRESULT PictureAccessible::get_accChildCount(LONG* count) {
  if (!standard_) return RPC_E_DISCONNECTED;
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

// The picture is a simple element: it has no object of its own, and is asked
// about through this one with its child id.
HRESULT PictureAccessible::get_accChild(VARIANT child, IDispatch** object) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->get_accChild(child, object); },
      [&] {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        return S_FALSE;
      });
}

HRESULT PictureAccessible::get_accName(VARIANT child, BSTR* name) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->get_accName(child, name); },
      [&] { return Answer(picture_->Name(), name); });
}

HRESULT PictureAccessible::get_accValue(VARIANT child, BSTR* value) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->get_accValue(child, value); },
      [&] { return NotThePictures(value); });
}

HRESULT PictureAccessible::get_accDescription(VARIANT child, BSTR* description) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->get_accDescription(child, description); },
      [&] { return Answer(picture_->Description(), description); });
}

HRESULT PictureAccessible::get_accRole(VARIANT child, VARIANT* role) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->get_accRole(child, role); },
      [&] { return Answer(ROLE_SYSTEM_GRAPHIC, role); });
}

// The window has no controls: the keyboard focus on the window is on the
// picture.
HRESULT PictureAccessible::get_accState(VARIANT child, VARIANT* state) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->get_accState(child, state); },
      [&] {
        LONG states = STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == window_) states |= STATE_SYSTEM_FOCUSED;
        if (picture_->Busy()) states |= STATE_SYSTEM_BUSY;
        return Answer(states, state);
      });
}

HRESULT PictureAccessible::get_accHelp(VARIANT child, BSTR* help) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->get_accHelp(child, help); },
      [&] { return NotThePictures(help); });
}

HRESULT PictureAccessible::get_accHelpTopic(BSTR* helpFile, VARIANT child, LONG* topic) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->get_accHelpTopic(helpFile, child, topic); },
      [&] {
        if (topic != nullptr) *topic = 0;
        return NotThePictures(helpFile);
      });
}

HRESULT PictureAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->get_accKeyboardShortcut(child, shortcut); },
      [&] { return NotThePictures(shortcut); });
}

HRESULT PictureAccessible::get_accFocus(VARIANT* child) {
  if (!standard_) return RPC_E_DISCONNECTED;
  return GetFocus() == window_ ? Answer(kPictureChild, child) : NoAnswer(child);
}

HRESULT PictureAccessible::get_accSelection(VARIANT* children) {
  return standard_ ? standard_->get_accSelection(children) : RPC_E_DISCONNECTED;
}

HRESULT PictureAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->get_accDefaultAction(child, action); },
      [&] { return NotThePictures(action); });
}

// The picture takes the focus but cannot be selected.
HRESULT PictureAccessible::accSelect(LONG flags, VARIANT child) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->accSelect(flags, child); },
      [&] {
        if (flags != SELFLAG_TAKEFOCUS) return DISP_E_MEMBERNOTFOUND;
        SetFocus(window_);
        return S_OK;
      });
}

HRESULT PictureAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->accLocation(left, top, width, height, child); },
      [&] {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
        const RECT area = ClientAreaOnScreen(window_);
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
      });
}

// The picture is the client's one child, with no sibling and no children.
HRESULT PictureAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  return AnswerFor(
      standard_ != nullptr, start,
      [&] {
        if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) return Answer(kPictureChild, end);
        return standard_->accNavigate(direction, start, end);
      },
      [&] { return NoAnswer(end); });
}

HRESULT PictureAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (!standard_) return RPC_E_DISCONNECTED;
  const RECT area = ClientAreaOnScreen(window_);
  return PtInRect(&area, POINT{x, y}) ? Answer(kPictureChild, child) : standard_->accHitTest(x, y, child);
}

HRESULT PictureAccessible::accDoDefaultAction(VARIANT child) {
  return AnswerFor(
      standard_ != nullptr, child, [&] { return standard_->accDoDefaultAction(child); },
      [] { return DISP_E_MEMBERNOTFOUND; });
}

// Setting a name or a value is long deprecated, and nothing here can be set.
HRESULT PictureAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT PictureAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace inkpane
