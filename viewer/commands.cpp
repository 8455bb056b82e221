#include "viewer/commands.h"

#include <exception>

#include "decoder/render_pbm_file.h"
#include "platform/platform_hooks.h"

namespace inkpane {

void OpenCommand(ViewerWindow& window, CommonDialog& dialog) {
  try {
    dialog.SetDialogTitle("Select a PBM Image");
    dialog.SetFilter("PBM Images (*.pbm)|*.pbm|All Files (*.*)|*.*");
    dialog.ShowOpen();
    // Anything drawn but not shown yet is shown before the picture is
    // cleared; after a finished open there is nothing, and this paints nothing.
    window.Refresh();
    window.EnableOpen(false);
    window.OpeningPicture(dialog.FileName());
    window.Cls();
    RenderPbmFile(dialog.FileName(), window);
    window.Refresh();
    window.EnableOpen(true);
    window.PictureOpened();
    Beep();
  } catch (const std::exception&) {
    // A cancelled dialog, or any other failure of the command's own steps,
    // ends the command quietly; the decoder reports its own failures.
  }
}

// The files are left to the system, which closes them as the program ends:
// a close tells the file's storage (a FUSE file system flushes, a share's
// server is told), and can wait as long as a read.
void ExitCommand() { EndProgram(); }

void AboutCommand(std::string_view systemLines) {
  MsgBox(AboutText(systemLines), MessageBoxStyle::Information, "About...");
}

std::string AboutText(std::string_view systemLines) {
  return "Inkpane 1.0, version " INKPANE_FILE_VERSION
         "\r\n"
         "A complete decoder for plain (P1) and raw (P4) PBM images.\r\n"
         "\r\n"
         "One image pixel on one screen pixel, from the top-left corner.\r\n"
         "Keys: Alt+F, O to open; Alt+F, E to exit; Alt+H, A for this box.\r\n"
         "Inkpane is free software under the MIT licence.\r\n"
         "\r\n" +
         std::string(systemLines);
}

}  // namespace inkpane
