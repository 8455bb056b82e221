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

ErrorNumber NumberOf(FileFailure failure) {
  switch (failure) {
    case FileFailure::NotFound:
      return ErrorNumber::FileNotFound;
    case FileFailure::PermissionDenied:
      return ErrorNumber::PermissionDenied;
    case FileFailure::InvalidName:
    case FileFailure::NameTooLong:
      return ErrorNumber::BadFileNameOrNumber;
    case FileFailure::TooManyFiles:
      return ErrorNumber::TooManyFiles;
    case FileFailure::OutOfMemory:
      return ErrorNumber::OutOfMemory;
    case FileFailure::ReadFailed:
      return ErrorNumber::DeviceIoError;
    default:
      return ErrorNumber::PathFileAccessError;
  }
}

std::string NotRegular(std::string_view kind, std::string_view fileName) {
  return Quoted(fileName) + " is " + std::string(kind) + ", not a regular file.";
}

std::string Description(FileFailure failure, std::string_view fileName, std::string_view systemText) {
  const std::string name = Quoted(fileName);
  switch (failure) {
    case FileFailure::NotFound:
      return "The file " + name + " does not exist.";
    case FileFailure::PermissionDenied:
      return "Permission to read " + name + " was denied.";
    case FileFailure::InvalidName:
      return "The file name " + name + " is not valid.";
    case FileFailure::NameTooLong:
      return "The file name " + name + " is too long.";
    case FileFailure::TooManyFiles:
      return "Too many files are open to open " + name + ".";
    case FileFailure::OutOfMemory:
      return "Out of memory while opening " + name + ".";
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
      return name + " could not be opened: " + Sentence(systemText);
    case FileFailure::ReadFailed:
      return "Reading " + name + " failed: " + Sentence(systemText);
  }
  return name + " could not be opened.";
}

}  // namespace

void RaiseSystemFailure(FileFailure failure, std::string_view systemText) {
  throw RunTimeError(NumberOf(failure), std::string(systemText));
}

void RaiseFileFailure(FileFailure failure, std::string_view fileName, std::string_view systemText) {
  throw RunTimeError(NumberOf(failure), Description(failure, fileName, systemText));
}

}  // namespace inkpane
