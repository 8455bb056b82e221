#include "platform/dialog_start.h"

#include <atomic>
#include <memory>

#include "platform/folders.h"
#include "platform/platform_hooks.h"

namespace inkpane {
namespace {

// The look is left behind when it does not answer, so it owns what it uses.
bool AnswersInTime(const std::string& folder) {
  const auto answers = std::make_shared<std::atomic<bool>>(false);
  const bool answered = AwaitStorageFor([folder, answers] { *answers = FolderAnswers(folder); }, kFolderPatience);
  return answered && *answers;
}

}  // namespace

DialogStart ChooseDialogStart(std::string_view lastChosen) {
  const std::string name = lastChosen.empty() ? std::string() : NameOf(lastChosen);
  const std::string last = lastChosen.empty() ? CurrentFolder() : FolderOf(lastChosen);
  if (AnswersInTime(last)) return {last, name};
  if (const std::string home = HomeFolder(); home != last && AnswersInTime(home)) return {home, name};
  return {SystemRoot(), name};
}

}  // namespace inkpane
