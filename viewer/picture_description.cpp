#include "viewer/picture_description.h"

#include "platform/folders.h"

namespace inkpane {

void PictureDescription::Opening(std::string_view fileName) {
  name_ = NameOf(fileName);
  description_.clear();
  busy_ = true;
}

void PictureDescription::Drawn(const DrawingReport& report) {
  if (!report.size) {
    description_ = "Nothing drawn: the file could not be read as a PBM picture.";
    return;
  }
  description_ = std::to_string(report.size->width) + " \u00D7 " + std::to_string(report.size->height) + " pixels";
  switch (report.end) {
    case DrawingReport::End::Whole:
      break;
    case DrawingReport::End::RasterCut:
      description_ += "; the file ended early, and the rest is white";
      break;
    case DrawingReport::End::Failed:
      description_ += "; the drawing stopped at an error";
      break;
  }
}

}  // namespace inkpane
