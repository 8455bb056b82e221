#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageReader>
#include <QString>
#include <QtGlobal>

#include "bench/readers.h"

namespace inkpane::bench {
namespace {

// Qt gives the reason it refused an image, such as its allocation limit, only
// in a log message, so a read keeps what Qt logs meanwhile for its error.
QString& LoggedDuringRead() {
  static QString logged;
  return logged;
}

void KeepLogged(QtMsgType, const QMessageLogContext&, const QString& message) {
  LoggedDuringRead() += (LoggedDuringRead().isEmpty() ? "" : "; ") + message;
}

class LogKeeper {
 public:
  LogKeeper() : previous_(qInstallMessageHandler(KeepLogged)) { LoggedDuringRead().clear(); }
  ~LogKeeper() { qInstallMessageHandler(previous_); }
  LogKeeper(const LogKeeper&) = delete;
  LogKeeper& operator=(const LogKeeper&) = delete;

 private:
  QtMessageHandler previous_;
};

QImage ReadWithQt(const QString& path) {
  const LogKeeper logKeeper;
  QImageReader reader(path);
  QImage image = reader.read();
  if (image.isNull()) {
    const QString& logged = LoggedDuringRead();
    throw ReadError((reader.errorString() + (logged.isEmpty() ? "" : " (" + logged + ")")).toStdString());
  }
  return image;
}

}  // namespace

TimedRead PrepareQtRead(const InputFile& file) {
  return [path = QString::fromStdString(file.path)] {
    const QImage image = ReadWithQt(path);
    benchmark::DoNotOptimize(image.constBits());
  };
}

TimedRead PrepareQtReadAndConvert(const InputFile& file) {
  return [path = QString::fromStdString(file.path)] {
    const QImage image = ReadWithQt(path).convertToFormat(QImage::Format_RGB32);
    benchmark::DoNotOptimize(image.constBits());
  };
}

void LiftQtAllocationLimit() { QImageReader::setAllocationLimit(0); }

}  // namespace inkpane::bench
