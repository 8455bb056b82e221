#pragma once

namespace inkpane {

// The window thread in a single-threaded COM apartment for this object's
// lifetime, as handing an accessible object to a client in another process
// and the shell's parts of the open dialog need. A thread that already has
// an apartment keeps it.
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool entered_;
};

}  // namespace inkpane
