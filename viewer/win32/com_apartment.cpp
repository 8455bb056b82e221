#include "viewer/win32/com_apartment.h"

#include <objbase.h>

namespace inkpane {

ComApartment::ComApartment()
    : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComApartment::~ComApartment() {
  if (entered_) CoUninitialize();
}

}  // namespace inkpane
