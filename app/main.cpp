#include <QApplication>

#include "viewer/qt/form1.h"

int main(int argc, char* argv[]) {
  // The program takes no arguments; Qt is not shown them either.
  int programNameOnly = argc > 0 ? 1 : 0;
  QApplication application(programNameOnly, argv);
  QApplication::setApplicationName(QStringLiteral("Inkpane"));
  QApplication::setApplicationVersion(QStringLiteral(INKPANE_FILE_VERSION));

  inkpane::Form1 form;
  form.show();
  return QApplication::exec();
}
