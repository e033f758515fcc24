#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <fstream>
#include <string>

namespace uitest {

// tunvexa-sim serving COM `com` with `scenario` (written into `folder`),
// paced like a real line; stopped at the end of the scope.
class SimulatorProcess {
 public:
  SimulatorProcess(int com, const std::string& folder, const std::string& scenario) {
    const std::string file = folder + "/scenario.txt";
    std::ofstream(file) << scenario;
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QStringLiteral(TUNVEXA_BIN_DIR "/tunvexa-sim/tunvexa-sim"),
                   {QStringLiteral("--com"), QString::number(com), QStringLiteral("--pace"),
                    QStringLiteral("--scenario"), QString::fromStdString(file)});
    const QString expected = QStringLiteral("tunvexa-sim: COM%1 ready").arg(com);
    QString seen;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && process_.state() != QProcess::NotRunning) {
      if (process_.waitForReadyRead(100)) seen += QString::fromLocal8Bit(process_.readAll());
      if (seen.contains(expected)) {
        ready_ = true;
        break;
      }
    }
  }
  ~SimulatorProcess() {
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;
  bool ready() const { return ready_; }

 private:
  QProcess process_;
  bool ready_ = false;
};

}  // namespace uitest
