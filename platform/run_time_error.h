#pragma once

#include <stdexcept>
#include <string>

namespace inkpane {

// The numbers of the run-time errors the platform layer raises. They follow the
// classic BASIC error numbering, so a number identifies the kind of failure
// whatever words the description uses.
enum class ErrorNumber : int {
  Overflow = 6,
  OutOfMemory = 7,
  OutOfStringSpace = 14,
  BadFileNameOrNumber = 52,
  FileNotFound = 53,
  FileAlreadyOpen = 55,
  DeviceIoError = 57,
  TooManyFiles = 67,
  PermissionDenied = 70,
  PathFileAccessError = 75,
  // Raised by the open-file dialog when the user cancels it.
  CancelError = 32755,
};

// A run-time error: a number for the program and a description in plain words
// for the user, naming the file where a file is concerned.
class RunTimeError : public std::runtime_error {
 public:
  RunTimeError(ErrorNumber number, const std::string& description) : std::runtime_error(description), number_(number) {}

  ErrorNumber number() const { return number_; }

 private:
  ErrorNumber number_;
};

}  // namespace inkpane
