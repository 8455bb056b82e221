#include "platform/file_failure.h"

#include <string>

#include "platform/run_time_error.h"

namespace inkpane {
namespace {

constexpr std::size_t kLongestNameShown = 200;

// The file name as shown in an error description: quoted, and shortened when
// it is too long to read in a message box.
std::string Quoted(std::string_view fileName) {
  if (fileName.size() > kLongestNameShown) {
    return '"' + std::string(fileName.substr(0, kLongestNameShown)) + "...\"";
  }
  return '"' + std::string(fileName) + '"';
}

// Some systems end their descriptions with a full stop and some do not; the
// message ends with exactly one.
std::string Sentence(std::string_view text) {
  std::string sentence(text);
  if (!sentence.ends_with('.')) sentence += '.';
  return sentence;
}

RunTimeError NotRegular(std::string_view kind, std::string_view fileName) {
  return {ErrorNumber::PathFileAccessError, Quoted(fileName) + " is " + std::string(kind) + ", not a regular file."};
}

RunTimeError FailureError(FileFailure failure, std::string_view fileName, std::string_view systemText) {
  const std::string name = Quoted(fileName);
  switch (failure) {
    case FileFailure::NotFound:
      return {ErrorNumber::FileNotFound, "The file " + name + " does not exist."};
    case FileFailure::PermissionDenied:
      return {ErrorNumber::PermissionDenied, "Permission to read " + name + " was denied."};
    case FileFailure::InvalidName:
      return {ErrorNumber::BadFileNameOrNumber, "The file name " + name + " is not valid."};
    case FileFailure::NameTooLong:
      return {ErrorNumber::BadFileNameOrNumber, "The file name " + name + " is too long."};
    case FileFailure::TooManyFiles:
      return {ErrorNumber::TooManyFiles, "Too many files are open to open " + name + "."};
    case FileFailure::OutOfMemory:
      return {ErrorNumber::OutOfMemory, "Out of memory while opening " + name + "."};
    case FileFailure::Folder:
      return NotRegular("a folder", fileName);
    case FileFailure::Pipe:
      return NotRegular("a pipe", fileName);
    case FileFailure::CharacterDevice:
      return NotRegular("a character device", fileName);
    case FileFailure::BlockDevice:
      return NotRegular("a block device", fileName);
    case FileFailure::Socket:
      return NotRegular("a socket", fileName);
    case FileFailure::SpecialFile:
      return NotRegular("a special file", fileName);
    case FileFailure::OpenFailed:
      return {ErrorNumber::PathFileAccessError, name + " could not be opened: " + Sentence(systemText)};
    case FileFailure::ReadFailed:
      return {ErrorNumber::DeviceIoError, "Reading " + name + " failed: " + Sentence(systemText)};
  }
  return {ErrorNumber::PathFileAccessError, name + " could not be opened."};
}

}  // namespace

void RaiseSystemFailure(FileFailure failure, std::string_view systemText) {
  throw RunTimeError(FailureError(failure, {}, systemText).number(), std::string(systemText));
}

void RaiseFileFailure(FileFailure failure, std::string_view fileName, std::string_view systemText) {
  throw FailureError(failure, fileName, systemText);
}

}  // namespace inkpane
