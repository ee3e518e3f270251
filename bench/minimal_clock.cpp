// The peer of bench_startup: a minimal Qt clock. A frameless widget with two
// labels, the time and the Japanese weekday and date, refreshed by a 500 ms
// timer, in the top right corner of the work area. Qt Widgets only.
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window(nullptr, Qt::FramelessWindowHint | Qt::Tool);
  auto* layout = new QVBoxLayout(&window);
  auto* time = new QLabel(&window);
  auto* date = new QLabel(&window);
  for (QLabel* label : {time, date}) {
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
  }
  QFont font = time->font();
  font.setPointSize(16);
  time->setFont(font);
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  auto update = [&] {
    const QDateTime now = QDateTime::currentDateTime();
    time->setText(now.toString(QStringLiteral("HH:mm:ss")));
    // The clock's own second row, in Japanese ("月曜日 12/07").
    date->setText(japanese.toString(now, QStringLiteral("dddd MM/dd")));
  };
  update();
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, update);
  timer.start(500);
  window.resize(104, 75);
  const QRect area = window.screen()->availableGeometry();
  window.move(area.right() - 104, area.top());
  window.show();
  return app.exec();
}
